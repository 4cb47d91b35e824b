// The window procedure's table: the messages that end a show besides keys
// and buttons (system keys, wheels, X buttons, losing the foreground), mouse
// positions on the screen, and messages that post nothing.
#include <gtest/gtest.h>

#include "engine/platform/WindowMessageEvents.h"

namespace zel {
namespace {

constexpr uint64_t kAltKey = 0x12;
constexpr uint64_t kF4Key = 0x73;

// wParam with `high` in its high word, as the system packs wheel turns and
// X buttons.
uint64_t HighWordParam(int16_t high) { return static_cast<uint64_t>(static_cast<uint16_t>(high)) << 16; }

struct MessageCase {
    const char* what;
    WindowMessage message;
    InputEvent event;
};

TEST(WindowMessageEventsTest, MessagesPostTheirEvents) {
    const MessageCase cases[] = {
        {"Alt", {kMessageSysKeyDown, kAltKey}, {kInputDeviceKeyboard, kInputActionPressed, 100, 0}},
        {"F4 with Alt", {kMessageSysKeyDown, kF4Key}, {kInputDeviceKeyboard, kInputActionPressed, 53, 0}},
        {"Alt released", {kMessageSysKeyUp, kAltKey}, {kInputDeviceKeyboard, kInputActionReleased, 100, 0}},
        {"key", {kMessageKeyDown, kF4Key}, {kInputDeviceKeyboard, kInputActionPressed, 53, 0}},
        {"wheel away", {kMessageMouseWheel, HighWordParam(120)}, {kInputDeviceMouse, kInputActionPressed, kMouseWheel, 120}},
        {"wheel back", {kMessageMouseWheel, HighWordParam(-240) | 0x8}, {kInputDeviceMouse, kInputActionPressed, kMouseWheel, -240}},
        {"wheel right", {kMessageMouseHorizontalWheel, HighWordParam(120)},
         {kInputDeviceMouse, kInputActionPressed, kMouseWheelHorizontal, 120}},
        {"X1 down", {kMessageXButtonDown, HighWordParam(1)}, {kInputDeviceMouse, kInputActionPressed, kMouseButtonX1, 0}},
        {"X2 down", {kMessageXButtonDown, HighWordParam(2)}, {kInputDeviceMouse, kInputActionPressed, kMouseButtonX2, 0}},
        {"X2 up", {kMessageXButtonUp, HighWordParam(2)}, {kInputDeviceMouse, kInputActionReleased, kMouseButtonX2, 0}},
        {"foreground lost", {kMessageActivateApp, 0}, {kInputDeviceWindow, kInputActionClosed, kWindowLostForeground, 0}},
        {"close", {kMessageClose}, {kInputDeviceWindow, kInputActionClosed, kWindowClosed, 0}},
        // Client positions move by the window's place on the screen; a
        // position left of or above the window is negative.
        {"move", {kMessageMouseMove, 0, (20 << 16) | 10, 1024, 0}, {kInputDeviceMouse, kInputActionMoved, 1034, 20}},
        {"move outside", {kMessageMouseMove, 0, 0xFFFEFFFF, -1024, 0}, {kInputDeviceMouse, kInputActionMoved, -1025, -2}},
    };
    for (const MessageCase& c : cases) {
        InputEvent event{-1, -1, -1, -1};
        ASSERT_TRUE(InputEventFromWindowMessage(c.message, &event)) << c.what;
        EXPECT_EQ(event, c.event) << c.what;
    }
}

TEST(WindowMessageEventsTest, MessagesThatPostNothing) {
    const WindowMessage messages[] = {
        {kMessageActivateApp, 1},          // our program gains the foreground
        {kMessageXButtonDown, HighWordParam(3)},  // no such X button
        {0x0006},                          // activation between our own windows
        {0x0102, 'a'},                     // a character
    };
    for (const WindowMessage& message : messages) {
        InputEvent event;
        EXPECT_FALSE(InputEventFromWindowMessage(message, &event)) << std::hex << message.id;
    }
}

}  // namespace
}  // namespace zel
