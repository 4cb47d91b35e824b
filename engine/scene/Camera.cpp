#include "engine/scene/Camera.h"

#include <bit>
#include <cmath>

#include "engine/core/Stream.h"

namespace zel {

ZEL_DEFINE_RTTI(Camera, Node)

const float Camera::kAspectScale = std::bit_cast<float>(0x3F46318Du);

Camera::Camera(const String& name) : Node(name) {}

void Camera::UpdateSelf(double time) {
    Node::UpdateSelf(time);
    UpdateMatrices();
}

void Camera::UpdateMatrices() {
    UpdateProjection();
    UpdateView();
    viewProjection_ = view_ * projection_;
    UpdatePlanes();
}

void Camera::SetMatrices(const Matrix4& view, const Matrix4& projection) {
    view_ = view;
    projection_ = projection;
    viewProjection_ = view_ * projection_;
}

void Camera::UpdateProjection() {
    const float c = 1.0f / std::tan(fov_ * 0.5f);
    const float depth = farPlane_ / (farPlane_ - nearPlane_);
    projection_ = Matrix4::Zero();
    projection_.m[0][0] = c * kAspectScale;
    projection_.m[1][1] = c;
    projection_.m[2][2] = depth;
    projection_.m[2][3] = 1.0f;
    projection_.m[3][2] = -nearPlane_ * depth;
    // 1, not 0: the centre of projection lies one unit behind the camera.
    projection_.m[3][3] = 1.0f;
}

Vector3 Camera::GetRight() const { return GetWorld().rotation.ToMatrix().Column(0); }
Vector3 Camera::GetUp() const { return GetWorld().rotation.ToMatrix().Column(1); }
Vector3 Camera::GetDirection() const { return GetWorld().rotation.ToMatrix().Column(2); }

void Camera::UpdateView() {
    const Matrix3 axes = GetWorld().rotation.ToMatrix();
    const Vector3 right = axes.Column(0), up = axes.Column(1), direction = axes.Column(2);
    const Vector3 position = GetPosition();
    view_ = Matrix4::FromMatrix3(axes, {-Dot(position, right), -Dot(position, up), -Dot(position, direction)});
}

void Camera::UpdatePlanes() {
    // The corners of the clip-space box mapped back to world space.
    static const Vector3 kClipCorners[8] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0},
                                            {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}};
    const Matrix4 inverse = viewProjection_.Inverse();
    Vector3 c[8];
    for (int i = 0; i < 8; ++i) c[i] = inverse.TransformCoord(kClipCorners[i]);
    planes_[kNearPlane] = Plane::FromPoints(c[0], c[1], c[2]);
    planes_[kFarPlane] = Plane::FromPoints(c[6], c[4], c[7]);
    planes_[kLeftPlane] = Plane::FromPoints(c[0], c[3], c[7]);
    planes_[kRightPlane] = Plane::FromPoints(c[2], c[1], c[6]);
    planes_[kTopPlane] = Plane::FromPoints(c[3], c[2], c[6]);
    planes_[kBottomPlane] = Plane::FromPoints(c[1], c[0], c[5]);
}

bool Camera::IsCulled(const BoundingVolume& bound) {
    for (int32_t i = 0; i < kPlaneCount; ++i) {
        const int32_t bit = 32 >> i;
        if ((planeMask_ & bit) == 0) continue;
        const int32_t side = bound.WhichSide(planes_[i]);
        if (side < 0) return true;
        // Wholly inside: the bound's descendants need not test this plane.
        if (side > 0) planeMask_ &= ~bit;
    }
    return false;
}

void Camera::LookAlong(const Vector3& direction) {
    GetLocal().rotation = Quaternion::LookAlong(direction);
    GetLocal().ClearFlags();
}

int32_t Camera::Save(Stream& stream) {
    if (Node::Save(stream) != 0) return SaveParentFailed();
    stream.WriteFloat(fov_);
    stream.WriteFloat(nearPlane_);
    stream.WriteFloat(farPlane_);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно сохранить данные камеры. Имя[%s] ID[%d]");
    return kOk;
}

int32_t Camera::Load(Stream& stream) {
    if (Node::Load(stream) != 0) return LoadParentFailed();
    stream.ReadFloat(fov_);
    stream.ReadFloat(nearPlane_);
    stream.ReadFloat(farPlane_);
    if (stream.GetErrorState() != 0) return FailWithIdName("Невозможно загрузить данные камеры. ID[%d] Имя[%s]");
    return kOk;
}

}  // namespace zel
