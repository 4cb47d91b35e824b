#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "ParticleTestSupport.h"
#include "engine/animation/particles/SphereVolumeEmitter.h"
#include "engine/scene/SceneNode.h"
#include "support/AnimationTestSupport.h"
#include "support/MathExpect.h"

namespace zel {
namespace {

using test::DrawsUsedBy;
using test::Draws;
using test::Near;

TEST(SphereVolumeEmitter, OffsetFollowsTheDescribedDraws) {
    SphereVolumeEmitter emitter;
    emitter.SetRadius(4.0f);
    Draws draws(21);
    draws.Value();
    draws.Value();  // the direction's two draws
    const float alpha = draws.Unit() * 6.2831855f;
    const float beta = draws.Unit() * 6.2831855f;
    const float distance = static_cast<float>(draws.Value() % 10000) * 4.0f * 0.0001f;
    const Vector3 along{std::sin(alpha) * std::cos(beta), std::sin(alpha) * std::sin(beta), std::cos(alpha)};
    std::srand(21);
    Vector3 position, direction;
    emitter.Emit(position, direction);
    EXPECT_TRUE(Near(position, Normalize(along) * distance, 1e-4f));
    EXPECT_EQ(DrawsUsedBy([&] { emitter.Emit(position, direction); }), 5);
}

TEST(SphereVolumeEmitter, PointsStayInsideTheOwnersSphere) {
    Pointer<SceneNode> owner = new SceneNode();
    owner->SetLocal(Transform::Make({1, 1, 1}, Quaternion(), {10, 0, 0}));
    owner->Update(0, false);
    SphereVolumeEmitter emitter;
    emitter.SetRadius(2.0f);
    emitter.SetOwner(owner);
    std::srand(3);
    float farthest = 0.0f;
    for (int i = 0; i < 500; ++i) {
        Vector3 position, direction;
        emitter.Emit(position, direction);
        const float distance = Length(position - Vector3{10, 0, 0});
        ASSERT_LE(distance, 2.0f + 1e-4f);
        farthest = std::fmax(farthest, distance);
        ASSERT_NEAR(Length(direction), 1.0f, 1e-5f);
    }
    EXPECT_GT(farthest, 1.5f);  // the volume is filled, not just its centre
}

TEST(SphereVolumeEmitter, RoundTripKeepsRadiusAndAngles) {
    Pointer<SphereVolumeEmitter> emitter = new SphereVolumeEmitter();
    emitter->SetRadius(-3.5f);  // not clamped
    emitter->SetMaximumAngle(1.0f);
    Pointer<SphereVolumeEmitter> loaded = test::RoundTrip(emitter.Get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_FLOAT_EQ(loaded->GetRadius(), -3.5f);
    EXPECT_FLOAT_EQ(loaded->GetMaximumAngle(), 1.0f);
    test::ExpectEveryTruncationFails(emitter);
}

}  // namespace
}  // namespace zel
