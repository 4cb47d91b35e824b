#include "audio/Spatial.h"

#include <algorithm>
#include <cmath>

namespace zel::audio {

namespace {

constexpr float kSpeedOfSound = 343.0f;  // metres per second
constexpr float kEpsilon = 1e-6f;
// A source fully to one side still reaches the far ear a little, as a head
// lets it; full separation sounds unnatural on headphones.
constexpr float kPanWidth = 0.85f;
// Doppler shifts are bounded so extreme velocities cannot stall or race a
// stream.
constexpr float kMinPitch = 0.5f;
constexpr float kMaxPitch = 2.0f;
constexpr float kQuarterPi = 0.78539816f;

float Length(const Vec3& v) { return std::sqrt(Dot(v, v)); }

Vec3 Scaled(const Vec3& v, float s) { return {v.x * s, v.y * s, v.z * s}; }

}  // namespace

float DistanceGain(float distance, float minDistance, float rolloff) {
    if (!(minDistance > 0.0f) || !(distance > minDistance)) return 1.0f;
    const float gain = minDistance / (minDistance + std::max(rolloff, 0.0f) * (distance - minDistance));
    return std::isfinite(gain) ? gain : 0.0f;
}

void Orthonormalize(Vec3* front, Vec3* top) {
    const float frontLength = Length(*front);
    if (!(frontLength > kEpsilon) || !std::isfinite(frontLength)) {
        *front = Vec3{0.0f, 0.0f, 1.0f};
        *top = Vec3{0.0f, 1.0f, 0.0f};
        return;
    }
    *front = Scaled(*front, 1.0f / frontLength);
    Vec3 up = *top - Scaled(*front, Dot(*top, *front));
    float upLength = Length(up);
    if (!(upLength > kEpsilon) || !std::isfinite(upLength)) {
        // Any perpendicular will do when the top is missing or parallel.
        up = std::fabs(front->y) < 0.9f ? Vec3{0.0f, 1.0f, 0.0f} : Vec3{0.0f, 0.0f, 1.0f};
        up = up - Scaled(*front, Dot(up, *front));
        upLength = Length(up);
    }
    *top = Scaled(up, 1.0f / upLength);
}

SpatialResult Spatialize(const Vec3& position, const Vec3& velocity, float minDistance, const Listener& listener,
                         const Factors& factors) {
    SpatialResult result;
    const Vec3 offset = position - listener.position;
    const float distance = Length(offset);
    if (!std::isfinite(distance)) return SpatialResult{0.0f, 0.0f, 1.0f};
    const float gain = DistanceGain(distance, minDistance, factors.rolloff);
    float pan = 0.0f;
    if (distance > kEpsilon) {
        const Vec3 toSource = Scaled(offset, 1.0f / distance);
        // Right = top x front in a left-handed frame.
        pan = kPanWidth * Dot(toSource, Cross(listener.top, listener.front));
        const float closing = Dot(listener.velocity, toSource) - Dot(velocity, toSource);
        const float speed = std::clamp(closing * factors.distance * factors.doppler, -kSpeedOfSound * 0.99f,
                                       kSpeedOfSound * 0.99f);
        result.pitch = std::clamp(1.0f + speed / kSpeedOfSound, kMinPitch, kMaxPitch);
    }
    // Constant power, scaled so a centred source keeps full volume.
    const float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * kQuarterPi;
    result.left = gain * std::min(1.0f, std::sqrt(2.0f) * std::cos(angle));
    result.right = gain * std::min(1.0f, std::sqrt(2.0f) * std::sin(angle));
    return result;
}

}  // namespace zel::audio
