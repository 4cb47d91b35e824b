// A node that turns its world transform into view and projection matrices
// and six world-space frustum planes, and answers whether a bound is
// outside the frustum.
#pragma once

#include "engine/scene/Node.h"
#include "engine/math/Matrix4.h"
#include "engine/math/Plane.h"

namespace zel {

class Camera : public Node {
    ZEL_DECLARE_RTTI

public:
    static constexpr int32_t kNearPlane = 0;
    static constexpr int32_t kFarPlane = 1;
    static constexpr int32_t kLeftPlane = 2;
    static constexpr int32_t kRightPlane = 3;
    static constexpr int32_t kTopPlane = 4;
    static constexpr int32_t kBottomPlane = 5;
    static constexpr int32_t kPlaneCount = 6;
    // The fixed ratio of the horizontal to the vertical projection scale,
    // whatever the viewport's shape.
    static const float kAspectScale;

    explicit Camera(const String& name = String());

    // Parent data, then fov, near and far (floats).
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // Controllers, world transform, then UpdateMatrices.
    void UpdateSelf(double time) override;

    // Projection, view, view × projection, then the planes.
    void UpdateMatrices();
    // The projection alone (after a viewport change); the product and the
    // planes follow at the next UpdateMatrices.
    void UpdateProjection();
    // Sets view and projection directly (light cameras, mirrored cameras,
    // a screen overlay's camera that is never updated): view × projection
    // and the planes follow at once; the next update computes them from the
    // transform again.
    void SetMatrices(const Matrix4& view, const Matrix4& projection);

    // For each plane whose bit (32 >> i) is set in the plane mask: a bound
    // wholly outside returns true at once; one wholly inside clears the bit.
    bool IsCulled(const BoundingVolume& bound);
    // Points the local rotation along `direction` with (0, 1, 0) as the up
    // hint; both flags of the local transform are cleared. A direction along
    // the hint gives a zero right axis.
    void LookAlong(const Vector3& direction);

    // The axes of the world rotation (its matrix's columns 0, 1, 2) and the
    // world translation.
    Vector3 GetRight() const;
    Vector3 GetUp() const;
    Vector3 GetDirection() const;
    Vector3 GetPosition() const { return GetWorld().translation; }

    float GetFov() const { return fov_; }
    void SetFov(float fov) { fov_ = fov; }
    float GetNearPlane() const { return nearPlane_; }
    void SetNearPlane(float distance) { nearPlane_ = distance; }
    float GetFarPlane() const { return farPlane_; }
    void SetFarPlane(float distance) { farPlane_ = distance; }

    const Matrix4& GetProjection() const { return projection_; }
    const Matrix4& GetView() const { return view_; }
    const Matrix4& GetViewProjection() const { return viewProjection_; }
    // Planes 0..5: near, far, left, right, top, bottom; normals point into
    // the frustum.
    const Plane& GetPlane(int32_t index) const { return planes_[index]; }

    // Bit (32 >> i) set: plane i is still to be tested. The renderer sets it
    // to −1 when the camera becomes current and at each frame.
    int32_t GetPlaneMask() const { return planeMask_; }
    void SetPlaneMask(int32_t mask) { planeMask_ = mask; }

private:
    void UpdateView();
    void UpdatePlanes();

    float fov_ = 0.7853982f;
    float nearPlane_ = 0.1f;
    float farPlane_ = 10000.0f;
    Plane planes_[kPlaneCount];
    Matrix4 projection_;
    Matrix4 view_;
    Matrix4 viewProjection_;
    int32_t planeMask_ = -1;
};
ZEL_REGISTER_CLASS(Camera)

}  // namespace zel
