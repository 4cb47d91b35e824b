// A chain of eight textured sprites across the screen along the line from
// the screen centre through the light's projected position. Their opacity
// is the share of the light's glow quad that passed the depth test, counted
// by an occlusion query and read a frame late so that nothing waits for the
// rasterizer. Each pass of a frame that draws the flare (a reflection, the
// screen) has a query of its own. Drawn after the opaque scene (its sprite
// effect is deferred); nothing at all without occlusion queries.
#pragma once

#include "engine/core/Pointer.h"
#include "engine/math/Color.h"
#include "engine/render/OcclusionQuery.h"
#include "engine/render/texture/Texture.h"
#include "engine/scene/GeometryNode.h"

namespace zel {

class LensFlares : public GeometryNode {
    ZEL_DECLARE_RTTI

public:
    static constexpr int32_t kElements = 8;
    // Passes of one frame with a query of their own; later ones share the
    // last.
    static constexpr int32_t kQueries = 4;
    static const float kSizeFactors[kElements];
    static const float kPositionFactors[kElements];

    // Six vertices, colours and coordinates, the queries and a deferred
    // sprite effect.
    LensFlares();

    // Parent data, then the glow size, the glow colour, the element scale
    // and the eight element texture links; a loaded glow size below 0
    // becomes 0.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    // Geometry-node search, then the element textures.
    Object* FindByName(const String& name) override;
    void CollectByType(const Rtti& type, ObjectArray& objects) override;
    // The node's links, then the queries and the element textures.
    void VisitLinks(LinkVisitor& visitor) override;

    // Controllers, world transform and effect, then the glow quad facing
    // the current camera.
    void UpdateSelf(double time) override;
    // Nothing without an enabled effect or vertices; a non-deferred effect
    // draws at once, a deferred one joins the deferred list.
    void Draw(Renderer& renderer) override;
    // The glow inside this pass's query, the alpha from its latest count,
    // then the eight elements in clip space.
    void DrawDeferred(Renderer& renderer) override;
    int32_t GetPrimitiveType() const override { return kTriangleList; }
    // A sphere at the origin with radius glow size × 5000.
    void ComputeModelBound() override;

    Texture* GetElementTexture(int32_t k) const;
    void SetElementTexture(int32_t k, Texture* texture);
    // The query of the `use`-th pass of a frame to draw the flare.
    OcclusionQuery* GetQuery(int32_t use) const;

    // The element centre (clip space, z = 0) for a light projected at
    // `light`.
    static Vector3 ElementCenter(const Vector3& light, int32_t k);
    // Visible pixels over the glow's pixel area (0 for an empty area).
    static float Visibility(int32_t visiblePixels, float area);

    float elementScale = 0.8f;
    ColorRGBA glowColor{1.0f, 1.0f, 1.0f, 0.1f};
    float glowSize = 1.0f;

private:
    // The glow inside this pass's query; the query's latest count.
    int32_t DrawGlow(Renderer& renderer);
    void DrawElements(Renderer& renderer, const Vector3& light);

    // The query for the pass now drawing, by its order within the frame.
    OcclusionQuery* NextQuery(const Renderer& renderer);

    Pointer<OcclusionQuery> queries_[kQueries];
    uint32_t queryFrame_ = 0;
    int32_t queryUse_ = 0;
    Pointer<Texture> elementTextures_[kElements];
};
ZEL_REGISTER_CLASS(LensFlares)

}  // namespace zel
