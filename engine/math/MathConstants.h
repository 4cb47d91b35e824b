#pragma once

// Numeric constants shared by the math types. Everything is single precision.
namespace zel {

// The tolerance used throughout: vectors whose squared length is below it
// normalise to zero, matrices whose determinant magnitude does not exceed it
// invert to zero, and slerp treats inputs this close as equal.
inline constexpr float kMathEpsilon = 1.1920929e-7f;

inline constexpr float kPi = 3.14159265f;
inline constexpr float kTwoPi = 6.2831855f;
inline constexpr float kHalfPi = 1.5707964f;

// The largest finite float, used for unbounded spheres and box searches.
inline constexpr float kMaxFloat = 3.4028235e38f;

}  // namespace zel
