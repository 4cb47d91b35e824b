#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <string>
#include <vector>

#include "engine/core/GrowableArray.h"
#include "engine/render/shader/ShaderAssembler.h"
#include "tests/support/TextFile.h"

namespace zel {
namespace {

using Tokens = std::vector<uint32_t>;

struct Assembled {
    int32_t result;
    Tokens tokens;
    ShaderAssemblyError error;
};

Assembled Assemble(const std::string& text) {
    Assembled out;
    GrowableArray<uint32_t> tokens;
    out.result = ShaderAssembler::Assemble(text.data(), int32_t(text.size()), tokens, out.error);
    out.tokens.assign(tokens.begin(), tokens.end());
    return out;
}

// Valid programs and their tokens (those Wine's D3DXAssembleShader gives,
// checked there, except where a case says otherwise).
struct ValidCase {
    const char* what;
    const char* text;
    Tokens tokens;
};

const ValidCase kValid[] = {
    // Version tokens.
    {"vs_1_1", "vs_1_1\n", {0xFFFE0101, 0xFFFF}},
    {"vs_2_0", "vs_2_0", {0xFFFE0200, 0xFFFF}},
    {"ps_1_2", "ps_1_2\n", {0xFFFF0102, 0xFFFF}},
    {"dotted spelling", "ps.1.1\n", {0xFFFF0101, 0xFFFF}},
    {"dotted ps.1.4", "\n\nps.1.4\ntexld r0, t0\n", {0xFFFF0104, 0x42, 0x800F0000, 0xB0E40000, 0xFFFF}},
    {"ps_2_0", "ps_2_0\n", {0xFFFF0200, 0xFFFF}},
    // Instruction lengths: none in 1.x, the parameter count in 2.0.
    {"1.x has no length", "ps_1_1\ntex t0\nmul r0, t0, v0\n",
     {0xFFFF0101, 0x42, 0xB00F0000, 0x05, 0x800F0000, 0xB0E40000, 0x90E40000, 0xFFFF}},
    {"2.0 counts parameters", "ps_2_0\nmov oC0, c0\n", {0xFFFF0200, 0x02000001, 0x800F0800, 0xA0E40000, 0xFFFF}},
    // Masks and swizzles.
    {"mask and short swizzle", "vs_1_1\nsub r5.xw, v1.yzx, c21.x\n",
     {0xFFFE0101, 0x03, 0x80090005, 0x90090001, 0xA0000015, 0xFFFF}},
    {"colour names", "ps_1_1\nmov r0.rgb, t0.bgra\n", {0xFFFF0101, 0x01, 0x80070000, 0xB0C60000, 0xFFFF}},
    {"replicated alpha", "ps_1_1\n+mov r0.a, t1.a\n", {0xFFFF0101, 0x40000001, 0x80080000, 0xB0FF0001, 0xFFFF}},
    // Source modifiers.
    {"negate", "vs_1_1\nmov r0, -c2\n", {0xFFFE0101, 0x01, 0x800F0000, 0xA1E40002, 0xFFFF}},
    {"bias, negated sign, complement", "ps_1_1\nmad r0, t0_bias, -t1_bx2, 1-v0\n",
     {0xFFFF0101, 0x04, 0x800F0000, 0xB2E40000, 0xB5E40001, 0x96E40000, 0xFFFF}},
    {"negated bias, x2", "ps_1_4\nmul r0, -r1_bias, -r2_x2\n",
     {0xFFFF0104, 0x05, 0x800F0000, 0x83E40001, 0x88E40002, 0xFFFF}},
    {"divide by z, then swizzle", "ps_1_4\ntexld r0, t0_dz.xyw\n", {0xFFFF0104, 0x42, 0x800F0000, 0xB9F40000, 0xFFFF}},
    {"not", "vs_2_0\nif !b3\nendif\n", {0xFFFE0200, 0x01000028, 0xEDE40803, 0x2B, 0xFFFF}},
    // Instruction modifiers.
    {"saturate and x2", "ps_1_1\nadd_x2_sat r0, t0, v0\n",
     {0xFFFF0101, 0x02, 0x811F0000, 0xB0E40000, 0x90E40000, 0xFFFF}},
    {"d2 is scale 15", "ps_1_4\ndp3_d2 r1.rgb, r0, r1\n",
     {0xFFFF0104, 0x08, 0x8F070001, 0x80E40000, 0x80E40001, 0xFFFF}},
    {"d8 is scale 13", "ps_1_4\nmov_d8 r0, r1\n", {0xFFFF0104, 0x01, 0x8D0F0000, 0x80E40001, 0xFFFF}},
    {"partial precision", "ps_2_0\nmul_pp r1.xyz, r1, r1\n",
     {0xFFFF0200, 0x03000005, 0x80270001, 0x80E40001, 0x80E40001, 0xFFFF}},
    // Relative addressing: implicit a0.x in 1.1, an address token in 2.0.
    {"1.1 relative", "vs_1_1\nmov r0, c[a0.x + 3]\n", {0xFFFE0101, 0x01, 0x800F0000, 0xA0E42003, 0xFFFF}},
    {"1.1 offset first", "vs_1_1\nmov r1, c[3 + a0.x]\n", {0xFFFE0101, 0x01, 0x800F0001, 0xA0E42003, 0xFFFF}},
    {"1.1 last constant", "vs_1_1\nmov r0, c[a0.x+ 95]\n", {0xFFFE0101, 0x01, 0x800F0000, 0xA0E4205F, 0xFFFF}},
    {"bracketed absolute index", "vs_1_1\nmov r0, c[4]\n", {0xFFFE0101, 0x01, 0x800F0000, 0xA0E40004, 0xFFFF}},
    {"2.0 a0.y", "vs_2_0\nmov r0, c2[a0.y]\n",
     {0xFFFE0200, 0x03000001, 0x800F0000, 0xA0E42002, 0xB0550000, 0xFFFF}},
    {"2.0 loop counter", "vs_2_0\nadd r0, r0, c0[aL]\n",
     {0xFFFE0200, 0x04000002, 0x800F0000, 0x80E40000, 0xA0E42000, 0xF0E40800, 0xFFFF}},
    // Definitions.
    {"def floats", "ps_1_1\ndef c0, 1.0f, .5, -2, 0\n",
     {0xFFFF0101, 0x51, 0xA00F0000, 0x3F800000, 0x3F000000, 0xC0000000, 0x00000000, 0xFFFF}},
    // Exponents are read (Wine's assembler refuses them).
    {"def exponent", "vs_1_1\ndef c1, 1e3, 2.5E-1, 0, 0\n",
     {0xFFFE0101, 0x51, 0xA00F0001, 0x447A0000, 0x3E800000, 0, 0, 0xFFFF}},
    // A reference assembler reading integers as floats gives 0x01000000
    // here; the integer is kept exactly.
    {"defi exact", "vs_2_0\ndefi i0, 16777217, -1, 0, 7\n",
     {0xFFFE0200, 0x05000030, 0xF00F0000, 0x01000001, 0xFFFFFFFF, 0, 7, 0xFFFF}},
    {"defb", "vs_2_0\ndefb b15, true\n", {0xFFFE0200, 0x0200002F, 0xE00F080F, 1, 0xFFFF}},
    // Declarations.
    {"usage index", "vs_1_1\ndcl_texcoord7 v15.xy\n", {0xFFFE0101, 0x1F, 0x80070005, 0x90030000 | 15, 0xFFFF}},
    {"samplers", "ps_2_0\ndcl_2d s0\ndcl_cube s1\ndcl_volume s15\n",
     {0xFFFF0200, 0x0200001F, 0x90000000, 0xA00F0800, 0x0200001F, 0x98000000, 0xA00F0801, 0x0200001F, 0xA0000000,
      0xA00F080F, 0xFFFF}},
    {"declarations and definitions go first", "ps_2_0\ndcl_2d s1\ndef c3, 0, 0, 0, 0\nmov r0, c0\ndcl t0\n",
     {0xFFFF0200, 0x0200001F, 0x80000000, 0xB00F0000, 0x0200001F, 0x90000000, 0xA00F0801, 0x05000051, 0xA00F0003,
      0, 0, 0, 0, 0x02000001, 0x800F0000, 0xA0E40000, 0xFFFF}},
    // Texture loads and flow control.
    {"texldp and texldb", "ps_2_0\ntexldp r1, t0, s1\ntexldb r2, t0, s2\n",
     {0xFFFF0200, 0x03010042, 0x800F0001, 0xB0E40000, 0xA0E40801, 0x03020042, 0x800F0002, 0xB0E40000, 0xA0E40802,
      0xFFFF}},
    {"phase", "ps_1_4\nphase\n", {0xFFFF0104, 0xFFFD, 0xFFFF}},
    {"loop and label", "vs_2_0\nloop aL, i0\nendloop\ncall l1\nlabel l1\nret\n",
     {0xFFFE0200, 0x0200001B, 0xF0E40800, 0xF0E40000, 0x1D, 0x01000019, 0xA0E41001, 0x0100001E, 0xA0E41001, 0x1C,
      0xFFFF}},
    // sincos of ps_2_0 takes the two constant sources of the documented
    // format (Wine's assembler wants one).
    {"ps_2_0 sincos", "ps_2_0\nsincos r0.xy, r1.x, c0, c1\n",
     {0xFFFF0200, 0x04000025, 0x80030000, 0x80000001, 0xA0E40000, 0xA0E40001, 0xFFFF}},
    {"raster outputs", "vs_1_1\nmov oFog, r0.x\nmov oPts, r0.x\n",
     {0xFFFE0101, 0x01, 0xC00F0001, 0x80000000, 0x01, 0xC00F0002, 0x80000000, 0xFFFF}},
    // Layout of the text.
    {"comments and line ends", "vs_1_1 ; version\r\n/* a\nb */ nop // none\n\n; only a comment\nnop",
     {0xFFFE0101, 0, 0, 0xFFFF}},
};

TEST(ShaderAssembler, ValidProgramsGiveTheirTokens) {
    for (const ValidCase& c : kValid) {
        SCOPED_TRACE(c.what);
        Assembled out = Assemble(c.text);
        ASSERT_EQ(out.result, 0) << out.error.line << ":" << out.error.column << " " << out.error.message;
        EXPECT_EQ(out.tokens, c.tokens);
    }
}

// Invalid programs: where the error is and a word of what it says.
struct InvalidCase {
    const char* text;
    int32_t line;
    int32_t column;
    const char* says;
};

const InvalidCase kInvalid[] = {
    {"", 1, 1, "version"},
    {"; nothing\n", 2, 1, "version"},
    {"mov r0, v0\n", 1, 1, "version"},
    {"vs_3_0\n", 1, 1, "version"},
    {"VS_1_1\n", 1, 1, "version"},
    {"vs_1_1 nop\n", 1, 8, "end of line"},
    // Register ranges, also where a reference assembler lets them pass.
    {"vs_1_1\nmov r0, c96\n", 2, 9, "beyond"},
    {"vs_2_0\nmov r0, c256\n", 2, 9, "beyond"},
    {"ps_2_0\nmov r0, c32\n", 2, 9, "beyond"},
    {"ps_1_1\nmov r2, v0\n", 2, 5, "beyond"},
    {"ps_1_3\ntex t4\n", 2, 5, "beyond"},
    {"ps_1_4\nmov r6, v0\n", 2, 5, "beyond"},
    {"vs_1_1\nmov r12, v0\n", 2, 5, "beyond"},
    {"vs_1_1\nmov oT8, v0\n", 2, 5, "beyond"},
    {"vs_1_1\nmov oD2, v0\n", 2, 5, "beyond"},
    {"ps_2_0\nmov oC4, r0\n", 2, 5, "beyond"},
    {"vs_1_1\nmov r0, c[a0.x + 96]\n", 2, 9, "beyond"},
    {"vs_1_1\nmov r0, c95[a0.x + 1]\n", 2, 9, "beyond"},
    {"vs_1_1\nmov r0, v016\n", 2, 9, "unknown register"},
    // Registers a version does not have, or cannot read or write.
    {"vs_1_1\nmov r0, t0\n", 2, 9, "does not exist"},
    {"ps_1_1\nmov r0, s0\n", 2, 9, "does not exist"},
    {"vs_1_1\nmov v0, r0\n", 2, 5, "written"},
    {"vs_1_1\nmov r0, oPos\n", 2, 9, "read"},
    {"vs_1_1\nmov r0, a0\n", 2, 9, "read"},
    {"vs_1_1\nmov r0, q0\n", 2, 9, "unknown register"},
    // Instructions.
    {"vs_1_1\nfoo r0, v0\n", 2, 1, "unknown instruction"},
    {"ps_1_1\ntexld r0, t0\n", 2, 1, "does not exist"},
    {"vs_1_1\nmova a0.x, v0\n", 2, 1, "does not exist"},
    {"ps_1_4\ntexm3x2pad t1, t0\n", 2, 1, "does not exist"},
    {"vs_1_1\nmov r0 v0\n", 2, 8, "','"},
    {"vs_1_1\nmov r0,\n", 2, 8, "source register"},
    {"vs_1_1\nadd r0, v0\n", 2, 11, "','"},
    {"vs_1_1\nmov r0, v0, v1\n", 2, 11, "end of line"},
    {"vs_1_1\nmov r0, v0 ]\n", 2, 12, "end of line"},
    // Modifiers.
    {"vs_1_1\nmov_sat r0, v0\n", 2, 1, "not available"},
    {"ps_1_1\nmov_x8 r0, v0\n", 2, 1, "not available"},
    {"ps_1_4\nmov_x2_d2 r0, v0\n", 2, 1, "only one"},
    {"ps_1_4\nmov_foo r0, v0\n", 2, 1, "unknown instruction modifier"},
    {"ps_1_1\nmov_pp r0, v0\n", 2, 1, "not available"},
    {"vs_1_1\nmov r0, v0_bx2\n", 2, 9, "not available"},
    {"ps_1_1\ntex t0\nmov r0, t0_dz\n", 3, 9, "not available"},
    {"ps_1_4\ntexld r0, -t0_dz\n", 2, 12, "cannot be negated"},
    {"ps_1_1\nmov r0, 1-v0_bias\n", 2, 11, "prefix"},
    {"ps_2_0\nmov r0, 1-v0\n", 2, 9, "not available"},
    {"vs_1_1\nmov r0, !v0\n", 2, 9, "boolean"},
    {"vs_1_1\nmov r0, v0_abs\n", 2, 9, "unknown source modifier"},
    {"vs_1_1\n+mov r0, v0\n", 2, 1, "co-issue"},
    {"vs_1_1\nmov r0_sat, v0\n", 2, 5, "no modifier"},
    // Masks and swizzles.
    {"vs_1_1\nmov r0.yx, v0\n", 2, 8, "write mask"},
    {"vs_1_1\nmov r0.xx, v0\n", 2, 8, "write mask"},
    {"vs_1_1\nmov r0.xg, v0\n", 2, 8, "write mask"},
    {"vs_1_1\nmov r0, v0.xyzwx\n", 2, 12, "swizzle"},
    {"vs_1_1\nmov r0, v0.xq\n", 2, 12, "swizzle"},
    {"vs_1_1\nmov r0, v0.\n", 2, 12, "swizzle"},
    // Relative addressing.
    {"ps_2_0\nmov r0, c[a0.x]\n", 2, 10, "relative"},
    {"vs_1_1\nmov r0, r[a0.x]\n", 2, 9, "constant"},
    {"vs_1_1\nmov r0, c[a0.y]\n", 2, 14, "address component"},
    {"vs_1_1\nmov r0, c[aL]\n", 2, 11, "address register"},
    {"vs_1_1\nmov r0, c[a0.x + a0.x]\n", 2, 18, "offset"},
    {"vs_1_1\nmov r0, c[a0.x\n", 2, 15, "']'"},
    {"vs_1_1\nmov r0[a0.x], v0\n", 2, 7, "indexed"},
    // Definitions and declarations.
    {"vs_1_1\ndef r0, 1, 2, 3, 4\n", 2, 5, "c register"},
    {"vs_1_1\ndef c0.x, 1, 2, 3, 4\n", 2, 5, "c register"},
    {"vs_1_1\ndef c0, 1, 2, 3\n", 2, 16, "','"},
    {"vs_1_1\ndef c0, 1, 2, 3, x\n", 2, 18, "number"},
    {"vs_2_0\ndefi i0, 1.5, 0, 0, 0\n", 2, 10, "integer"},
    {"vs_2_0\ndefi i0, 2147483648, 0, 0, 0\n", 2, 10, "integer"},
    {"vs_2_0\ndefb b0, 1\n", 2, 10, "true or false"},
    {"vs_1_1\ndcl v0\n", 2, 1, "usage"},
    {"vs_1_1\ndcl_bogus v0\n", 2, 1, "usage"},
    {"vs_1_1\ndcl_position16 v0\n", 2, 1, "usage index"},
    {"vs_1_1\ndcl_position r0\n", 2, 1, "input"},
    {"ps_2_0\ndcl s0\n", 2, 1, "_2d"},
    {"ps_2_0\ndcl_texcoord t0\n", 2, 1, "no usage"},
    {"ps_2_0\ndcl r0\n", 2, 1, "only v#"},
    {"ps_1_4\nphase_x2\n", 2, 1, "no modifier"},
    // Characters and comments.
    {"vs_1_1\nmov r0, v0 @\n", 2, 12, "unexpected character"},
    {"vs_1_1\nnop /* open\n", 2, 5, "unclosed comment"},
};

TEST(ShaderAssembler, InvalidProgramsSayWhereAndWhy) {
    for (const InvalidCase& c : kInvalid) {
        SCOPED_TRACE(c.text);
        Assembled out = Assemble(c.text);
        EXPECT_EQ(out.result, 1);
        EXPECT_EQ(out.error.line, c.line);
        EXPECT_EQ(out.error.column, c.column);
        EXPECT_NE(std::strstr(out.error.message, c.says), nullptr) << out.error.message;
    }
}

TEST(ShaderAssembler, FormatsErrorsWithLineAndColumn) {
    Assembled out = Assemble("vs_1_1\n  mov r0, c96\n");
    char text[200];
    ShaderAssembler::FormatError(out.error, text, sizeof text);
    EXPECT_STREQ(text, "line 2, column 11: register 'c96' is beyond the last one of this shader version (c95)");
}

TEST(ShaderAssembler, ANulByteInsideTheTextIsAnError) {
    Assembled out = Assemble(std::string("vs_1_1\nmov r0,\0v0\n", 18));
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(out.error.column, 8);
}

// Every corpus program (its tokens are compared with the reference
// assembler under Wine) assembles here too.
std::string CorpusDirectory() {
    std::string path = __FILE__;
    path.resize(path.rfind("/engine/render/shader"));
    return path + "/data/shader";
}

TEST(ShaderAssembler, EveryCorpusProgramAssembles) {
    std::string directory = CorpusDirectory();
    DIR* dir = opendir(directory.c_str());
    ASSERT_NE(dir, nullptr);
    int count = 0;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        bool program = name.size() > 4 && (name.ends_with(".vsh") || name.ends_with(".psh"));
        if (!program) continue;
        SCOPED_TRACE(name);
        std::string text;
        ASSERT_TRUE(test::ReadTextFile(directory + "/" + name, text));
        Assembled out = Assemble(text);
        EXPECT_EQ(out.result, 0) << out.error.line << ":" << out.error.column << " " << out.error.message;
        EXPECT_EQ(out.tokens.back(), 0xFFFFu);
        ++count;
    }
    closedir(dir);
    EXPECT_GE(count, 10);
}

}  // namespace
}  // namespace zel
