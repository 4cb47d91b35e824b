#include <gtest/gtest.h>

#include "app/ExitRules.h"

namespace zel {
namespace {

InputEvent Move(int32_t x, int32_t y) { return InputEvent{kInputDeviceMouse, kInputActionMoved, x, y}; }

TEST(ExitRulesTest, OnlyRealMovesCountAndTheEleventhEnds) {
    ExitRules rules;
    // The first move only records where the mouse is; moves to the same
    // place (windows appearing, remote sessions) never count.
    for (int i = 0; i < 30; ++i) EXPECT_FALSE(rules.Ends(Move(10, 20), true));
    for (int i = 1; i <= 10; ++i) {
        EXPECT_FALSE(rules.Ends(Move(10 + i, 20), true)) << "real move " << i;
        EXPECT_FALSE(rules.Ends(Move(10 + i, 20), true)) << "repeat of move " << i;
    }
    EXPECT_TRUE(rules.Ends(Move(21, 21), true));  // y alone differs
}

TEST(ExitRulesTest, MovesNeverEndWhenOffAndDoNotCount) {
    ExitRules rules;
    for (int i = 0; i < 100; ++i) EXPECT_FALSE(rules.Ends(Move(i, i), false));
    for (int i = 1; i <= 10; ++i) EXPECT_FALSE(rules.Ends(Move(100 + i, 0), true));
}

TEST(ExitRulesTest, LosingTheForegroundEndsOnlyOnceAFrameIsOnScreen) {
    const InputEvent lost{kInputDeviceWindow, kInputActionClosed, kWindowLostForeground, 0};
    ExitRules rules;
    EXPECT_FALSE(rules.Ends(lost, false));  // start-up activating its own windows
    rules.OnFramePresented();
    EXPECT_TRUE(rules.Ends(lost, false));
}

struct EventCase {
    InputEvent event;
    bool ends;
};

class ExitEventTest : public ::testing::TestWithParam<EventCase> {};

TEST_P(ExitEventTest, EndsWhateverTheMouseSetting) {
    for (bool exitOnMove : {false, true}) {
        ExitRules rules;
        EXPECT_EQ(rules.Ends(GetParam().event, exitOnMove), GetParam().ends);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ExitEventTest,
    ::testing::Values(EventCase{{kInputDeviceKeyboard, kInputActionPressed, 65, 0}, true},
                      EventCase{{kInputDeviceKeyboard, kInputActionReleased, 65, 0}, false},
                      EventCase{{kInputDeviceMouse, kInputActionPressed, kMouseButtonLeft, 0}, true},
                      EventCase{{kInputDeviceMouse, kInputActionPressed, kMouseButtonX2, 0}, true},
                      EventCase{{kInputDeviceMouse, kInputActionPressed, kMouseWheel, -120}, true},
                      EventCase{{kInputDeviceMouse, kInputActionReleased, kMouseButtonRight, 0}, false},
                      EventCase{{kInputDeviceWindow, kInputActionClosed, kWindowClosed, 0}, true},
                      EventCase{{kInputDeviceWindow, kInputActionClosed, kWindowLostForeground, 0}, false},
                      EventCase{{kInputDeviceWindow, kInputActionClosed, 7, 0}, false},
                      EventCase{{kInputDeviceWindow, kInputActionPressed, 0, 0}, false}));

}  // namespace
}  // namespace zel
