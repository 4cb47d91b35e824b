// Fills its texture, once, with a Fresnel table: column j of every row holds
// the reflectance at t = 1 − j / width, R0 + (1 − R0) t⁵, with R0 from the
// refractive indices of the two media, in every channel.
#pragma once

#include "engine/core/Controller.h"

namespace zel {

class FresnelTextureController : public Controller {
    ZEL_DECLARE_RTTI

public:
    // Parent data, then index A and index B.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // Fills the owner texture's image on the first call, then marks itself
    // done.
    void Update(double dt) override;
    bool IsDone() const { return done_; }

    // The byte of column `column` in a table `width` wide.
    static uint8_t Value(float indexA, float indexB, int32_t column, int32_t width);

    float indexA = 1.0f;
    float indexB = 1.33f;

private:
    bool done_ = false;
};
ZEL_REGISTER_CLASS(FresnelTextureController)

}  // namespace zel
