#include "app/Overlay.h"

#include <cfloat>
#include <cstring>
#include <new>

#include "engine/core/Buffer.h"
#include "engine/core/Log.h"
#include "engine/render/Renderer.h"
#include "engine/render/material/TextureEffect.h"
#include "engine/render/texture/Texture.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/Image.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "engine/scene/Triangles.h"

namespace zel {

namespace {

// Background first, then the corners: left bottom, right bottom, left top,
// right top.
const char* const kLoaderFiles[Overlay::kLoaderCount] = {"loader.jpg", "4loader_ld.tga", "4loader_rd.tga",
                                                          "4loader_lu.tga", "4loader_ru.tga"};
const char* const kGlyphFiles[Overlay::kGlyphCount] = {
    "digit_0.tga", "digit_1.tga", "digit_2.tga", "digit_3.tga", "digit_4.tga",  "digit_5.tga",   "digit_6.tga",
    "digit_7.tga", "digit_8.tga", "digit_9.tga", "digit_a.tga", "digit_p.tga", "digit_m.tga", "digit_dot.tga",
    "digit_ddot.tga"};
const char kGlyphChars[Overlay::kGlyphCount + 1] = "0123456789apm.:";

// The unit square maps to the whole viewport.
constexpr Matrix4 kOverlayProjection{2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1, 0, -1, -1, 0, 1};

// Two triangles over the unit square; the picture's top row at the top.
Pointer<Triangles> MakeQuad() {
    static const Vector3 kPositions[6] = {{0, 0, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    static const Vector2 kTexCoords[6] = {{0, 1}, {1, 0}, {1, 1}, {0, 1}, {0, 0}, {1, 0}};
    Pointer<Triangles> quad = new (std::nothrow) Triangles();
    Pointer<Vector3Buffer> positions = new (std::nothrow) Vector3Buffer(6, nullptr);
    Pointer<Vector2Buffer> texCoords = new (std::nothrow) Vector2Buffer(6, nullptr);
    Pointer<IntBuffer> indices = new (std::nothrow) IntBuffer(6, nullptr);
    if (quad == nullptr || positions == nullptr || texCoords == nullptr || indices == nullptr ||
        positions->GetData() == nullptr || texCoords->GetData() == nullptr || indices->GetData() == nullptr)
        return nullptr;
    for (int32_t i = 0; i < 6; ++i) {
        (*positions)[i] = kPositions[i];
        (*texCoords)[i] = kTexCoords[i];
        (*indices)[i] = i;
    }
    quad->SetVertices(positions);
    quad->SetTexCoords(0, texCoords);
    quad->SetIndices(indices);
    quad->Update(0.0, true);
    return quad;
}

}  // namespace

Pointer<Texture> LoadArchiveTexture(const char* fileName) {
    File* file = FindMountedFile(String(fileName));
    if (file == nullptr) {
        LogWarning("Файл [%s] не найден.", fileName);
        return nullptr;
    }
    Pointer<Image> image = new (std::nothrow) Image(file, String(fileName));
    if (image == nullptr || image->GetData() == nullptr) return nullptr;
    return new (std::nothrow) Texture(image, String(fileName));
}

Overlay::Overlay() = default;
Overlay::~Overlay() = default;

int32_t Overlay::Create() {
    quad_ = MakeQuad();
    effect_ = new (std::nothrow) TextureEffect();
    camera_ = new (std::nothrow) Camera();
    if (quad_ == nullptr || effect_ == nullptr || camera_ == nullptr) return kOutOfMemory;
    quad_->SetEffect(effect_);
    effect_->blendEnable = true;
    camera_->SetMatrices(Matrix4::Identity(), kOverlayProjection);
    for (int32_t i = 0; i < kLoaderCount; ++i) {
        loader_[i] = LoadArchiveTexture(kLoaderFiles[i]);
        if (i == 0) LogInfo("LoadingTexture Loaded");
    }
    for (int32_t i = 0; i < kGlyphCount; ++i) glyphs_[i] = LoadArchiveTexture(kGlyphFiles[i]);
    return kOk;
}

void Overlay::Release() {
    quad_ = nullptr;
    effect_ = nullptr;
    camera_ = nullptr;
    previousCamera_ = nullptr;
    for (Pointer<Texture>& texture : loader_) texture = nullptr;
    for (Pointer<Texture>& texture : glyphs_) texture = nullptr;
}

int32_t Overlay::DrawLoadingScreen(Renderer& renderer, void (*beforePresent)(void*), void* context) {
    renderer.SetCamera(camera_);
    renderer.Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0, 0, 0, 1}, 1.0f, 0);
    if (renderer.BeginFrame() != kOk) {
        LogError("Неудачно начало рендеринга.");
        return kFailed;
    }
    camera_->SetMatrices(Matrix4::Identity(), kOverlayProjection);
    SetColor(ColorRGBA{1, 1, 1, 1});
    SetTexture(loader_[0]);
    DrawQuad(renderer, nullptr, 0.0f, 0.0f, 1.0f, 1.0f);
    const float screenWidth = static_cast<float>(renderer.GetViewportWidth());
    const float screenHeight = static_cast<float>(renderer.GetViewportHeight());
    for (int32_t i = 1; i < kLoaderCount; ++i) {
        Image* image = loader_[i] != nullptr ? loader_[i]->GetImage() : nullptr;
        if (image == nullptr || screenWidth <= 0.0f || screenHeight <= 0.0f) continue;
        const float w = image->GetWidth() / screenWidth;
        const float h = image->GetHeight() / screenHeight;
        const bool right = i == 2 || i == 4;
        const bool top = i >= 3;
        SetTexture(loader_[i]);
        DrawQuad(renderer, nullptr, right ? 1.0f - w : 0.0f, top ? 1.0f - h : 0.0f, w, h);
    }
    if (beforePresent != nullptr) beforePresent(context);
    renderer.EndFrame();
    for (Pointer<Texture>& texture : loader_) texture = nullptr;
    SetTexture(nullptr);
    renderer.SetCamera(nullptr);
    return kOk;
}

void Overlay::Begin(Renderer& renderer) {
    renderer.FlushDeferred();
    previousCamera_ = renderer.GetCamera();
    renderer.SetCamera(camera_);
    camera_->SetMatrices(Matrix4::Identity(), kOverlayProjection);
}

void Overlay::End(Renderer& renderer) {
    renderer.SetCamera(previousCamera_);
    previousCamera_ = nullptr;
}

void Overlay::DrawQuad(Renderer& renderer, GeometryNodeEffect* effect, float x, float y, float width,
                       float height) {
    if (quad_ == nullptr) return;
    Transform world = quad_->GetWorld();
    world.scale = Vector3{width, height, 1.0f};
    world.translation = Vector3{x, y, 0.0f};
    world.isIdentity = false;
    quad_->SetWorld(world);
    if (effect != nullptr) quad_->SetEffect(effect);
    // Drawn without the culling test: the quad always covers its rectangle.
    quad_->Draw(renderer);
    renderer.FlushDeferred();
    if (effect != nullptr) quad_->SetEffect(effect_);
}

void Overlay::DrawText(Renderer& renderer, const char* text, float x, float y, float glyphWidth,
                       float glyphHeight) {
    for (const char* c = text; *c != '\0'; ++c) {
        const int32_t glyph = GlyphIndex(*c);
        if (glyph < 0) {
            x += glyphWidth * 0.5f;
            continue;
        }
        // A glyph whose picture is missing draws as a plain quad.
        SetTexture(glyphs_[glyph]);
        DrawQuad(renderer, nullptr, x, y, glyphWidth, glyphHeight);
        x += glyphWidth;
    }
}

void Overlay::SetColor(const ColorRGBA& color) {
    if (effect_ == nullptr || effect_->GetColor() == color) return;
    effect_->SetColor(color);
    effect_->RefreshPasses();
}

void Overlay::SetTexture(Texture* texture) {
    if (effect_ == nullptr || effect_->GetTexture() == texture) return;
    effect_->SetTexture(texture);
    effect_->RefreshPasses();
}

int32_t Overlay::GlyphIndex(char c) {
    const char* found = c != '\0' ? std::strchr(kGlyphChars, c) : nullptr;
    return found != nullptr ? static_cast<int32_t>(found - kGlyphChars) : -1;
}

}  // namespace zel
