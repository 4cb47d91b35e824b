// The settings dialog's first placement at 100, 150 and 200 %, on work
// areas that start at the origin or not, and one the dialog overflows.
#include <gtest/gtest.h>

#include "app/DialogPlacement.h"

namespace zel {
namespace {

struct PlacementCase {
    const char* what;
    uint32_t dpi;
    WindowRect workArea;
    WindowRect window;
    int32_t clientWidth, clientHeight;
    WindowRect placed;
};

class DialogPlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(DialogPlacementTest, GrowsAndCentresOnTheWorkArea) {
    const PlacementCase& c = GetParam();
    DialogPlacement placement;
    placement.workArea = c.workArea;
    placement.window = c.window;
    placement.clientWidth = c.clientWidth;
    placement.clientHeight = c.clientHeight;
    placement.dpi = c.dpi;
    const WindowRect placed = placement.Place();
    EXPECT_EQ(placed.left, c.placed.left) << c.what;
    EXPECT_EQ(placed.top, c.placed.top) << c.what;
    EXPECT_EQ(placed.right, c.placed.right) << c.what;
    EXPECT_EQ(placed.bottom, c.placed.bottom) << c.what;
}

// Dialogs as the system lays the template out at each scale; the task bar
// takes the bottom (or top) of the screen.
INSTANTIATE_TEST_SUITE_P(Cases, DialogPlacementTest, ::testing::Values(
    // 580 × 395 at 100 %: one pixel wider, the height is enough already.
    PlacementCase{"100 %", 96, {0, 0, 1920, 1040}, {10, 10, 595, 445}, 579, 406, {667, 302, 1253, 737}},
    PlacementCase{"100 %, too small both ways", 96, {0, 0, 1024, 728}, {0, 0, 512, 343}, 500, 300,
                  {216, 145, 808, 583}},
    // 870 × 593 at 150 %.
    PlacementCase{"150 %", 144, {0, 0, 1920, 1020}, {0, 0, 880, 652}, 868, 609, {519, 184, 1401, 836}},
    // 1160 × 790 at 200 %, on a monitor right of the primary with its task
    // bar at the top.
    PlacementCase{"200 %, second monitor", 192, {1920, 40, 5760, 2200}, {0, 0, 1174, 870}, 1158, 812,
                  {3252, 685, 4428, 1555}},
    // Taller than the work area: the title bar stays on it.
    PlacementCase{"200 %, overflowing", 192, {0, 0, 1366, 728}, {0, 0, 1174, 870}, 1158, 812,
                  {95, 0, 1271, 870}}));

}  // namespace
}  // namespace zel
