#pragma once

#include "engine/math/Vector3.h"

namespace zel {

// Plane of the points p with normal · p = constant, stored as the four
// floats (nx, ny, nz, d). The normal points to the positive side.
struct Plane {
    Vector3 normal;
    float constant = 0.0f;

    bool operator==(const Plane&) const = default;

    // The plane through a, b, c with normal = normalised (b − a) × (c − a):
    // (0, 0, 0), (1, 0, 0), (0, 1, 0) give the normal (0, 0, 1). Collinear
    // points give the zero normal and constant 0.
    static Plane FromPoints(const Vector3& a, const Vector3& b, const Vector3& c);

    // normal · p − constant: positive on the side the normal points to.
    float SignedDistance(const Vector3& p) const { return Dot(normal, p) - constant; }
    // +1 on the positive side, −1 on the negative side, 0 on the plane.
    int WhichSide(const Vector3& p) const;
};

static_assert(sizeof(Plane) == 16);

}  // namespace zel
