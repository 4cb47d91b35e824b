// Abstract bounding volume of nodes and geometry. Spheres are the only kind;
// nodes store just the type code and recreate their volumes with Create.
#pragma once

#include "engine/core/ClassRegistration.h"
#include "engine/core/Object.h"
#include "engine/core/Pointer.h"
#include "engine/math/Plane.h"
#include "engine/math/Transform.h"
#include "engine/math/Vector3.h"

namespace zel {

class Buffer;

// An origin and a unit direction.
struct Ray {
    Vector3 origin;
    Vector3 direction;
};

class BoundingVolume : public Object {
    ZEL_DECLARE_RTTI

public:
    static constexpr int32_t kSphere = 0;

    // A new sphere with an empty name, whatever the code.
    [[nodiscard]] static BoundingVolume* Create(int32_t typeCode);
    // 3 when source is null, 1 when it is not a sphere, else target.CopyFrom.
    static int32_t Assign(BoundingVolume& target, const BoundingVolume* source);

    virtual int32_t GetType() const = 0;
    // Statuses: 0 ok, 3 null argument or empty input (logged as a warning).
    virtual int32_t ComputeFromPoints(Buffer* points) = 0;
    virtual int32_t CopyFrom(const BoundingVolume* volume) = 0;
    // Parameters of the two crossings along the ray; false when it misses.
    virtual bool IntersectRay(const Ray& ray, float& t1, float& t2) const = 0;
    virtual bool Intersects(const BoundingVolume* volume) const = 0;
    virtual int32_t Merge(const BoundingVolume* volume) = 0;
    // The volume moved by `transform` into target; `rotation` is
    // transform.RotationMatrix(), which a node keeps for its world transform.
    virtual int32_t TransformInto(BoundingVolume* target, const Transform& transform,
                                  const Matrix3& rotation) const = 0;
    int32_t TransformInto(BoundingVolume* target, const Transform& transform) const {
        return TransformInto(target, transform, transform.RotationMatrix());
    }
    // -1 wholly on the negative side, +1 wholly on the positive side, else 0.
    virtual int32_t WhichSide(const Plane& plane) const = 0;
    virtual Vector3 GetCenter() const = 0;
};
ZEL_REGISTER_ABSTRACT_CLASS(BoundingVolume)

}  // namespace zel
