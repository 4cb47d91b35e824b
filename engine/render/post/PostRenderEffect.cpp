#include "engine/render/post/PostRenderEffect.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/Pass.h"
#include "engine/render/Renderer.h"
#include "engine/render/Technique.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Triangles.h"

namespace zel {

ZEL_DEFINE_RTTI(PostRenderEffect, SceneNodeEffect)

namespace {

// Film frame around the children: pass 0 sets the band (its recorded state
// keeps it on later draws), pass 1 puts the full viewport back.
class FilmPass : public Pass {
public:
    FilmPass(PostRenderEffect* effect, bool opening) : effect_(effect), opening_(opening) {}

    int32_t Draw(Renderer& renderer) override {
        effect_->BindQuad(renderer);
        if (opening_) {
            if (IsRecording(*this)) effect_->ApplyFilm(renderer);
            else if (Camera* camera = renderer.GetCamera()) camera->UpdateProjection();
        } else if (IsRecording(*this)) {
            effect_->RestoreViewport(renderer);
        }
        renderer.DrawUnindexed(0);
        return opening_ ? 0 : 1;
    }

private:
    PostRenderEffect* effect_;  // not owning: the effect owns the pass
    bool opening_;
};

class FilmTechnique : public Technique {
public:
    explicit FilmTechnique(PostRenderEffect* effect) : Technique(effect), post_(effect) {}

    bool Init(const Renderer&) override {
        return AddPass(new (std::nothrow) FilmPass(post_, true)) == kOk &&
               AddPass(new (std::nothrow) FilmPass(post_, false)) == kOk && GetPassCount() == 2;
    }

private:
    PostRenderEffect* post_;  // not owning: the effect owns the technique
};

// Two triangles covering clip space.
GeometryNode* MakeQuad() {
    Triangles* quad = new (std::nothrow) Triangles(String("Screen Quad"));
    Vector3Buffer* positions = new (std::nothrow) Vector3Buffer(6, nullptr);
    IntBuffer* indices = new (std::nothrow) IntBuffer(6, nullptr);
    if (quad == nullptr || positions == nullptr || indices == nullptr || positions->GetElements() == nullptr ||
        indices->GetElements() == nullptr) {
        delete positions;
        delete indices;
        delete quad;
        return nullptr;
    }
    const Vector3 corners[6] = {{-1, 1, 0}, {1, 1, 0}, {-1, -1, 0}, {-1, -1, 0}, {1, 1, 0}, {1, -1, 0}};
    for (int32_t i = 0; i < 6; ++i) {
        (*positions)[i] = corners[i];
        (*indices)[i] = i;
    }
    quad->SetVertices(positions);
    quad->SetIndices(indices);
    return quad;
}

}  // namespace

bool IsRecording(Pass& pass) { return pass.GetBinding().GetHandle() == nullptr; }

PostRenderEffect::PostRenderEffect() : quad_(MakeQuad()) {
    // A technique that cannot be added (out of memory) is dropped; the effect
    // runs one of the others, or draws nothing.
    (void)AddTechnique(new (std::nothrow) FilmTechnique(this));
}

Texture* PostRenderEffect::MakeTargetTexture(const char* textureName, const char* imageName, int32_t width,
                                             int32_t height) {
    if (width <= 0 || height <= 0) return nullptr;
    Image* image = new (std::nothrow) Image(String(imageName), Image::kFormatRGBA, width, height);
    if (image == nullptr) return nullptr;
    Pointer<Image> held = image;
    return new (std::nothrow) Texture(image, String(textureName));
}

bool PostRenderEffect::HasSize(const Texture* texture, int32_t width, int32_t height) {
    const Image* image = texture != nullptr ? texture->GetImage() : nullptr;
    return image != nullptr && image->GetWidth() == width && image->GetHeight() == height;
}

void PostRenderEffect::ApplyFilm(Renderer& renderer) {
    if (film_) {
        savedWidth_ = renderer.GetViewportWidth();
        savedHeight_ = renderer.GetViewportHeight();
        const float w = static_cast<float>(savedWidth_), h = static_cast<float>(savedHeight_);
        renderer.SetViewport(0.0f, 0.125f * h, w, 0.75f * h);
    }
    renderer.SetFilmFrame(film_);
    if (Camera* camera = renderer.GetCamera()) camera->UpdateProjection();
}

void PostRenderEffect::RestoreViewport(Renderer& renderer) {
    if (film_)
        renderer.SetViewport(0.0f, 0.0f, static_cast<float>(savedWidth_), static_cast<float>(savedHeight_));
}

void PostRenderEffect::BeginCapture(Renderer& renderer) {
    ApplyFilm(renderer);
    const int32_t w = renderer.GetViewportWidth(), h = renderer.GetViewportHeight();
    if (!HasSize(screenTexture_, w, h)) screenTexture_ = MakeTargetTexture("Screen Texture", "Screen Image", w, h);
    // Without a texture (an empty viewport) nothing is pushed: a null
    // target would pop someone else's.
    if (screenTexture_ != nullptr) renderer.SetRenderTarget(screenTexture_);
    renderer.SetCurrentGeometry(quad_);
}

void PostRenderEffect::BindQuad(Renderer& renderer) {
    if (quad_ != nullptr) renderer.SetPositionBuffer(quad_->GetVertices());
    renderer.SetCurrentGeometry(quad_);
    renderer.SetTexture(screenTexture_, 0);
}

void PostRenderEffect::EndCapture(Renderer& renderer) {
    renderer.SetRenderTarget(nullptr);
    ApplyFilm(renderer);
    BindQuad(renderer);
}

int32_t PostRenderEffect::Save(Stream& stream) {
    if (SceneNodeEffect::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteBool(film_) != 0) return FailWithNameId("Невозможно сохранить флаг фильма. Имя[%s] ID[%d]");
    return kOk;
}

int32_t PostRenderEffect::Load(Stream& stream) {
    if (SceneNodeEffect::Load(stream) != 0) return LoadParentFailed();
    if (stream.ReadBool(film_) != 0) return FailWithIdName("Невозможно загрузить флаг фильма. ID[%d] Имя[%s]");
    return kOk;
}

}  // namespace zel
