#include "engine/math/Plane.h"

namespace zel {

Plane Plane::FromPoints(const Vector3& a, const Vector3& b, const Vector3& c) {
    const Vector3 n = Normalize(Cross(b - a, c - a));
    return {n, Dot(n, a)};
}

int Plane::WhichSide(const Vector3& p) const {
    const float s = SignedDistance(p);
    if (s > 0.0f) return 1;
    if (s < 0.0f) return -1;
    return 0;
}

}  // namespace zel
