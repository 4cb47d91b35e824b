// Base of the two water controllers, which render the scene into their
// texture before each frame from the current camera's point of view: the
// water node's world height defines the plane y = y_w (0 without one); the
// listed nodes are drawn with the near plane moved onto the water plane,
// mirrored in it (reflection) or as they are (refraction).
#pragma once

#include "engine/core/Pointer.h"
#include "engine/render/NodeList.h"
#include "engine/render/PostUpdateController.h"
#include "engine/scene/Node.h"

namespace zel {

class Camera;
class Texture;

class RenderScreenspaceTextureController : public PostUpdateController {
    ZEL_DECLARE_RTTI

public:
    // Parent data, then the water-node link and the node list.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;
    Object* FindByName(const String& name) override;
    // The controller's links, then the water node and the nodes drawn.
    void VisitLinks(LinkVisitor& visitor) override;

    // Draws the nodes into the controlled texture (nothing without a
    // texture or a camera, or while the water node's bound lies outside the
    // camera's view); the camera's matrices, the viewport and the mirror
    // flag are as before afterwards.
    void Render(Renderer& renderer) override;

    // The water node's world height, or 0.
    float GetWaterHeight() const;
    Node* GetWaterNode() const { return waterNode_; }
    void SetWaterNode(Node* node) { waterNode_ = node; }
    NodeList<Node>& GetNodes() { return nodes_; }

protected:
    // Seen in the water, or through it.
    virtual bool IsReflection() const = 0;
    // How far above the water plane the clip plane lies.
    virtual float GetClipOffset() const = 0;

private:
    bool WaterInView(Camera& camera) const;
    void DrawImage(Renderer& renderer, Camera& camera, Texture& target);

    Pointer<Node> waterNode_;
    NodeList<Node> nodes_;
};
ZEL_REGISTER_ABSTRACT_CLASS(RenderScreenspaceTextureController)

}  // namespace zel
