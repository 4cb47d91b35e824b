// Particles drawn as textured sprites through a sprite effect: one point
// sprite per particle when the renderer supports them, otherwise a
// camera-facing square of two triangles (six vertices) per particle. The
// vertex data are rewritten in place every update, in world space.
#pragma once

#include "engine/animation/particles/ParticleSystem.h"

namespace zel {

class SpriteParticleSystem : public ParticleSystem {
    ZEL_DECLARE_RTTI

public:
    // With a new sprite effect as the node's effect (none when it cannot be
    // allocated) and no buffers until the maximum is set.
    explicit SpriteParticleSystem(const String& name = String());

    // Points with point sprites, triangles with the six-vertex layout.
    int32_t GetPrimitiveType() const override { return pointSprites_ ? kPoints : kTriangleList; }

    // The particle update, then the living particles are written into the
    // buffers in list order: with point sprites position, colour and size
    // per particle; otherwise, when the renderer has a camera, six vertices
    // per particle facing it (nothing is drawn without a camera).
    void UpdateSelf(double time) override;
    // Nothing when no particle was written; otherwise as a geometry node.
    void Draw(Renderer& renderer) override;
    // Every pass of the effect draws the written primitives without
    // indices.
    void DrawDeferred(Renderer& renderer) override;

    // Drops the old buffers and, for a positive maximum m, makes new ones,
    // choosing the layout by the current renderer's point-sprite support
    // (six vertices without a renderer): positions, texture coordinates,
    // sizes and colours of m elements; or positions, colours and texture
    // coordinates of 6m elements, the coordinates filled once. When an
    // allocation fails the node keeps no buffers and draws nothing.
    void RebuildBuffers() override;

    bool UsesPointSprites() const { return pointSprites_; }
    // Primitives written by the last update: points, or triangles (two per
    // particle).
    int32_t GetPrimitiveCount() const { return primitiveCount_; }

private:
    void DetachBuffers();
    bool MakePointSpriteBuffers(int32_t count);
    bool MakeQuadBuffers(int32_t count);
    void WritePointSprites();
    void WriteQuads();

    bool pointSprites_ = false;  // the layout of the current buffers
    int32_t primitiveCount_ = 0;
};
ZEL_REGISTER_CLASS(SpriteParticleSystem)

}  // namespace zel
