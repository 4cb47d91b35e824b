// The 3D law: inverse-distance attenuation, panning by direction in
// listener space, the Doppler shift, and listener orientation repair.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/Spatial.h"

namespace zel::audio {
namespace {

TEST(Spatial, InverseDistanceAttenuation) {
    const struct {
        float distance, minimum, rolloff, gain;
    } cases[] = {
        {0.5f, 1.0f, 1.0f, 1.0f},   // inside the minimum distance
        {1.0f, 1.0f, 1.0f, 1.0f},   // at it
        {2.0f, 1.0f, 1.0f, 0.5f},   // twice it, roll-off 1
        {4.0f, 2.0f, 1.0f, 0.5f},
        {3.0f, 1.0f, 1.0f, 1.0f / 3.0f},
        {2.0f, 1.0f, 7.0f, 0.125f},  // the engine's roll-off
        {9.0f, 1.0f, 0.0f, 1.0f},   // no roll-off
        {5.0f, 3.4028235e38f, 7.0f, 1.0f},  // a node's default distance
    };
    for (const auto& c : cases)
        EXPECT_NEAR(DistanceGain(c.distance, c.minimum, c.rolloff), c.gain, 1e-6f)
            << c.distance << " " << c.minimum << " " << c.rolloff;
}

TEST(Spatial, ASourceOnTheRightIsLouderOnTheRightAndTurningTheListenerTurnsIt) {
    Listener listener;
    const SpatialResult right = Spatialize({3, 0, 0}, {}, 1.0f, listener, Factors{});
    EXPECT_GT(right.right, right.left);
    const SpatialResult left = Spatialize({-3, 0, 0}, {}, 1.0f, listener, Factors{});
    EXPECT_GT(left.left, left.right);
    EXPECT_NEAR(left.left, right.right, 1e-6f);

    // Facing +x, the same source is straight ahead; facing -z, it is on the left.
    listener.front = {1, 0, 0};
    const SpatialResult ahead = Spatialize({3, 0, 0}, {}, 1.0f, listener, Factors{});
    EXPECT_NEAR(ahead.left, ahead.right, 1e-6f);
    listener.front = {0, 0, -1};
    const SpatialResult turned = Spatialize({3, 0, 0}, {}, 1.0f, listener, Factors{});
    EXPECT_GT(turned.left, turned.right);
}

TEST(Spatial, ACentredSourceKeepsFullVolume) {
    const SpatialResult front = Spatialize({0, 0, 0.5f}, {}, 1.0f, Listener{}, Factors{});
    EXPECT_FLOAT_EQ(front.left, 1.0f);
    EXPECT_FLOAT_EQ(front.right, 1.0f);
    const SpatialResult here = Spatialize({0, 0, 0}, {}, 1.0f, Listener{}, Factors{});
    EXPECT_FLOAT_EQ(here.left, 1.0f);
    EXPECT_FLOAT_EQ(here.pitch, 1.0f);
}

TEST(Spatial, ApproachingSourcesSoundHigherAndTheShiftIsBounded) {
    const Factors factors;
    EXPECT_GT(Spatialize({0, 0, 10}, {0, 0, -20}, 1.0f, Listener{}, factors).pitch, 1.0f);
    EXPECT_LT(Spatialize({0, 0, 10}, {0, 0, 20}, 1.0f, Listener{}, factors).pitch, 1.0f);
    EXPECT_FLOAT_EQ(Spatialize({0, 0, 10}, {0, 0, 20}, 1.0f, Listener{}, Factors{1.0f, 1.0f, 0.0f}).pitch, 1.0f);
    const float extreme = Spatialize({0, 0, 10}, {0, 0, -1e30f}, 1.0f, Listener{}, factors).pitch;
    EXPECT_GE(extreme, 0.5f);
    EXPECT_LE(extreme, 2.0f);
}

TEST(Spatial, DegenerateOrientationsAreRepaired) {
    const struct {
        Vec3 front, top;
    } cases[] = {{{0, 0, 0}, {0, 1, 0}}, {{0, 0, 2}, {0, 0, 5}}, {{0, 3, 0}, {0, 1, 0}}, {{NAN, 0, 1}, {0, 1, 0}}};
    for (const auto& c : cases) {
        Vec3 front = c.front, top = c.top;
        Orthonormalize(&front, &top);
        EXPECT_NEAR(Dot(front, front), 1.0f, 1e-5f);
        EXPECT_NEAR(Dot(top, top), 1.0f, 1e-5f);
        EXPECT_NEAR(Dot(front, top), 0.0f, 1e-5f);
    }
}

}  // namespace
}  // namespace zel::audio
