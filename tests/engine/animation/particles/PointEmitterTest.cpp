#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "ParticleTestSupport.h"
#include "engine/animation/particles/PointEmitter.h"
#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "engine/scene/SceneNode.h"
#include "support/AnimationTestSupport.h"
#include "support/MathExpect.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using test::DrawsUsedBy;
using test::Draws;
using test::Near;

// --- Directions -----------------------------------------------------------

TEST(PointEmitter, DrawsTheTurnFirstThenTheAngleFromUp) {
    PointEmitter emitter;
    emitter.SetMinimumAngle(0.25f);
    emitter.SetMaximumAngle(1.25f);
    Draws draws(5);
    const float phi = draws.Unit() * 6.2831855f;
    const float theta = 0.25f + draws.Unit() * 1.0f;
    std::srand(5);
    Vector3 position{9, 9, 9}, direction;
    emitter.Emit(position, direction);
    EXPECT_TRUE(Near(direction, {std::sin(theta) * std::sin(phi), std::cos(theta), std::sin(theta) * std::cos(phi)}));
    EXPECT_EQ(position, Vector3{});  // no owner: the origin
    EXPECT_EQ(DrawsUsedBy([&] { emitter.Emit(position, direction); }), 2);
}

TEST(PointEmitter, OwnerGivesThePositionAndTurnsTheDirection) {
    Pointer<SceneNode> owner = new SceneNode();
    owner->SetLocal(Transform::Make({3, 1, 1}, Quaternion::FromAxisAngle({0, 0, 1}, kHalfPi), {5, 6, 7}));
    owner->Update(0, false);
    PointEmitter emitter;
    emitter.SetMaximumAngle(0.0f);  // straight up in the owner's frame
    emitter.SetOwner(owner);
    Vector3 position, direction;
    emitter.Emit(position, direction);
    EXPECT_TRUE(Near(position, {5, 6, 7}));
    // +Y turned a quarter about +Z, still of unit length despite the scale.
    EXPECT_TRUE(Near(direction, {-1, 0, 0}));
}

// --- Load clamps ----------------------------------------------------------

struct AngleCase {
    float savedMaximum;
    float savedMinimum;
    float previousMinimum;
    float maximum;
    float minimum;
};

class PointEmitterAngleClamps : public ::testing::TestWithParam<AngleCase> {};

TEST_P(PointEmitterAngleClamps, LoadClampsMaximumThenMinimum) {
    const AngleCase c = GetParam();
    PointEmitter saved;
    saved.SetMaximumAngle(c.savedMaximum);
    saved.SetMinimumAngle(c.savedMinimum);
    Stream stream(0, 64);
    ASSERT_EQ(saved.Save(stream), 0);
    stream.Rewind();
    PointEmitter loaded;
    loaded.SetMinimumAngle(c.previousMinimum);
    ASSERT_EQ(loaded.Load(stream), 0);
    EXPECT_FLOAT_EQ(loaded.GetMaximumAngle(), c.maximum);
    EXPECT_FLOAT_EQ(loaded.GetMinimumAngle(), c.minimum);
}

constexpr float kEmitterNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(Cases, PointEmitterAngleClamps,
                         ::testing::Values(AngleCase{-1, 2, 0, 0, 0},        // both out of range
                                           AngleCase{1, 0.5f, 0, 1, 0.5f},   // kept
                                           AngleCase{1, 2, 0, 1, 1},         // minimum above maximum
                                           AngleCase{2, -1, 0, 2, 0},        // negative minimum
                                           AngleCase{0.5f, 0.2f, 0.8f, 0.8f, 0.2f},  // previous minimum lifts maximum
                                           AngleCase{kEmitterNaN, kEmitterNaN, 0, 0, 0}));

// --- Streaming ------------------------------------------------------------

TEST(PointEmitter, RoundTripKeepsTheAnglesButNotTheOwner) {
    Pointer<SceneNode> owner = new SceneNode();
    Pointer<PointEmitter> emitter = new PointEmitter();
    emitter->SetName(String("cone"));
    emitter->SetMaximumAngle(0.75f);
    emitter->SetMinimumAngle(0.25f);
    emitter->SetOwner(owner);
    Pointer<PointEmitter> loaded = test::RoundTrip(emitter.Get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_FLOAT_EQ(loaded->GetMaximumAngle(), 0.75f);
    EXPECT_FLOAT_EQ(loaded->GetMinimumAngle(), 0.25f);
    EXPECT_EQ(loaded->GetOwner(), nullptr);
}

TEST(PointEmitter, TruncatedStreamsFailWithTheDataMessage) {
    Pointer<PointEmitter> emitter = new PointEmitter();
    emitter->SetName(String("cone"));
    test::ExpectEveryTruncationFails(emitter);

    Stream stream(0, 64);
    ASSERT_EQ(emitter->Save(stream), 0);
    Stream cut(stream.GetPosition() - 2, 1);
    cut.Write(stream.GetBuffer(), stream.GetPosition() - 2);
    cut.Rewind();
    test::LogCapture capture;
    PointEmitter loaded;
    EXPECT_EQ(loaded.Load(cut), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить данные системы частиц. Имя[cone] ID["));
}

}  // namespace
}  // namespace zel
