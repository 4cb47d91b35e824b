#include "engine/scene/SphereBoundingVolume.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Buffer.h"
#include "engine/core/Log.h"
#include "engine/core/Stream.h"

namespace zel {

ZEL_DEFINE_RTTI(SphereBoundingVolume, BoundingVolume)

namespace {
// Every volume is a sphere, so the other operand is read as one.
const SphereBoundingVolume& AsSphere(const BoundingVolume& volume) {
    return static_cast<const SphereBoundingVolume&>(volume);
}
}  // namespace

int32_t SphereBoundingVolume::Save(Stream& stream) {
    if (Object::Save(stream) != 0) return SaveParentFailed();
    stream.WriteVector3(center_);
    if (stream.WriteFloat(radius_) != 0)
        return FailWithNameId("Невозможно сохранить данные окружающего объёма. Имя[%s] ID[%d]");
    return kOk;
}

int32_t SphereBoundingVolume::Load(Stream& stream) {
    if (Object::Load(stream) != 0) return LoadParentFailed();
    stream.ReadVector3(center_);
    if (stream.ReadFloat(radius_) != 0)
        return FailWithIdName("Невозможно загрузить данные окружающего объёма. ID[%d] Имя[%s]");
    return kOk;
}

int32_t SphereBoundingVolume::ComputeFromPoints(Buffer* points) {
    if (points == nullptr) {
        LogWarning("Указатель на вершины равен 0 при генерации. Имя[%s] ID[%d].", GetName().CStr(), GetId());
        return kInvalidArgument;
    }
    const Vector3* p = static_cast<const Vector3*>(points->GetData());
    // Counting by bytes keeps a buffer of smaller elements from being read
    // past its end.
    int32_t count = points->GetDataSize() / static_cast<int32_t>(sizeof(Vector3));
    if (p == nullptr || count <= 0) {
        LogWarning("Нет вершин в буффере при генерации объёма. Имя[%s] ID[%d].", GetName().CStr(), GetId());
        return kInvalidArgument;
    }
    Vector3 low = p[0], high = p[0];
    for (int32_t i = 1; i < count; ++i) {
        low = {std::min(low.x, p[i].x), std::min(low.y, p[i].y), std::min(low.z, p[i].z)};
        high = {std::max(high.x, p[i].x), std::max(high.y, p[i].y), std::max(high.z, p[i].z)};
    }
    center_ = (low + high) * 0.5f;
    float largest = 0.0f;
    for (int32_t i = 0; i < count; ++i) largest = std::max(largest, SquaredLength(p[i] - center_));
    radius_ = std::sqrt(largest);
    return kOk;
}

int32_t SphereBoundingVolume::CopyFrom(const BoundingVolume* volume) {
    if (volume == nullptr) {
        LogWarning("Указатель на объём равен 0 при генерации. Имя[%s] ID[%d].", GetName().CStr(), GetId());
        return kInvalidArgument;
    }
    CopySphere(AsSphere(*volume));
    return kOk;
}

bool SphereBoundingVolume::IntersectRay(const Ray& ray, float& t1, float& t2) const {
    Vector3 m = ray.origin - center_;
    float b = Dot(m, ray.direction);
    float disc = b * b - (SquaredLength(m) - radius_ * radius_);
    if (disc < 0.0f) return false;
    float root = std::sqrt(disc);
    t1 = root - b;
    t2 = -b - root;
    return true;
}

bool SphereBoundingVolume::Intersects(const BoundingVolume* volume) const {
    if (volume == nullptr) return false;
    const SphereBoundingVolume& other = AsSphere(*volume);
    float reach = radius_ + other.radius_;
    return reach * reach >= SquaredLength(other.center_ - center_);
}

int32_t SphereBoundingVolume::Merge(const BoundingVolume* volume) {
    if (volume == nullptr) {
        LogWarning("Указатель на объём равен 0 при слиянии. Имя[%s] ID[%d].", GetName().CStr(), GetId());
        return kInvalidArgument;
    }
    MergeSphere(AsSphere(*volume));
    return kOk;
}

int32_t SphereBoundingVolume::TransformInto(BoundingVolume* target, const Transform& transform,
                                           const Matrix3& rotation) const {
    if (target == nullptr) {
        LogWarning("Указатель на объём равен 0 при трансформации. Имя[%s] ID[%d].", GetName().CStr(), GetId());
        return kInvalidArgument;
    }
    // Written straight into the target (every volume is a sphere): a
    // temporary volume object would use up an object ID.
    SphereBoundingVolume& sphere = static_cast<SphereBoundingVolume&>(*target);
    sphere.center_ = transform.ApplyToPoint(center_, rotation);
    sphere.radius_ = Length(transform.ApplyToDirection(Vector3{radius_, 0.0f, 0.0f}, rotation));
    return kOk;
}

int32_t SphereBoundingVolume::WhichSide(const Plane& plane) const {
    float s = plane.SignedDistance(center_);
    if (s <= -radius_) return -1;
    if (s >= radius_) return 1;
    return 0;
}

}  // namespace zel
