// Shadows of one light on a list of geometry nodes. A
// RenderShadowmapEffectController renders the nodes' depth as seen from the
// light into the shadow map before the frame; this effect, on a scene node,
// then draws the listed nodes again with programs that look the map up
// projectively and blend the shadow colour over the shadowed parts. Needs
// hardware shadow maps and shaders; otherwise nothing is darkened.
#pragma once

#include "engine/core/Pointer.h"
#include "engine/math/Color.h"
#include "engine/math/Matrix4.h"
#include "engine/render/NodeList.h"
#include "engine/render/SceneNodeEffect.h"
#include "engine/render/texture/Texture.h"
#include "engine/scene/Camera.h"
#include "engine/scene/GeometryNode.h"
#include "engine/scene/Light.h"

namespace zel {

class ShadowmapEffect : public SceneNodeEffect {
    ZEL_DECLARE_RTTI

public:
    ShadowmapEffect();

    // Parent data, then the light and shadow-map links, the shadow colour,
    // the flags byte (bit 0 fit to camera, bit 1 soft), the depth bias, the
    // slope-scale bias, the fit threshold and the node list.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    Object* FindByName(const String& name) override;
    // The effect's links, then the light, the maps, the casters and the light's camera and quad.
    void VisitLinks(LinkVisitor& visitor) override;

    Light* GetLight() const { return light_; }
    void SetLight(Light* light) { light_ = light; }
    Texture* GetShadowmap() const { return shadowmap_; }
    // Also drops the colour target made for the old map.
    void SetShadowmap(Texture* shadowmap);
    // The colour target the depth pass draws into, made on first use with
    // the shadow map's size; null without a shadow map.
    Texture* GetColorTarget();

    NodeList<GeometryNode>& GetNodes() { return nodes_; }
    const NodeList<GeometryNode>& GetNodes() const { return nodes_; }

    // The light's camera, fitted each frame by the controller.
    Camera* GetLightCamera() const { return lightCamera_; }
    // World → shadow-map coordinates, set by the controller each frame.
    const Matrix4& GetLightTextureMatrix() const { return lightTextureMatrix_; }
    void SetLightTextureMatrix(const Matrix4& matrix) { lightTextureMatrix_ = matrix; }

    // The bounding sphere around the listed nodes' world bounds.
    void FitBound(Vector3& center, float& radius) const;

    // Closes pass recordings: its positions and indices (and the streams the
    // receiver pass declares) are bound, nothing is drawn from them.
    GeometryNode* GetAuxiliaryNode() const { return auxiliary_; }
    // Four-float stream standing in for blend weights and bone indices
    // while the receiver pass is recorded.
    Vector4Buffer* GetAuxiliaryStream() const { return auxiliaryStream_; }

    ColorRGBA shadowColor{0.0f, 0.0f, 0.0f, 0.5f};
    bool fitToCamera = false;
    bool softShadows = false;
    float depthBias = 0.0f;
    float slopeScaleBias = 0.0f;
    float fitThreshold = 0.9f;

private:
    Pointer<Light> light_;
    Pointer<Texture> shadowmap_;
    Pointer<Texture> colorTarget_;
    NodeList<GeometryNode> nodes_;
    Matrix4 lightTextureMatrix_;
    Pointer<Camera> lightCamera_;
    Pointer<GeometryNode> auxiliary_;
    Pointer<Vector4Buffer> auxiliaryStream_;
};
ZEL_REGISTER_CLASS(ShadowmapEffect)

}  // namespace zel
