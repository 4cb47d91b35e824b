#include "engine/render/RendererBinding.h"

#include "engine/render/Renderer.h"

namespace zel {

RendererBinding::RendererBinding() = default;

RendererBinding::~RendererBinding() = default;

Renderer* RendererBinding::GetRenderer() const { return renderer_.Get(); }

void RendererBinding::SetHandle(void* handle) {
    handle_ = handle;
    renderer_ = GetCurrentRenderer();
}

void RendererBinding::Clear() {
    renderer_ = nullptr;
    handle_ = nullptr;
    spare_ = 0;
    dirty_ = true;
}

}  // namespace zel
