// The engine's window on Windows, under Wine and Xvfb: real windows (framed,
// child, full screen) made through the installed window system, messages
// (system keys, wheels, X buttons and losing the foreground among them)
// turned into input events by the window procedure and pumped by
// ProcessInput, and teardown that leaves no class and the desktop's mode.
#include "engine/os/win32/Windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Log.h"
#include "engine/core/MessageOutput.h"
#include "engine/core/Pointer.h"
#include "engine/platform/InputHandler.h"
#include "engine/platform/InputManager.h"
#include "engine/platform/KeyCodes.h"
#include "engine/render/WindowSystem.h"

namespace zel {
namespace {

class RecordingHandler : public InputHandler {
public:
    void OnInputEvent(const InputEvent& event) override { events.push_back(event); }
    std::vector<InputEvent> events;
};

// Notes, for each close line the window procedure logs, whether the watched
// window still existed at that moment.
class CloseWitness : public MessageOutput {
public:
    CloseWitness() : MessageOutput(String("close witness")) {}
    void Output(int32_t, const String& text) override {
        if (std::string(text.CStr()) != "DESTROY WINDOW!!!!") return;
        ++lines;
        if (IsWindow(watched)) ++linesWhileAlive;
    }
    HWND watched = nullptr;
    int lines = 0;
    int linesWhileAlive = 0;
};

bool ClassExists(const char* name) {
    WNDCLASSA windowClass;
    return GetClassInfoA(GetModuleHandleA(nullptr), name, &windowClass) != 0;
}

DEVMODEA CurrentMode() {
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return mode;
}

InputEvent Event(int32_t device, int32_t action, int32_t code, int32_t y = 0) {
    return InputEvent{device, action, code, y};
}

class SystemWindowWin : public ::testing::Test {
protected:
    void SetUp() override {
        // A fresh manager: no handlers from other tests, an empty queue.
        InputManager::Terminate();
        EXPECT_EQ(InputManager::Initialize(), kOk);
        windows = GetWindowSystem();
        ASSERT_NE(windows, nullptr) << "the input manager installs the window system";
        RegisterInputHandler(handler);
    }
    void TearDown() override {
        InputManager::Terminate();
        EXPECT_EQ(InputManager::Initialize(), kOk);
    }

    // Pumps what creation left in the queue and forgets it, including
    // pointer moves the display makes on its own.
    void Settle() {
        ProcessInput();
        handler->events.clear();
    }
    // The events received, without moves other than the posted one.
    std::vector<InputEvent> Received(int32_t postedX) const {
        std::vector<InputEvent> kept;
        for (const InputEvent& event : handler->events)
            if (event.action != kInputActionMoved || event.code == postedX) kept.push_back(event);
        return kept;
    }

    WindowSystem* windows = nullptr;
    Pointer<RecordingHandler> handler = new RecordingHandler;
};

TEST(KeyCodesWin, TheTableAgainstTheSystemsKeyNames) {
    struct Row {
        WPARAM key;
        int32_t code;
    };
    const Row rows[] = {
        {'0', 0},           {'9', 9},           {'A', 10},         {'Z', 35},           {VK_ADD, 36},
        {VK_OEM_7, 37},     {VK_BACK, 38},      {VK_OEM_5, 39},    {VK_CAPITAL, 40},    {VK_OEM_COMMA, 41},
        {VK_DELETE, 42},    {VK_DIVIDE, 43},    {VK_OEM_PERIOD, 44}, {VK_DOWN, 45},     {VK_END, 46},
        {VK_RETURN, 47},    {VK_OEM_PLUS, 48},  {VK_ESCAPE, 49},   {VK_F1, 50},         {VK_F5, 54},
        {VK_F12, 61},       {VK_OEM_3, 62},     {VK_HOME, 63},     {VK_INSERT, 64},     {VK_OEM_4, 65},
        {VK_LCONTROL, 66},  {VK_LEFT, 67},      {VK_LMENU, 68},    {VK_LSHIFT, 69},     {VK_OEM_MINUS, 70},
        {VK_MULTIPLY, 71},  {VK_NEXT, 72},      {VK_NUMLOCK, 73},  {VK_NUMPAD0, 74},    {VK_NUMPAD9, 83},
        {VK_DECIMAL, 84},   {VK_SUBTRACT, 85},  {VK_PAUSE, 86},    {VK_PRIOR, 87},      {VK_SNAPSHOT, 88},
        {VK_OEM_6, 89},     {VK_RCONTROL, 90},  {VK_RIGHT, 91},    {VK_RMENU, 92},      {VK_RSHIFT, 93},
        {VK_SCROLL, 94},    {VK_OEM_1, 95},     {VK_OEM_2, 96},    {VK_SPACE, 97},      {VK_TAB, 98},
        {VK_UP, 99},        {VK_SHIFT, 100},    {VK_CONTROL, 100}, {VK_MENU, 100},      {VK_LWIN, 100},
    };
    for (const Row& row : rows) EXPECT_EQ(KeyCodeFromVirtualKey(row.key), row.code) << row.key;
}

TEST_F(SystemWindowWin, MessagesBecomeEventsAndAClosedWindowIsNoFailure) {
    void* window = nullptr;
    ASSERT_EQ(windows->OpenSystemWindow(&window, "ZelWinTest", nullptr, false, 32, 0, 0, 640, 480), 0);
    const HWND hwnd = static_cast<HWND>(window);
    ASSERT_TRUE(IsWindow(hwnd));
    EXPECT_TRUE(ClassExists("ZelWinTest Class"));
    Settle();

    // Moves are reported on the screen.
    POINT moved{10, 20};
    ClientToScreen(hwnd, &moved);
    const UINT buttons[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP};
    PostMessageA(hwnd, WM_KEYDOWN, VK_F5, 0);
    PostMessageA(hwnd, WM_KEYUP, 'Z', 0);
    PostMessageA(hwnd, WM_SYSKEYDOWN, VK_MENU, 0);
    PostMessageA(hwnd, WM_SYSKEYDOWN, 'X', 0);
    PostMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 20));
    for (UINT message : buttons) PostMessageA(hwnd, message, 0, 0);
    PostMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    PostMessageA(hwnd, WM_MOUSEHWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    PostMessageA(hwnd, WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON1), 0);
    PostMessageA(hwnd, WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON2), 0);
    PostMessageA(hwnd, WM_ACTIVATEAPP, FALSE, 0);
    PostMessageA(hwnd, WM_ACTIVATEAPP, TRUE, 0);
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    Pointer<CloseWitness> witness = new CloseWitness;
    witness->watched = hwnd;
    RegisterMessageOutput(witness);
    EXPECT_EQ(ProcessInput(), 0);
    UnregisterMessageOutput(witness);

    const std::vector<InputEvent> expected = {
        Event(kInputDeviceKeyboard, kInputActionPressed, 54),
        Event(kInputDeviceKeyboard, kInputActionReleased, 35),
        Event(kInputDeviceKeyboard, kInputActionPressed, kKeyCodeOther),  // Alt
        Event(kInputDeviceKeyboard, kInputActionPressed, 33),             // X with Alt
        Event(kInputDeviceMouse, kInputActionMoved, moved.x, moved.y),
        Event(kInputDeviceMouse, kInputActionPressed, kMouseButtonLeft),
        Event(kInputDeviceMouse, kInputActionReleased, kMouseButtonLeft),
        Event(kInputDeviceMouse, kInputActionPressed, kMouseButtonRight),
        Event(kInputDeviceMouse, kInputActionReleased, kMouseButtonRight),
        Event(kInputDeviceMouse, kInputActionPressed, kMouseButtonMiddle),
        Event(kInputDeviceMouse, kInputActionReleased, kMouseButtonMiddle),
        Event(kInputDeviceMouse, kInputActionPressed, kMouseWheel, -WHEEL_DELTA),
        Event(kInputDeviceMouse, kInputActionPressed, kMouseWheelHorizontal, WHEEL_DELTA),
        Event(kInputDeviceMouse, kInputActionPressed, kMouseButtonX1),
        Event(kInputDeviceMouse, kInputActionReleased, kMouseButtonX2),
        Event(kInputDeviceWindow, kInputActionClosed, kWindowLostForeground),  // only when lost
        Event(kInputDeviceWindow, kInputActionClosed, 0),  // WM_CLOSE
        // The default handling destroys the window: the program, whose
        // active window it was, loses the foreground first.
        Event(kInputDeviceWindow, kInputActionClosed, kWindowLostForeground),
        Event(kInputDeviceWindow, kInputActionClosed, 0),  // WM_DESTROY
    };
    EXPECT_EQ(Received(moved.x), expected);
    EXPECT_EQ(witness->lines, 2);
    EXPECT_EQ(witness->linesWhileAlive, 2);
    EXPECT_FALSE(IsWindow(hwnd));

    EXPECT_EQ(windows->CloseSystemWindow(window), 0);
    EXPECT_FALSE(ClassExists("ZelWinTest Class"));
}

TEST_F(SystemWindowWin, DestroyingHandsTheCloseEventOn) {
    void* window = nullptr;
    ASSERT_EQ(windows->OpenSystemWindow(&window, "ZelWinTest", nullptr, false, 32, 40, 30, 320, 200), 0);
    Settle();
    EXPECT_EQ(windows->CloseSystemWindow(window), 0);
    EXPECT_FALSE(IsWindow(static_cast<HWND>(window)));
    EXPECT_FALSE(ClassExists("ZelWinTest Class"));
    // The destroyed window was the program's active one.
    const std::vector<InputEvent> expected = {Event(kInputDeviceWindow, kInputActionClosed, kWindowLostForeground),
                                              Event(kInputDeviceWindow, kInputActionClosed, 0)};
    EXPECT_EQ(Received(-1), expected);
}

TEST_F(SystemWindowWin, AChildFillsItsParent) {
    WNDCLASSA parentClass{};
    parentClass.lpfnWndProc = DefWindowProcA;
    parentClass.hInstance = GetModuleHandleA(nullptr);
    parentClass.lpszClassName = "ZelWinTestParent";
    ASSERT_NE(RegisterClassA(&parentClass), 0);
    const HWND parent = CreateWindowExA(0, "ZelWinTestParent", "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                                        300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);

    void* const untouched = reinterpret_cast<void*>(0x1234);
    void* window = untouched;
    ASSERT_EQ(windows->OpenSystemWindow(&window, "ZelWinChild", parent, false, 32, 0, 0, 640, 480), 0);
    EXPECT_EQ(window, untouched);
    const HWND child = FindWindowExA(parent, nullptr, "ZelWinChild Class", nullptr);
    ASSERT_NE(child, nullptr);
    RECT parentArea;
    RECT childArea;
    GetClientRect(parent, &parentArea);
    GetClientRect(child, &childArea);
    EXPECT_EQ(childArea.right, parentArea.right);
    EXPECT_EQ(childArea.bottom, parentArea.bottom);
    Settle();

    PostMessageA(child, WM_KEYDOWN, 'A', 0);
    ProcessInput();
    EXPECT_EQ(Received(-1), (std::vector<InputEvent>{Event(kInputDeviceKeyboard, kInputActionPressed, 10)}));

    DestroyWindow(parent);  // takes the child with it
    EXPECT_EQ(windows->CloseSystemWindow(nullptr), 0);
    EXPECT_FALSE(ClassExists("ZelWinChild Class"));
    UnregisterClassA("ZelWinTestParent", GetModuleHandleA(nullptr));
}

TEST_F(SystemWindowWin, FullScreenInTheDesktopsModeCoversItAndRestores) {
    const DEVMODEA before = CurrentMode();
    const int32_t width = static_cast<int32_t>(before.dmPelsWidth);
    const int32_t height = static_cast<int32_t>(before.dmPelsHeight);
    void* window = nullptr;
    ASSERT_EQ(windows->OpenSystemWindow(&window, "ZelWinFull", nullptr, true, static_cast<int32_t>(before.dmBitsPerPel),
                                        0, 0, width, height),
              0);
    ASSERT_NE(window, nullptr);
    const HWND hwnd = static_cast<HWND>(window);
    RECT area;
    GetWindowRect(hwnd, &area);
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.right, width);
    EXPECT_EQ(area.bottom, height);
    EXPECT_NE(GetWindowLongA(hwnd, GWL_STYLE) & WS_POPUP, 0);

    EXPECT_EQ(windows->CloseSystemWindow(window), 0);
    const DEVMODEA after = CurrentMode();
    EXPECT_EQ(after.dmPelsWidth, before.dmPelsWidth);
    EXPECT_EQ(after.dmPelsHeight, before.dmPelsHeight);
    EXPECT_EQ(after.dmBitsPerPel, before.dmBitsPerPel);
    EXPECT_FALSE(ClassExists("ZelWinFull Class"));
}

TEST_F(SystemWindowWin, FullScreenInAModeNoMonitorHasLeavesNothing) {
    void* window = nullptr;
    ASSERT_EQ(windows->OpenSystemWindow(&window, "ZelWinFull", nullptr, true, 32, 0, 0, 1000, 700), 0);
    EXPECT_EQ(window, nullptr);
    EXPECT_FALSE(ClassExists("ZelWinFull Class"));
}

TEST_F(SystemWindowWin, ClosingAFullScreenWindowThenDestroyingRestoresAndUnregisters) {
    const DEVMODEA before = CurrentMode();
    void* window = nullptr;
    ASSERT_EQ(windows->OpenSystemWindow(&window, "ZelWinFull", nullptr, true, static_cast<int32_t>(before.dmBitsPerPel),
                                        0, 0, static_cast<int32_t>(before.dmPelsWidth),
                                        static_cast<int32_t>(before.dmPelsHeight)),
              0);
    Settle();
    PostMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0);
    ProcessInput();
    EXPECT_FALSE(IsWindow(static_cast<HWND>(window)));
    EXPECT_EQ(windows->CloseSystemWindow(window), 0);
    EXPECT_EQ(CurrentMode().dmPelsWidth, before.dmPelsWidth);
    EXPECT_FALSE(ClassExists("ZelWinFull Class"));
}

}  // namespace
}  // namespace zel
