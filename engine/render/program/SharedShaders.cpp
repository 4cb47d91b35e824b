#include "engine/render/program/SharedShaders.h"

#include <new>

#include "engine/core/GrowableArray.h"
#include "engine/core/Pointer.h"
#include "engine/render/shader/PixelShader.h"
#include "engine/render/shader/VertexShader.h"

namespace zel {

namespace {

struct Entry {
    const char* text;
    Pointer<Shader> shader;
};

GrowableArray<Entry>& Entries() {
    static GrowableArray<Entry> entries(32, 32);
    return entries;
}

template <class S>
S* Find(const char* text) {
    if (text == nullptr) return nullptr;
    GrowableArray<Entry>& entries = Entries();
    for (const Entry& entry : entries)
        if (entry.text == text && entry.shader->IsDerivedFrom(S::TYPE)) return static_cast<S*>(entry.shader.Get());
    S* shader = new (std::nothrow) S(String(text));
    if (shader == nullptr) return nullptr;
    entries.Append(Entry{text, shader});
    return shader;
}

}  // namespace

VertexShader* SharedShaders::Vertex(const char* text) { return Find<VertexShader>(text); }
PixelShader* SharedShaders::Pixel(const char* text) { return Find<PixelShader>(text); }
void SharedShaders::Clear() { Entries().Clear(); }
int32_t SharedShaders::Count() { return Entries().Count(); }

}  // namespace zel
