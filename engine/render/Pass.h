// One drawing pass of a technique: its render state block and the binding
// of streams, textures, shaders and constants for the node being drawn. The
// binding holds the pass's vertex declaration.
#pragma once

#include "engine/core/ClassRegistration.h"
#include "engine/core/Object.h"
#include "engine/core/Pointer.h"
#include "engine/render/RenderStateBlock.h"
#include "engine/core/RendererBinding.h"

namespace zel {

class Renderer;

class Pass : public Object {
    ZEL_DECLARE_RTTI

public:
    // With a fresh render state block (none, logged, when it cannot be
    // allocated).
    Pass();
    // Asks the renderer holding the binding to release the pass.
    ~Pass() override;

    // Binds what the current geometry node needs. 0: the caller draws;
    // nonzero: skip the draw.
    virtual int32_t Draw(Renderer& renderer) = 0;
    // Marks the binding dirty, so the next BeginPass records the pass anew.
    virtual void Refresh();

    RenderStateBlock* GetRenderStateBlock() const { return renderStateBlock_; }
    RendererBinding& GetBinding() { return binding_; }

private:
    RendererBinding binding_;
    Pointer<RenderStateBlock> renderStateBlock_;
};
ZEL_REGISTER_ABSTRACT_CLASS(Pass)

}  // namespace zel
