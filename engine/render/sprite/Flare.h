// A coloured glow at the node's position: one point sprite where the
// renderer has them, otherwise a quad facing the current camera. Drawn by a
// sprite effect.
#pragma once

#include "engine/math/Color.h"
#include "engine/scene/GeometryNode.h"

namespace zel {

class Flare : public GeometryNode {
    ZEL_DECLARE_RTTI

public:
    // Buffers for the current renderer's form (one point, or six vertices
    // without a renderer or point sprites) and a new sprite effect.
    Flare();

    // Parent data, then the colour and the size; a loaded size below 0
    // becomes 0.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // Controllers, world transform and effect, then the point (position,
    // colour, size) or the camera-facing quad, rebuilt with six vertices
    // when the node holds another count.
    void UpdateSelf(double time) override;
    // Nothing without an enabled effect or vertices; otherwise as any
    // geometry node (deferred when blended).
    void Draw(Renderer& renderer) override;
    // The pass loop with one point or two triangles per pass.
    void DrawDeferred(Renderer& renderer) override;
    // 0 (points) as a point sprite, 3 (triangles) as a quad.
    int32_t GetPrimitiveType() const override { return pointSprite_ ? kPoints : kTriangleList; }
    // A sphere at the origin with radius size × 5000.
    void ComputeModelBound() override;

    bool IsPointSprite() const { return pointSprite_; }

    ColorRGBA flareColor{1.0f, 1.0f, 1.0f, 1.0f};
    float flareSize = 0.01f;

private:
    // One vertex with a size (point sprite) or six.
    void MakeBuffers(bool pointSprite);

    bool pointSprite_ = false;
};
ZEL_REGISTER_CLASS(Flare)

// Runs the pass loop of `node`'s effect, drawing `primitives` unindexed
// primitives for every pass whose Draw returns 0.
void DrawUnindexedPasses(Renderer& renderer, GeometryNode& node, int32_t primitives);

// A sphere at the model origin of radius `radius` as the node's model bound.
void SetOriginBound(GeometryNode& node, float radius);

}  // namespace zel
