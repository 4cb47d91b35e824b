#include "engine/math/Transform.h"

namespace zel {

namespace {

// Inverse of a scale factor, 0 for a collapsed axis (nothing to undo).
float Reciprocal(float s) {
    return s == 0.0f ? 0.0f : 1.0f / s;
}

Vector3 Reciprocal(const Vector3& s) {
    return {Reciprocal(s.x), Reciprocal(s.y), Reciprocal(s.z)};
}

}  // namespace

Transform Transform::Make(const Vector3& scale, const Quaternion& rotation, const Vector3& translation) {
    return {scale, rotation, translation, false, false};
}

Transform Transform::Compose(const Transform& local, const Transform& parent) {
    if (local.isIdentity) return parent;
    return Compose(local, parent, parent.RotationMatrix());
}

Vector3 Transform::InverseApplyToPoint(const Vector3& q) const {
    if (isIdentity) return q;
    return InverseApplyToDirection(q - translation);
}

Vector3 Transform::InverseApplyToDirection(const Vector3& d) const {
    if (isIdentity) return d;
    // A rotation matrix's inverse is its transpose.
    const Vector3 unrotated = noRotation ? d : d * rotation.ToMatrix().Transposed();
    return unrotated * Reciprocal(scale);
}

Transform Transform::Inverse() const {
    if (isIdentity) return *this;
    Transform r;
    r.scale = Reciprocal(scale);
    r.rotation = noRotation ? rotation : rotation.Conjugate();
    r.ClearFlags();
    // Undo the translation as a direction of the inverse.
    r.translation = InverseApplyToDirection(-translation);
    return r;
}

Matrix4 Transform::ToMatrix() const {
    const Matrix3 r = rotation.ToMatrix();
    const Vector3 row0 = r.Row(0) * scale.x;
    const Vector3 row1 = r.Row(1) * scale.y;
    const Vector3 row2 = r.Row(2) * scale.z;
    return Matrix4::FromMatrix3(Matrix3::FromRows(row0, row1, row2), translation);
}

}  // namespace zel
