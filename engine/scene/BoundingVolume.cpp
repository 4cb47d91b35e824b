#include "engine/scene/BoundingVolume.h"

#include <new>

#include "engine/scene/SphereBoundingVolume.h"

namespace zel {

ZEL_DEFINE_RTTI(BoundingVolume, Object)

BoundingVolume* BoundingVolume::Create(int32_t) { return new (std::nothrow) SphereBoundingVolume(); }

int32_t BoundingVolume::Assign(BoundingVolume& target, const BoundingVolume* source) {
    if (source == nullptr) return kInvalidArgument;
    if (source->GetType() != kSphere) return kFailed;
    return target.CopyFrom(source);
}

}  // namespace zel
