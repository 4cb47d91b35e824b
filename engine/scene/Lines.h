// Geometry drawn as separate segments, one per index pair.
#pragma once

#include "engine/scene/GeometryNode.h"

namespace zel {

class Lines : public GeometryNode {
    ZEL_DECLARE_RTTI

public:
    explicit Lines(const String& name = String()) : GeometryNode(name) {}
    int32_t GetPrimitiveType() const override { return kLineList; }
};
ZEL_REGISTER_CLASS(Lines)

}  // namespace zel
