#include "engine/render/Effect.h"

#include "engine/render/Pass.h"
#include "engine/render/Technique.h"

namespace zel {

ZEL_DEFINE_RTTI(Effect, Object)

Effect::Effect() = default;

Effect::~Effect() {
    for (Technique* technique : techniques_) delete technique;
}

void Effect::UpdateEffect(double time) { UpdateControllers(time); }

void Effect::Enable() { enabled_ = 1; }

void Effect::Disable() { enabled_ = 0; }

int32_t Effect::AddTechnique(Technique* technique) {
    if (technique == nullptr) return kOk;
    if (techniques_.Append(technique) != kOk) {
        delete technique;
        return kOutOfMemory;
    }
    return kOk;
}

Technique* Effect::GetTechnique(int32_t index) const {
    const int32_t count = techniques_.Count();
    return index >= 0 && index < count ? techniques_[count - 1 - index] : nullptr;
}

int32_t Effect::GetPassCount(const Renderer& renderer) {
    if (active_ == nullptr) {
        for (int32_t i = 0; i < GetTechniqueCount() && active_ == nullptr; ++i) {
            Technique* technique = GetTechnique(i);
            if (technique->Init(renderer)) active_ = technique;
        }
        if (active_ == nullptr) return 0;
        RefreshPasses();
    }
    return active_->GetPassCount();
}

Pass* Effect::GetPass(int32_t index) const { return active_ != nullptr ? active_->GetPass(index) : nullptr; }

void Effect::RefreshPasses() {
    if (active_ == nullptr) return;
    for (int32_t i = 0; i < active_->GetPassCount(); ++i) active_->GetPass(i)->Refresh();
}

}  // namespace zel
