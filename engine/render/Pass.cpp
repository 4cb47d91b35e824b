#include "engine/render/Pass.h"

#include <new>

#include "engine/core/Log.h"
#include "engine/render/Renderer.h"

namespace zel {

ZEL_DEFINE_RTTI(Pass, Object)

Pass::Pass() : renderStateBlock_(new (std::nothrow) RenderStateBlock()) {
    if (renderStateBlock_ == nullptr)
        LogError("Недостаточно памяти для создания блока состояний рендеринга. ID[%d]", GetId());
}

Pass::~Pass() {
    // A pass that bound no streams has a recording but no declaration of
    // its own: its state block's binding names the renderer then.
    Renderer* renderer = BoundRenderer(binding_);
    if (renderer == nullptr && renderStateBlock_ != nullptr) renderer = BoundRenderer(renderStateBlock_->GetBinding());
    if (renderer != nullptr) renderer->ReleasePass(this);
}

void Pass::Refresh() { binding_.SetDirty(true); }

}  // namespace zel
