#include "engine/render/program/BloomPrograms.h"

#include "engine/render/program/MaterialProgramTables.h"

namespace zel {

// The quad position (z = 0, w = 1) and r1.xy = uv.
#define ZEL_BLOOM_QUAD                                              \
    "def c1, 0.5, -0.5, 0, 1\n"                                     \
    "dcl_position v0\n"                                             \
    "mov r0, c1.zzzw\n"                                             \
    "mov r0.xy, v0\n"                                               \
    "mov oPos, r0\n"                                                \
    "; uv = (x, y) * (0.5, -0.5) + 0.5\n"                           \
    "mad r1.xy, v0, c1, c1.x\n"

// The five taps t0-t4 of image s0 sampled into r0-r4.
#define ZEL_BLOOM_FIVE_TAPS                                         \
    "dcl t0.xy\n"                                                   \
    "dcl t1.xy\n"                                                   \
    "dcl t2.xy\n"                                                   \
    "dcl t3.xy\n"                                                   \
    "dcl t4.xy\n"                                                   \
    "dcl_2d s0\n"                                                   \
    "texld r0, t0, s0\n"                                            \
    "texld r1, t1, s0\n"                                            \
    "texld r2, t2, s0\n"                                            \
    "texld r3, t3, s0\n"                                            \
    "texld r4, t4, s0\n"

const char kBloomDownsampleVs[] =
    "vs_2_0\n"
    "; in: v0 quad position; c0 = (1 / screen width, 1 / screen height)\n"
    "; out: position, t0 uv, t1-t4 one texel right, left, down and up\n"
    ZEL_BLOOM_QUAD
    "mov oT0.xy, r1\n"
    "mul r2.xy, c0, c1.wzzz\n"
    "add oT1.xy, r1, r2\n"
    "add oT2.xy, r1, -r2\n"
    "mul r3.xy, c0, c1.zwww\n"
    "add oT3.xy, r1, r3\n"
    "add oT4.xy, r1, -r3\n";

const char kBloomDownsamplePs[] =
    "ps_2_0\n"
    "; in: t0-t4 the five taps; c2.x luminance cap; s0 screen\n"
    "; out: the taps' mean, alpha = min(0.299 r + 0.587 g + 0.184 b, cap)\n"
    "def c0, 0.2, 0, 0, 0\n"
    "def c1, 0.299, 0.587, 0.184, 0\n"
    ZEL_BLOOM_FIVE_TAPS
    "add r0, r0, r1\n"
    "add r0, r0, r2\n"
    "add r0, r0, r3\n"
    "add r0, r0, r4\n"
    "mul r0, r0, c0.x\n"
    "dp3 r1.x, r0, c1\n"
    "min r0.w, r1.x, c2.x\n"
    "mov oC0, r0\n";

const char kBloomBlurVs[] =
    "vs_2_0\n"
    "; in: v0 quad position; c0 the tap step\n"
    "; out: position, t0-t4 at uv - 2 step, uv - step, uv, uv + step, uv + 2 step\n"
    ZEL_BLOOM_QUAD
    "add r2.xy, c0, c0\n"
    "add oT0.xy, r1, -r2\n"
    "add oT1.xy, r1, -c0\n"
    "mov oT2.xy, r1\n"
    "add oT3.xy, r1, c0\n"
    "add oT4.xy, r1, r2\n";

const char kBloomBlurPs[] =
    "ps_2_0\n"
    "; in: t0-t4 the five taps; s0 the image to blur\n"
    "; out: the taps weighted 2/17, 4/17, 5/17, 4/17, 2/17\n"
    "def c0, 0.117647, 0.235294, 0.294118, 0\n"
    ZEL_BLOOM_FIVE_TAPS
    "mul r0, r0, c0.x\n"
    "mad r0, r1, c0.y, r0\n"
    "mad r0, r2, c0.z, r0\n"
    "mad r0, r3, c0.y, r0\n"
    "mad r0, r4, c0.x, r0\n"
    "mov oC0, r0\n";

const char kBloomCompositeVs[] =
    "vs_2_0\n"
    "; in: v0 quad position\n"
    "; out: position, t0 uv\n"
    ZEL_BLOOM_QUAD
    "mov oT0.xy, r1\n";

const char kBloomCompositePs[] =
    "ps_2_0\n"
    "; in: t0 uv; c0.x scene weight, c1.x bloom weight, c2.x bloom alpha weight,\n"
    "; c3 tint; s0 screen, s1 bloom\n"
    "; out: screen * c0.x + (bloom * c1.x + bloom alpha * c2.x) * c3\n"
    "dcl t0.xy\n"
    "dcl_2d s0\n"
    "dcl_2d s1\n"
    "texld r0, t0, s0\n"
    "texld r1, t0, s1\n"
    "mul r2, r1, c1.x\n"
    "mad r2, r1.w, c2.x, r2\n"
    "mul r2, r2, c3\n"
    "mad r0, r0, c0.x, r2\n"
    "mov oC0, r0\n";

#undef ZEL_BLOOM_QUAD
#undef ZEL_BLOOM_FIVE_TAPS

const NamedMaterialProgram kBloomPrograms[kBloomProgramCount] = {
    {"bloom_downsample.vsh", kBloomDownsampleVs}, {"bloom_downsample.psh", kBloomDownsamplePs},
    {"bloom_blur.vsh", kBloomBlurVs},             {"bloom_blur.psh", kBloomBlurPs},
    {"bloom_composite.vsh", kBloomCompositeVs},   {"bloom_composite.psh", kBloomCompositePs},
};

}  // namespace zel
