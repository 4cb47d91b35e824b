#include "engine/render/OcclusionQuery.h"

#include "engine/render/Renderer.h"

namespace zel {

ZEL_DEFINE_RTTI(OcclusionQuery, Object)

OcclusionQuery::~OcclusionQuery() {
    if (Renderer* renderer = BoundRenderer(binding_)) renderer->ReleaseOcclusionQuery(this);
}

void OcclusionQuery::Begin() {
    if (Renderer* renderer = GetCurrentRenderer()) renderer->BeginOcclusionQuery(this);
}

void OcclusionQuery::End() {
    if (Renderer* renderer = GetCurrentRenderer()) renderer->EndOcclusionQuery(this);
}

}  // namespace zel
