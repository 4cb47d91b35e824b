// Emits from random points on the triangles of a geometry node, with the
// point emitter's directions turned by that node's world transform.
#pragma once

#include "engine/animation/particles/PointEmitter.h"
#include "engine/core/Pointer.h"
#include "engine/scene/Triangles.h"

namespace zel {

class TrianglesEmitter : public PointEmitter {
    ZEL_DECLARE_RTTI

public:
    // Parent data, then the triangles node (link).
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // The emitter's links, then the triangles.
    void VisitLinks(LinkVisitor& visitor) override;

    // Without a node: the origin and (0, −1, 0), no draws. Otherwise one
    // draw picks a triangle (three consecutive positions per triangle; with
    // fewer than three positions the corners are the origin and no draw is
    // made), three more the point on it, two the direction; point and
    // direction go through the node's world transform.
    void Emit(Vector3& position, Vector3& direction) override;

    Triangles* GetTriangles() const { return triangles_; }
    void SetTriangles(Triangles* triangles) { triangles_ = triangles; }

private:
    Pointer<Triangles> triangles_;
};
ZEL_REGISTER_CLASS(TrianglesEmitter)

}  // namespace zel
