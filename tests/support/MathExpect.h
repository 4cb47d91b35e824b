#pragma once

// Tolerant comparisons for the math tests, reported at the caller's line.
#include <gtest/gtest.h>

#include "engine/math/Matrix4.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vector3.h"

namespace zel::test {

inline constexpr float kTol = 1e-5f;

inline testing::AssertionResult Near(const Vector3& a, const Vector3& b, float tol = kTol) {
    if (std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol && std::fabs(a.z - b.z) <= tol)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs (" << b.x
                                       << ", " << b.y << ", " << b.z << ")";
}

inline testing::AssertionResult Near(const Quaternion& a, const Quaternion& b, float tol = kTol) {
    if (std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol && std::fabs(a.z - b.z) <= tol &&
        std::fabs(a.w - b.w) <= tol)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ", " << a.w
                                       << ") vs (" << b.x << ", " << b.y << ", " << b.z << ", " << b.w << ")";
}

template <typename M>
testing::AssertionResult NearMatrix(const M& a, const M& b, float tol = kTol) {
    constexpr int n = sizeof(a.m) / sizeof(a.m[0]);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (!(std::fabs(a.m[i][j] - b.m[i][j]) <= tol))
                return testing::AssertionFailure()
                       << "element (" << i << ", " << j << "): " << a.m[i][j] << " vs " << b.m[i][j];
    return testing::AssertionSuccess();
}

}  // namespace zel::test
