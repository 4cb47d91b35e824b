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
    if (Renderer* renderer = BoundRenderer(binding_)) renderer->ReleasePass(this);
}

void Pass::Refresh() { binding_.SetDirty(true); }

}  // namespace zel
