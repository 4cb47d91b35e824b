#include "engine/render/sprite/SpriteEffect.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/GeometryNodeEffectPass.h"
#include "engine/render/Renderer.h"
#include "engine/render/Technique.h"
#include "engine/scene/Camera.h"
#include "engine/scene/GeometryNode.h"

namespace zel {

ZEL_DEFINE_RTTI(SpriteEffect, GeometryNodeEffect)

namespace {

// Point sprites on; blended sprites write no depth (the base pass's rule),
// so that sprites behind a nearer one still show through it.
class SpritePass : public GeometryNodeEffectPass {
public:
    explicit SpritePass(SpriteEffect* effect) : GeometryNodeEffectPass(effect), sprite_(effect) {}

    void Refresh() override {
        GeometryNodeEffectPass::Refresh();
        if (RenderStateBlock* block = GetRenderStateBlock()) block->pointSprites = true;
    }

    // Fixed function: no programs; the node's positions, point sizes,
    // colours and texture coordinates of set 0 and the texture; the
    // camera's projection and view with the identity as world, because the
    // positions are in world space. Skips the draw without a node or a
    // camera.
    int32_t Draw(Renderer& renderer) override {
        GeometryNode* node = sprite_->GetOwnerNode();
        Camera* camera = renderer.GetCamera();
        if (node == nullptr || camera == nullptr) return 1;
        renderer.SetVertexShader(nullptr);
        renderer.SetPixelShader(nullptr);
        // A missing stream (point sizes of the six-vertex layout) is not
        // bound at all.
        if (node->GetVertices() != nullptr) renderer.SetPositionBuffer(node->GetVertices());
        if (node->GetPointSizes() != nullptr) renderer.SetPointSizeBuffer(node->GetPointSizes());
        if (node->GetColors() != nullptr) renderer.SetColorBuffer(node->GetColors());
        if (node->GetTexCoords(0) != nullptr) renderer.SetTexCoordBuffer(node->GetTexCoords(0), 0);
        renderer.SetTexture(sprite_->GetTexture(), 0);
        renderer.SetProjectionMatrix(camera->GetProjection());
        renderer.SetViewMatrix(camera->GetView());
        renderer.SetWorldMatrix(Matrix4::Identity());
        return 0;
    }

private:
    SpriteEffect* sprite_;  // not owning: the effect owns the pass
};

class SpriteTechnique : public Technique {
public:
    explicit SpriteTechnique(SpriteEffect* effect) : Technique(effect), sprite_(effect) {}

    bool Init(const Renderer& renderer) override {
        if (renderer.GetCapabilities().simultaneousTextures < 1) return false;
        return AddPass(new (std::nothrow) SpritePass(sprite_)) == kOk && GetPassCount() == 1;
    }

private:
    SpriteEffect* sprite_;  // not owning: the effect owns the technique
};

}  // namespace

SpriteEffect::SpriteEffect() {
    // A technique that cannot be added (out of memory) is dropped; the effect
    // runs one of the others, or draws nothing.
    (void)AddTechnique(new (std::nothrow) SpriteTechnique(this));
}

Object* SpriteEffect::FindByName(const String& name) {
    if (Object* found = GeometryNodeEffect::FindByName(name)) return found;
    return FindIn(texture_, name);
}

void SpriteEffect::CollectByType(const Rtti& type, ObjectArray& objects) {
    GeometryNodeEffect::CollectByType(type, objects);
    CollectIn(texture_, type, objects);
}

void SpriteEffect::VisitLinks(LinkVisitor& visitor) {
    GeometryNodeEffect::VisitLinks(visitor);
    VisitLink(texture_, visitor);
}

int32_t SpriteEffect::Save(Stream& stream) {
    if (GeometryNodeEffect::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteLink(texture_) != 0) return FailWithNameId("Невозможно сохранить текстуру. Имя[%s] ID[%d]");
    return kOk;
}

int32_t SpriteEffect::Load(Stream& stream) {
    if (GeometryNodeEffect::Load(stream) != 0) return LoadParentFailed();
    Pointer<Texture> texture;
    if (stream.ReadLinkAs(texture) != 0) return FailWithIdName("Невозможно загрузить текстуру. ID[%d] Имя[%s]");
    texture_ = texture;
    return kOk;
}

}  // namespace zel
