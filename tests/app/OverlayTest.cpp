#include <gtest/gtest.h>

#include "app/Overlay.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

struct OverlayCase {
    const char* text;
    int32_t draws;
};

class OverlayTextDrawTest : public ::testing::TestWithParam<OverlayCase> {};

// One quad per glyph, none for a space; without the archive mounted the
// glyph pictures are missing and the quads are still drawn.
TEST_P(OverlayTextDrawTest, DrawsOneQuadPerGlyph) {
    // The renderer outlives the overlay, whose passes it holds device copies of.
    Pointer<test::RecordingRenderer> renderer = new test::RecordingRenderer();
    Overlay overlay;
    ASSERT_EQ(overlay.Create(), 0);
    overlay.Begin(*renderer);
    renderer->ClearCalls();
    overlay.DrawText(*renderer, GetParam().text, 0.0f, 0.0f, 0.0375f, 0.075f);
    overlay.End(*renderer);
    EXPECT_EQ(renderer->Count("DrawIndexed"), GetParam().draws);
    EXPECT_EQ(renderer->GetCamera(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, OverlayTextDrawTest,
    ::testing::Values(OverlayCase{"60", 2}, OverlayCase{"12:30:00 pm ", 10}, OverlayCase{"9:05:00", 7}, OverlayCase{"", 0},
                      OverlayCase{"x y", 0}));

TEST(OverlayTest, GlyphIndexCoversTheOverlayCharacters) {
    EXPECT_EQ(Overlay::GlyphIndex('0'), 0);
    EXPECT_EQ(Overlay::GlyphIndex('9'), 9);
    EXPECT_EQ(Overlay::GlyphIndex('a'), 10);
    EXPECT_EQ(Overlay::GlyphIndex(':'), 14);
    EXPECT_EQ(Overlay::GlyphIndex(' '), -1);
    EXPECT_EQ(Overlay::GlyphIndex('\0'), -1);
}

}  // namespace
}  // namespace zel
