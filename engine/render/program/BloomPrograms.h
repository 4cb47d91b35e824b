// Programs of the bloom's screen passes (vs_2_0 / ps_2_0). Every vertex
// program takes the full-screen quad's clip position through with z = 0 and
// w = 1 and computes uv = ((1 + x) / 2, (1 − y) / 2).
#pragma once

namespace zel {

// Downsample: vertex c0 = (1 / screen width, 1 / screen height); pixel
// c2.x = luminance cap.
extern const char kBloomDownsampleVs[];
extern const char kBloomDownsamplePs[];
// Blur: vertex c0 = the tap step in texture units along the blur direction.
extern const char kBloomBlurVs[];
extern const char kBloomBlurPs[];
// Composite: pixel c0.x scene weight, c1.x bloom weight, c2.x bloom alpha
// weight, c3 bloom tint; s0 the captured screen, s1 the bloom.
extern const char kBloomCompositeVs[];
extern const char kBloomCompositePs[];

}  // namespace zel
