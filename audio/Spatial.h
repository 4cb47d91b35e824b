// The 3D law of the mixer. Coordinates are the engine's: x right, y up,
// z forward (left-handed). A source's loudness follows the inverse-distance
// model: full inside the minimum distance, then
// min / (min + rolloff * (d - min)). Its direction in listener space pans it
// with a constant-power law; the Doppler shift comes from the velocities
// along the line between listener and source.
#pragma once

namespace zel::audio {

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The listener as applied: position, velocity and an orthonormal basis.
struct Listener {
    Vec3 position;
    Vec3 velocity;
    Vec3 front{0.0f, 0.0f, 1.0f};
    Vec3 top{0.0f, 1.0f, 0.0f};
};

// Global factors: metres per distance unit, roll-off and Doppler strength.
struct Factors {
    float distance = 1.0f;
    float rolloff = 1.0f;
    float doppler = 1.0f;
};

struct SpatialResult {
    float left = 1.0f;
    float right = 1.0f;
    float pitch = 1.0f;  // playback-rate factor from the Doppler shift
};

// Distance attenuation alone.
float DistanceGain(float distance, float minDistance, float rolloff);

// Gains and pitch for a source at `position` moving at `velocity`.
SpatialResult Spatialize(const Vec3& position, const Vec3& velocity, float minDistance, const Listener& listener,
                         const Factors& factors);

// Makes front unit length and top unit length and perpendicular to it;
// degenerate vectors give the default orientation.
void Orthonormalize(Vec3* front, Vec3* top);

}  // namespace zel::audio
