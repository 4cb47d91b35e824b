#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "ParticleTestSupport.h"
#include "engine/animation/particles/TrianglesEmitter.h"
#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "support/AnimationTestSupport.h"
#include "support/MathExpect.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::DrawsUsedBy;
using test::Draws;
using test::Near;

Pointer<Triangles> MakeSurface(std::initializer_list<Vector3> corners) {
    Pointer<Triangles> node = new Triangles(String("surface"));
    Pointer<Vector3Buffer> positions = new Vector3Buffer(static_cast<int32_t>(corners.size()), nullptr);
    int32_t i = 0;
    for (const Vector3& corner : corners) (*positions)[i++] = corner;
    node->SetVertices(positions);
    return node;
}

TEST(TrianglesEmitter, WithoutNodeEmitsDownFromTheOrigin) {
    TrianglesEmitter emitter;
    Vector3 position{1, 2, 3}, direction;
    emitter.Emit(position, direction);
    EXPECT_EQ(position, Vector3{});
    EXPECT_EQ(direction, (Vector3{0, -1, 0}));
    EXPECT_EQ(DrawsUsedBy([&] { emitter.Emit(position, direction); }), 0);
}

TEST(TrianglesEmitter, PicksATriangleThenAPointOnIt) {
    // Two triangles; the second lies at x = 10.
    Pointer<Triangles> surface = MakeSurface({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {10, 0, 0}, {10, 2, 0}, {10, 0, 2}});
    surface->Update(0, false);
    TrianglesEmitter emitter;
    emitter.SetTriangles(surface);
    Draws draws(8);
    const int32_t k = draws.Value() % 2;
    const float s = draws.Unit(), t = draws.Unit(), u = draws.Unit();
    const Vector3 a = k == 0 ? Vector3{0, 0, 0} : Vector3{10, 0, 0};
    const Vector3 b = k == 0 ? Vector3{1, 0, 0} : Vector3{10, 2, 0};
    const Vector3 c = k == 0 ? Vector3{0, 1, 0} : Vector3{10, 0, 2};
    const Vector3 p = a + (b - a) * s;
    const Vector3 q = a + (c - a) * t;
    std::srand(8);
    Vector3 position, direction;
    emitter.Emit(position, direction);
    EXPECT_TRUE(Near(position, p + (q - p) * u));
    EXPECT_EQ(DrawsUsedBy([&] { emitter.Emit(position, direction); }), 6);
}

TEST(TrianglesEmitter, PointsLieOnTheTransformedTriangle) {
    Pointer<Triangles> surface = MakeSurface({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    surface->SetLocal(Transform::Make({2, 2, 2}, Quaternion(), {0, 0, 5}));
    surface->Update(0, false);
    TrianglesEmitter emitter;
    emitter.SetTriangles(surface);
    emitter.SetMaximumAngle(0.0f);
    std::srand(4);
    for (int i = 0; i < 200; ++i) {
        Vector3 position, direction;
        emitter.Emit(position, direction);
        ASSERT_NEAR(position.z, 5.0f, 1e-5f);
        ASSERT_GE(position.x, -1e-5f);
        ASSERT_GE(position.y, -1e-5f);
        ASSERT_LE(position.x + position.y, 2.0f + 1e-4f);
        ASSERT_TRUE(Near(direction, {0, 1, 0}));
    }
}

TEST(TrianglesEmitter, TooFewPositionsEmitFromTheNodesOrigin) {
    Pointer<Triangles> surface = MakeSurface({{4, 4, 4}, {5, 5, 5}});
    surface->SetLocal(Transform::Make({1, 1, 1}, Quaternion(), {0, 3, 0}));
    surface->Update(0, false);
    TrianglesEmitter emitter;
    emitter.SetTriangles(surface);
    Vector3 position, direction;
    emitter.Emit(position, direction);
    EXPECT_TRUE(Near(position, {0, 3, 0}));
    EXPECT_NEAR(Length(direction), 1.0f, 1e-5f);
    // No triangle index is drawn: the point's three and the direction's two.
    EXPECT_EQ(DrawsUsedBy([&] { emitter.Emit(position, direction); }), 5);
}

TEST(TrianglesEmitter, RoundTripKeepsTheTrianglesLink) {
    Pointer<TrianglesEmitter> emitter = new TrianglesEmitter();
    emitter->SetTriangles(MakeSurface({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
    emitter->SetMinimumAngle(0.5f);
    emitter->SetMaximumAngle(0.5f);
    Pointer<TrianglesEmitter> loaded = test::RoundTrip(emitter.Get());
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded->GetTriangles(), nullptr);
    EXPECT_EQ(std::string(loaded->GetTriangles()->GetName().CStr()), "surface");
    EXPECT_EQ(loaded->GetTriangles()->GetPositions3()->GetCount(), 3);
    EXPECT_FLOAT_EQ(loaded->GetMinimumAngle(), 0.5f);
    test::ExpectEveryTruncationFails(emitter);
}

TEST(TrianglesEmitter, LoadRefusesALinkThatIsNotTriangles) {
    Pointer<TrianglesEmitter> emitter = new TrianglesEmitter();
    Stream stream(0, 64);
    ASSERT_EQ(emitter->Save(stream), 0);
    // Replace the null link at the end with a link to another kind of object.
    Stream forged(0, 64);
    forged.Write(stream.GetBuffer(), stream.GetPosition() - 4);
    Pointer<PointEmitter> other = new PointEmitter();
    ASSERT_EQ(forged.WriteLink(other), 0);
    forged.Rewind();
    forged.ClearLinks();
    test::LogCapture capture;
    TrianglesEmitter loaded;
    EXPECT_EQ(loaded.Load(forged), kFailed);
    EXPECT_EQ(loaded.GetTriangles(), nullptr);
}

}  // namespace
}  // namespace zel
