#include <gtest/gtest.h>

#include "app/ExitRules.h"

namespace zel {
namespace {

constexpr InputEvent kMove{kInputDeviceMouse, kInputActionMoved, 10, 20};

TEST(ExitRulesTest, EleventhMouseMoveEnds) {
    ExitRules rules;
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(rules.Ends(kMove, true)) << "move " << i + 1;
    EXPECT_TRUE(rules.Ends(kMove, true));
}

TEST(ExitRulesTest, MovesNeverEndWhenOffAndDoNotCount) {
    ExitRules rules;
    for (int i = 0; i < 100; ++i) EXPECT_FALSE(rules.Ends(kMove, false));
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(rules.Ends(kMove, true));
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
                      EventCase{{kInputDeviceMouse, kInputActionPressed, kMouseButtonMiddle, 0}, true},
                      EventCase{{kInputDeviceMouse, kInputActionReleased, kMouseButtonRight, 0}, false},
                      EventCase{{kInputDeviceWindow, kInputActionClosed, 0, 0}, true},
                      EventCase{{kInputDeviceWindow, kInputActionClosed, 1, 0}, false},
                      EventCase{{kInputDeviceWindow, kInputActionPressed, 0, 0}, false}));

}  // namespace
}  // namespace zel
