// What the application draws over the screen: a unit quad, its texture
// effect and a camera whose projection maps the unit square onto the
// viewport (x and y from 0 at the left and bottom edges to 1 at the right
// and top ones); the loading-screen pictures and the clock's glyphs. The
// pictures come from the "CustomData" archive.
#pragma once

#include <cstdint>

#include "engine/core/Pointer.h"
#include "engine/math/Color.h"

namespace zel {

class Camera;
class GeometryNodeEffect;
class Renderer;
class String;
class Texture;
class TextureEffect;
class Triangles;

class Overlay {
public:
    static constexpr int32_t kLoaderCount = 5;
    static constexpr int32_t kGlyphCount = 15;

    Overlay();
    ~Overlay();
    Overlay(const Overlay&) = delete;
    Overlay& operator=(const Overlay&) = delete;

    // Creates the quad, effect and camera and loads the pictures (a missing
    // picture leaves a null texture, logged by the loaders). kOk, or
    // kOutOfMemory.
    [[nodiscard]] int32_t Create();
    void Release();

    // One frame: the loading picture over the screen and the four corner
    // pictures at their pixel size; then the loading pictures are dropped.
    // kFailed when the frame cannot begin. `beforePresent` runs after the
    // picture is drawn and before it is presented.
    int32_t DrawLoadingScreen(Renderer& renderer, void (*beforePresent)(void*), void* context);

    // Makes the overlay camera current (keeping the previous one) and back.
    void Begin(Renderer& renderer);
    void End(Renderer& renderer);

    // Draws the quad with `effect` (null: the overlay's texture effect) over
    // the rectangle (screen fractions) and flushes it.
    void DrawQuad(Renderer& renderer, GeometryNodeEffect* effect, float x, float y, float width, float height);

    // Text of digits, 'a', 'p', 'm', '.' and ':'; a space advances half a
    // glyph; any other character is skipped like a space.
    void DrawText(Renderer& renderer, const char* text, float x, float y, float glyphWidth, float glyphHeight);

    void SetColor(const ColorRGBA& color);
    void SetTexture(Texture* texture);
    // The glyph of a character ("0123456789apm.:"), or −1.
    static int32_t GlyphIndex(char c);
    Texture* GetGlyph(int32_t index) const { return glyphs_[index]; }
    Texture* GetLoaderTexture(int32_t index) const { return loader_[index]; }

private:
    Pointer<Triangles> quad_;
    Pointer<TextureEffect> effect_;
    Pointer<Camera> camera_;
    Pointer<Camera> previousCamera_;
    Pointer<Texture> loader_[kLoaderCount];
    Pointer<Texture> glyphs_[kGlyphCount];
};

// A texture of the picture `fileName` found in the mounted archives; null
// when the file is missing or cannot be read.
Pointer<Texture> LoadArchiveTexture(const char* fileName);

}  // namespace zel
