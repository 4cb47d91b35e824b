// A recording renderer made current for the scope of a test, so that code
// asking for the current renderer's camera finds one.
#pragma once

#include "engine/core/Pointer.h"
#include "engine/render/Renderer.h"
#include "support/RecordingRenderer.h"

namespace zel::test {

class CurrentRenderer {
public:
    CurrentRenderer() : renderer_(new RecordingRenderer()) { SetCurrentRenderer(renderer_); }
    ~CurrentRenderer() { SetCurrentRenderer(nullptr); }

    CurrentRenderer(const CurrentRenderer&) = delete;
    CurrentRenderer& operator=(const CurrentRenderer&) = delete;

    RecordingRenderer* operator->() const { return renderer_; }

private:
    Pointer<RecordingRenderer> renderer_;
};

}  // namespace zel::test
