// The bounding sphere: the only bounding volume of the engine.
#pragma once

#include <cstring>

#include "engine/scene/BoundingVolume.h"

namespace zel {

// A sphere's values as bits: what a node remembers of a bound it read or
// wrote, to tell later whether it still holds the same.
struct SphereBits {
    Vector3 center;
    float radius = 0.0f;

    bool operator==(const SphereBits& other) const { return std::memcmp(this, &other, sizeof(SphereBits)) == 0; }
};

class SphereBoundingVolume final : public BoundingVolume {
    ZEL_DECLARE_RTTI

public:
    SphereBoundingVolume() = default;
    SphereBoundingVolume(const Vector3& center, float radius) : center_(center), radius_(radius) {}

    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    int32_t GetType() const override { return kSphere; }
    // The sphere around the points' axis-aligned box centre. The buffer's
    // bytes are read as consecutive 3-vectors, as many as fit in it.
    int32_t ComputeFromPoints(Buffer* points) override;
    int32_t CopyFrom(const BoundingVolume* volume) override;
    bool IntersectRay(const Ray& ray, float& t1, float& t2) const override;
    bool Intersects(const BoundingVolume* volume) const override;
    // Grows this sphere to enclose both.
    int32_t Merge(const BoundingVolume* volume) override;
    // Centre mapped as a point; radius scaled by |scale.x| only.
    int32_t TransformInto(BoundingVolume* target, const Transform& transform,
                          const Matrix3& rotation) const override;
    using BoundingVolume::TransformInto;
    int32_t WhichSide(const Plane& plane) const override;
    Vector3 GetCenter() const override { return center_; }

    // Merge and CopyFrom of a sphere, without the virtual call and the null
    // check: a scene node merges its children's bounds with these each frame.
    void MergeSphere(const SphereBoundingVolume& other) {
        const Vector3 d = other.center_ - center_;
        const float deltaRadius = other.radius_ - radius_;
        const float distanceSquared = SquaredLength(d);
        // One sphere holds the other: no square root needed.
        if (deltaRadius * deltaRadius >= distanceSquared) {
            if (deltaRadius > 0.0f) CopySphere(other);
            return;
        }
        const float distance = std::sqrt(distanceSquared);
        center_ += d * ((deltaRadius + distance) / (2.0f * distance));
        radius_ = (distance + other.radius_ + radius_) * 0.5f;
    }
    void CopySphere(const SphereBoundingVolume& other) {
        center_ = other.center_;
        radius_ = other.radius_;
    }

    SphereBits GetBits() const { return {center_, radius_}; }
    float GetRadius() const { return radius_; }
    void SetCenter(const Vector3& center) { center_ = center; }
    void SetRadius(float radius) { radius_ = radius; }

private:
    Vector3 center_;
    float radius_ = 0.0f;
};
ZEL_REGISTER_CLASS(SphereBoundingVolume)

}  // namespace zel
