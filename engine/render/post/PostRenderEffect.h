// An effect on a scene node that works on what the node's children draw.
// Here: the film frame, which restricts the children's drawing to a band of
// 3/4 of the viewport height. Derived effects capture the children into a
// screen-sized texture and put it back through a full-screen quad.
#pragma once

#include "engine/core/Pointer.h"
#include "engine/render/SceneNodeEffect.h"
#include "engine/render/texture/Texture.h"
#include "engine/scene/GeometryNode.h"

namespace zel {

class PostRenderEffect : public SceneNodeEffect {
    ZEL_DECLARE_RTTI

public:
    PostRenderEffect();

    // Parent data, then the film flag.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // Film frame; the screen texture sized to the (banded) viewport; pushes
    // it as render target and makes the quad the current geometry.
    void BeginCapture(Renderer& renderer);
    // With the film flag: saves the viewport size and sets the band; sets or
    // clears the renderer's film-frame flag. The camera's projection is
    // recomputed either way.
    void ApplyFilm(Renderer& renderer);
    // With the film flag: the saved full viewport again.
    void RestoreViewport(Renderer& renderer);
    // The quad's positions, the quad as current geometry, the screen
    // texture on stage 0.
    void BindQuad(Renderer& renderer);
    // Pops the capture target, then ApplyFilm and BindQuad.
    void EndCapture(Renderer& renderer);

    bool GetFilm() const { return film_; }
    void SetFilm(bool on) { film_ = on; }
    Texture* GetScreenTexture() const { return screenTexture_; }
    GeometryNode* GetQuad() const { return quad_; }

protected:
    // A texture named `textureName` over a new RGBA image `imageName`; null
    // when allocation fails.
    static Texture* MakeTargetTexture(const char* textureName, const char* imageName, int32_t width, int32_t height);
    // The texture's image is width × height.
    static bool HasSize(const Texture* texture, int32_t width, int32_t height);

private:
    Pointer<GeometryNode> quad_;
    Pointer<Texture> screenTexture_;
    bool film_ = false;
    int32_t savedWidth_ = 0;
    int32_t savedHeight_ = 0;
};
ZEL_REGISTER_CLASS(PostRenderEffect)

// True while the pass is being recorded (its first draw, or the first after
// it was refreshed): the pass has no recorded layout yet.
bool IsRecording(Pass& pass);

}  // namespace zel
