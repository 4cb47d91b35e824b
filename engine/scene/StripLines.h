// Geometry drawn as one connected line through the indices.
#pragma once

#include "engine/scene/GeometryNode.h"

namespace zel {

class StripLines : public GeometryNode {
    ZEL_DECLARE_RTTI

public:
    explicit StripLines(const String& name = String()) : GeometryNode(name) {}
    int32_t GetPrimitiveType() const override { return kLineStrip; }
};
ZEL_REGISTER_CLASS(StripLines)

}  // namespace zel
