#include "engine/render/Technique.h"

#include "engine/render/Pass.h"

namespace zel {

Technique::~Technique() = default;

Pass* Technique::GetPass(int32_t index) const {
    return index >= 0 && index < passes_.Count() ? passes_[index].Get() : nullptr;
}

int32_t Technique::AddPass(Pass* pass) {
    if (pass == nullptr) return kOk;
    return passes_.Append(Pointer<Pass>(pass));
}

}  // namespace zel
