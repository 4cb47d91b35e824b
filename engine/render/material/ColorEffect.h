// A flat colour: the root of the material effects. Its shader technique
// (any shader level) writes the colour as vertex colour; its fixed-function
// technique always runs, filling a colour buffer of the node with it. Each
// material class adds its techniques in front of its parent's, so a device
// that cannot run them falls back to the parent's look.
#pragma once

#include "engine/render/GeometryNodeEffect.h"
#include "engine/render/material/MaterialSlots.h"

namespace zel {

class ColorEffect : public GeometryNodeEffect {
    ZEL_DECLARE_RTTI

public:
    ColorEffect();

    // Parent data, then the colour.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    const ColorRGBA& GetColor() const { return color_; }
    void SetColor(const ColorRGBA& color) { color_ = color; }

    // What the shared passes read: each class adds its own slots to its
    // parent's.
    virtual void GetSlots(MaterialSlots& slots) const;

private:
    ColorRGBA color_{1.0f, 1.0f, 1.0f, 1.0f};
};
ZEL_REGISTER_CLASS(ColorEffect)

}  // namespace zel
