// Passes running the same program text share one shader object.
#include <gtest/gtest.h>

#include "engine/render/program/SharedShaders.h"
#include "engine/render/shader/PixelShader.h"
#include "engine/render/shader/VertexShader.h"

namespace zel {
namespace {

TEST(SharedShaders, OneObjectPerTextAndKind) {
    static const char kVertex[] = "vs_1_1\nmov oPos, v0\n";
    static const char kOtherVertex[] = "vs_1_1\nmov oPos, v0\n";  // same words, another text
    static const char kPixel[] = "ps.1.1\nmov r0, v0\n";
    SharedShaders::Clear();
    VertexShader* vertex = SharedShaders::Vertex(kVertex);
    ASSERT_NE(vertex, nullptr);
    EXPECT_STREQ(vertex->GetProgram().CStr(), kVertex);
    EXPECT_EQ(SharedShaders::Vertex(kVertex), vertex);
    EXPECT_NE(SharedShaders::Vertex(kOtherVertex), vertex);
    PixelShader* pixel = SharedShaders::Pixel(kPixel);
    ASSERT_NE(pixel, nullptr);
    EXPECT_EQ(SharedShaders::Pixel(kPixel), pixel);
    EXPECT_EQ(SharedShaders::Vertex(nullptr), nullptr);
    EXPECT_EQ(SharedShaders::Count(), 3);
    SharedShaders::Clear();
    EXPECT_EQ(SharedShaders::Count(), 0);
}

}  // namespace
}  // namespace zel
