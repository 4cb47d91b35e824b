#include "engine/render/material/ColorEffect.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/material/FlatFixedPass.h"
#include "engine/render/material/FlatShaderPass.h"
#include "engine/render/material/MaterialTechnique.h"

namespace zel {

ZEL_DEFINE_RTTI(ColorEffect, GeometryNodeEffect)

ColorEffect::ColorEffect() {
    // A technique that cannot be added (out of memory) is dropped; the effect
    // runs one of the others, or draws nothing.
    (void)AddTechnique(new (std::nothrow) MaterialTechnique(this, &MaterialTechnique::Always,
                                                            &FlatFixedPass::Make<0>));
    (void)AddTechnique(new (std::nothrow) MaterialTechnique(this, &MaterialTechnique::Shaders,
                                                            &FlatShaderPass::Make<&kColorPrograms, 0>));
}

void ColorEffect::GetSlots(MaterialSlots& slots) const { slots.color = &color_; }

int32_t ColorEffect::Save(Stream& stream) {
    if (GeometryNodeEffect::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteColor(color_) != 0) return FailWithNameId("Невозможно сохранить цвет. Имя[%s] ID[%d]");
    return kOk;
}

int32_t ColorEffect::Load(Stream& stream) {
    if (GeometryNodeEffect::Load(stream) != 0) return LoadParentFailed();
    if (stream.ReadColor(color_) != 0) return FailWithIdName("Невозможно загрузить цвет. ID[%d] Имя[%s]");
    return kOk;
}

}  // namespace zel
