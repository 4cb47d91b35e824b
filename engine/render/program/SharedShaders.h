// Shader objects shared by program text. Every pass that runs the same
// static program text binds the same shader object, so the device makes one
// program of each text, not one per drawn node, and the programs change
// between draws only where the text does.
#pragma once

#include <cstdint>

namespace zel {

class PixelShader;
class VertexShader;

class SharedShaders {
public:
    // The one shader for `text`, made on first request. Texts are static
    // and compared by address. Null for a null text or when it cannot be
    // allocated.
    static VertexShader* Vertex(const char* text);
    static PixelShader* Pixel(const char* text);
    // Drops every shared shader (their device programs with them); done
    // when the engine's renderer is released.
    static void Clear();
    static int32_t Count();
};

}  // namespace zel
