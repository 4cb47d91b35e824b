#pragma once

#include <cstddef>
#include <cstring>

#include "engine/math/Matrix4.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vector3.h"

namespace zel {

// Per-axis scale, rotation and translation: a point maps to
// (p ⊙ scale) · R(rotation) + translation. Non-uniform scale acts before the
// rotation, so no composition of transforms ever forms a shear.
//
// The first 40 bytes (scale, rotation x, y, z, w, translation) are the
// streamed form. The two flags are caches that the owner keeps: they are
// never derived from the values, only set by Identity() and cleared by
// whoever changes a field. A transform with isIdentity set is treated as the
// identity whatever its values; noRotation lets composition and application
// skip the rotation.
struct Transform {
    Vector3 scale{1.0f, 1.0f, 1.0f};
    Quaternion rotation;
    Vector3 translation;
    bool isIdentity = true;
    bool noRotation = true;

    static Transform Identity() { return {}; }
    // A transform with the given values and both flags cleared, so it never
    // takes a shortcut.
    static Transform Make(const Vector3& scale, const Quaternion& rotation, const Vector3& translation);

    void ClearFlags() { isIdentity = false; noRotation = false; }

    // The same bits in every value and the same flags: whatever is computed
    // from one is computed alike from the other (−0 and NaN included).
    static bool Identical(const Transform& a, const Transform& b) {
        return std::memcmp(&a, &b, offsetof(Transform, isIdentity)) == 0 && a.isIdentity == b.isIdentity &&
               a.noRotation == b.noRotation;
    }

    // World transform of a node from its local transform and its parent's
    // world transform: `local` acts first. An identity operand returns the
    // other one as it is (flags included); otherwise scales multiply per axis,
    // the parent maps the local translation as a point, rotations compose
    // (local ⊗ parent, or whichever one has a rotation) and both flags of the
    // result are cleared.
    static Transform Compose(const Transform& local, const Transform& parent);
    // The same with parentRotation == parent.RotationMatrix() supplied by a
    // caller that keeps it (a node keeps its world rotation's matrix), so
    // that the rotation is not converted once more per child.
    static Transform Compose(const Transform& local, const Transform& parent, const Matrix3& parentRotation);

    // R(rotation) when the flags say there is a rotation, else the identity
    // (unread by the forms below then).
    Matrix3 RotationMatrix() const { return isIdentity || noRotation ? Matrix3() : rotation.ToMatrix(); }

    Vector3 ApplyToPoint(const Vector3& p) const { return ApplyToPoint(p, RotationMatrix()); }
    // As a point, without the translation.
    Vector3 ApplyToDirection(const Vector3& d) const { return ApplyToDirection(d, RotationMatrix()); }
    // The same with r == RotationMatrix() supplied by the caller.
    Vector3 ApplyToPoint(const Vector3& p, const Matrix3& r) const {
        return isIdentity ? p : ApplyToDirection(p, r) + translation;
    }
    Vector3 ApplyToDirection(const Vector3& d, const Matrix3& r) const {
        if (isIdentity) return d;
        const Vector3 s = d * scale;
        return noRotation ? s : s * r;
    }
    // The point p such that ApplyToPoint(p) == q. A zero scale component
    // leaves 0 in that component instead of dividing by zero.
    Vector3 InverseApplyToPoint(const Vector3& q) const;
    Vector3 InverseApplyToDirection(const Vector3& d) const;

    // The transform that undoes this one, with both flags cleared (the
    // identity keeps its flags). Exact when the scale is uniform or there is
    // no rotation; otherwise the true inverse is a shear this form cannot
    // hold and the result only approximates it.
    Transform Inverse() const;

    // Rows 0–2: the rows of R(rotation) times scale.x, scale.y, scale.z;
    // row 3: (translation, 1). Computed from the values, not the flags.
    Matrix4 ToMatrix() const;
};

inline Transform Transform::Compose(const Transform& local, const Transform& parent, const Matrix3& parentRotation) {
    if (local.isIdentity) return parent;
    if (parent.isIdentity) return local;
    Transform w;
    w.scale = parent.scale * local.scale;
    w.translation = parent.ApplyToPoint(local.translation, parentRotation);
    if (local.noRotation)
        w.rotation = parent.rotation;
    else if (parent.noRotation)
        w.rotation = local.rotation;
    else
        w.rotation = local.rotation * parent.rotation;
    w.ClearFlags();
    return w;
}

static_assert(offsetof(Transform, scale) == 0);
static_assert(offsetof(Transform, rotation) == 12);
static_assert(offsetof(Transform, translation) == 28);
static_assert(offsetof(Transform, isIdentity) == 40);

}  // namespace zel
