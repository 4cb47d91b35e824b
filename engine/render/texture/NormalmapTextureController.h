// Turns the single-channel height map of its texture into a normal map, once:
// each pixel's normal comes from the height differences to its right and
// lower neighbours (wrapping at the edges), scaled by the bump coefficient.
// With the alpha flag the height stays in the alpha channel. Any other
// target is left alone.
#pragma once

#include "engine/core/Controller.h"

namespace zel {

class Image;

class NormalmapTextureController : public Controller {
    ZEL_DECLARE_RTTI

public:
    // Parent data, then the bump coefficient and the alpha flag.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // Converts the owner's image on the first call, then marks itself done.
    void Update(double dt) override;
    bool IsDone() const { return done_; }

    // Fills `out` (3 bytes per pixel, 4 with `alpha`) from the heights of an
    // A8 image of width × height pixels.
    static void BuildNormals(const uint8_t* heights, int32_t width, int32_t height, float bump, bool alpha,
                             uint8_t* out);

    float bumpCoefficient = 1.0f;
    bool alpha = false;

private:
    bool done_ = false;
};
ZEL_REGISTER_CLASS(NormalmapTextureController)

}  // namespace zel
