// Geometry drawn as one point per index.
#pragma once

#include "engine/scene/GeometryNode.h"

namespace zel {

class Points : public GeometryNode {
    ZEL_DECLARE_RTTI

public:
    explicit Points(const String& name = String()) : GeometryNode(name) {}
    int32_t GetPrimitiveType() const override { return kPoints; }
};
ZEL_REGISTER_CLASS(Points)

}  // namespace zel
