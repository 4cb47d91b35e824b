// The system window's walk over devices, monitors and modes, driven through
// a fake display: what is created, what is torn down, in which order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "engine/platform/InputHandler.h"
#include "engine/platform/InputManager.h"
#include "engine/platform/SystemWindow.h"
#include "FakeDisplaySystem.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using Calls = std::vector<std::string>;
using test::FakeDevice;
using test::FakeDisplaySystem;

DisplayMode Mode(int32_t width, int32_t height, int32_t bits, int32_t x = 0, int32_t y = 0) {
    DisplayMode mode;
    mode.x = x;
    mode.y = y;
    mode.width = width;
    mode.height = height;
    mode.bitsPerPixel = bits;
    return mode;
}

FakeDevice Primary(const char* name = "DISPLAY1") {
    return FakeDevice{name, kDisplayDevicePrimary, true, true, Mode(1024, 768, 32),
                      {Mode(800, 600, 32), Mode(1024, 768, 16), Mode(1024, 768, 32)}};
}

FakeDevice Secondary(const char* name = "DISPLAY2") {
    return FakeDevice{name, 0, true, true, Mode(1280, 1024, 32, 1024, 0), {Mode(1280, 1024, 32)}};
}

FakeDevice Mirror() { return FakeDevice{"MIRROR", kDisplayDeviceMirroring, false, false, {}, {}}; }

class SystemWindowTest : public ::testing::Test {
protected:
    int32_t Windowed() { return system.CreateSystemWindow(&window, "T", nullptr, false, 32, 10, 20, 640, 480); }
    int32_t FullScreen(int32_t width, int32_t height, int32_t bits) {
        return system.CreateSystemWindow(&window, "T", nullptr, true, bits, 0, 0, width, height);
    }
    // What the calls after creation were.
    Calls CallsFrom(size_t first) const { return Calls(display.calls.begin() + first, display.calls.end()); }

    FakeDisplaySystem display;
    SystemWindow system{display};
    void* const untouched = FakeDisplaySystem::Handle(77);
    void* window = untouched;
};

TEST_F(SystemWindowTest, OneMonitorWindowed) {
    display.devices = {Primary()};
    ASSERT_EQ(Windowed(), kOk);
    EXPECT_EQ(window, FakeDisplaySystem::Handle(1));
    EXPECT_EQ(display.calls, (Calls{"register T Class", "window overlapped 10,20,650,500 parent 0 -> 1"}));
    ASSERT_EQ(system.DestroySystemWindow(window), kOk);
    EXPECT_EQ(CallsFrom(2), (Calls{"delete 1", "restore DISPLAY1 flags 0", "unregister T Class"}));
    EXPECT_EQ(display.AliveWindows(), 0);
}

TEST_F(SystemWindowTest, TwoMonitorsWindowedGetTwoWindowsAtOneRectangleTheSecondOwned) {
    display.devices = {Primary(), Secondary()};
    ASSERT_EQ(Windowed(), kOk);
    EXPECT_EQ(window, FakeDisplaySystem::Handle(1));
    EXPECT_EQ(display.calls, (Calls{"register T Class", "window overlapped 10,20,650,500 parent 0 -> 1",
                                    "window overlapped 10,20,650,500 parent 1 -> 2"}));
    ASSERT_EQ(system.DestroySystemWindow(window), kOk);
    EXPECT_EQ(display.AliveWindows(), 0);
}

// The monitor without the mode keeps its own and is blacked out once the
// walk is over, owned by the main window.
TEST_F(SystemWindowTest, FullScreenBlacksOutTheMonitorWithoutTheMode) {
    display.devices = {Primary(), Secondary()};
    ASSERT_EQ(FullScreen(1024, 768, 32), kOk);
    EXPECT_EQ(window, FakeDisplaySystem::Handle(1));
    // The matching mode is the third; the change asks the system to undo it
    // should the process die.
    EXPECT_EQ(display.calls,
              (Calls{"register T Class", "mode DISPLAY1 #2 flags 4", "window popup 0,0,1024,768 parent 0 -> 1",
                     "window cover 1024,0,2304,1024 parent 1 -> 2"}));
    ASSERT_EQ(system.DestroySystemWindow(window), kOk);
    EXPECT_EQ(CallsFrom(4), (Calls{"delete 1", "restore DISPLAY1 flags 0", "restore DISPLAY2 flags 0",
                                   "unregister T Class"}));
    EXPECT_EQ(display.AliveWindows(), 0);
}

// The primary lacks the mode: the second monitor's window is the main one
// and owns the primary's cover, made after it.
TEST_F(SystemWindowTest, APrimaryWithoutTheModeIsCoveredAfterTheMainWindow) {
    display.devices = {Primary(), Secondary(), Secondary("DISPLAY3")};
    display.devices[2].current = Mode(800, 600, 32, -800, 0);
    ASSERT_EQ(FullScreen(1280, 1024, 32), kOk);
    EXPECT_EQ(window, FakeDisplaySystem::Handle(1));
    EXPECT_EQ(CallsFrom(1), (Calls{"mode DISPLAY2 #0 flags 4", "window popup 1024,0,2304,1024 parent 0 -> 1",
                                   "mode DISPLAY3 #0 flags 4", "window popup -800,0,480,1024 parent 1 -> 2",
                                   "window cover 0,0,1024,768 parent 1 -> 3"}));
    system.DestroySystemWindow(window);
    EXPECT_EQ(display.AliveWindows(), 0);
}

TEST_F(SystemWindowTest, ACoverThatCannotBeMadeLeavesTheShowRunning) {
    display.devices = {Primary(), Secondary()};
    display.failingWindowAttempt = 2;
    test::LogCapture log;
    ASSERT_EQ(FullScreen(1024, 768, 32), kOk);
    EXPECT_EQ(window, FakeDisplaySystem::Handle(1));
    EXPECT_EQ(display.calls.back(), "window cover 1024,0,2304,1024 parent 1 refused");
    EXPECT_TRUE(log->Contains(kLogWarning, "Монитор [DISPLAY2] не закрыт окном."));
    system.DestroySystemWindow(window);
}

TEST_F(SystemWindowTest, FullScreenCoversEveryMonitorThatHasTheMode) {
    display.devices = {Primary(), Secondary()};
    display.devices[1].modes = {Mode(1024, 768, 32)};
    ASSERT_EQ(FullScreen(1024, 768, 32), kOk);
    EXPECT_EQ(CallsFrom(1), (Calls{"mode DISPLAY1 #2 flags 4", "window popup 0,0,1024,768 parent 0 -> 1",
                                   "mode DISPLAY2 #0 flags 4", "window popup 1024,0,2048,768 parent 1 -> 2"}));
    ASSERT_EQ(system.DestroySystemWindow(window), kOk);
    EXPECT_EQ(display.AliveWindows(), 0);
}

TEST_F(SystemWindowTest, FullScreenTriesTheNextMatchingModeWhenAChangeFails) {
    display.devices = {Primary()};
    display.devices[0].modes.push_back(Mode(1024, 768, 32));
    display.refusedModeIndex = 2;
    ASSERT_EQ(FullScreen(1024, 768, 32), kOk);
    EXPECT_EQ(CallsFrom(1), (Calls{"mode DISPLAY1 #2 flags 4", "mode DISPLAY1 #3 flags 4",
                                   "window popup 0,0,1024,768 parent 0 -> 1"}));
    system.DestroySystemWindow(window);
}

TEST_F(SystemWindowTest, FullScreenWithTheModeNowhereLeavesNothingAndSucceeds) {
    display.devices = {Primary(), Secondary()};
    ASSERT_EQ(FullScreen(1600, 1200, 32), kOk);
    EXPECT_EQ(window, untouched);
    EXPECT_EQ(display.calls, (Calls{"register T Class", "restore DISPLAY1 flags 0", "restore DISPLAY2 flags 0",
                                    "unregister T Class"}));
}

// Wherever the system lists a mirroring driver, it gets no window and does
// not stop the start; its mode is put back with the others.
TEST_F(SystemWindowTest, AMirroringDriverIsPassedOverWhereverItIsListed) {
    for (const bool fullScreen : {false, true}) {
        for (const size_t place : {size_t(0), size_t(1)}) {
            SCOPED_TRACE(testing::Message() << "full screen " << fullScreen << ", mirror at " << place);
            FakeDisplaySystem display;
            SystemWindow system{display};
            display.devices = {Primary(), Secondary()};
            display.devices[1].modes.push_back(Mode(1024, 768, 32));
            display.devices.insert(display.devices.begin() + static_cast<std::ptrdiff_t>(place), Mirror());
            void* window = nullptr;
            ASSERT_EQ(system.CreateSystemWindow(&window, "T", nullptr, fullScreen, 32, 0, 0, 1024, 768), kOk);
            EXPECT_EQ(window, FakeDisplaySystem::Handle(1));
            EXPECT_EQ(display.windows.size(), 2u);
            for (const std::string& call : display.calls) EXPECT_EQ(call.find("mode MIRROR"), std::string::npos);
            ASSERT_EQ(system.DestroySystemWindow(window), kOk);
            EXPECT_NE(std::find(display.calls.begin(), display.calls.end(), "restore MIRROR flags 0"),
                      display.calls.end());
        }
    }
}

TEST_F(SystemWindowTest, ADeviceWithoutAMonitorIsPassedOver) {
    display.devices = {Primary(), Secondary()};
    display.devices[1].hasMonitor = false;
    ASSERT_EQ(Windowed(), kOk);
    EXPECT_EQ(display.windows.size(), 1u);
    system.DestroySystemWindow(window);
}

TEST_F(SystemWindowTest, AFailedSecondWindowTearsDownTheFirst) {
    display.devices = {Primary(), Secondary()};
    display.failingWindowAttempt = 2;
    ASSERT_EQ(Windowed(), kFailed);
    EXPECT_EQ(window, untouched);
    EXPECT_EQ(CallsFrom(2), (Calls{"window overlapped 10,20,650,500 parent 1 refused", "delete 1",
                                   "restore DISPLAY1 flags 0", "restore DISPLAY2 flags 0", "unregister T Class"}));
    EXPECT_EQ(display.AliveWindows(), 0);
}

TEST_F(SystemWindowTest, AMonitorOffTheDesktopTearsDownWindowsAndModes) {
    display.devices = {Primary(), Secondary()};
    display.devices[1].onDesktop = false;
    ASSERT_EQ(FullScreen(1024, 768, 32), kFailed);
    EXPECT_EQ(window, untouched);
    // The second device has no monitor on the desktop, so only the first
    // mode is put back.
    EXPECT_EQ(CallsFrom(3), (Calls{"delete 1", "restore DISPLAY1 flags 0", "unregister T Class"}));
    EXPECT_EQ(display.AliveWindows(), 0);
}

TEST_F(SystemWindowTest, AChildFillsItsParentAndIsNotReported) {
    display.devices = {Primary()};
    ASSERT_EQ(system.CreateSystemWindow(&window, "T", FakeDisplaySystem::Handle(FakeDisplaySystem::kParent), false,
                                        32, 0, 0, 640, 480),
              kOk);
    EXPECT_EQ(window, untouched);
    EXPECT_EQ(display.calls, (Calls{"register T Class", "window child 0,0,320,240 parent 100 -> 1"}));
}

TEST_F(SystemWindowTest, AChildThatCannotBeMadeUnregistersTheClass) {
    display.devices = {Primary()};
    display.failingWindowAttempt = 1;
    test::LogCapture log;
    ASSERT_EQ(system.CreateSystemWindow(&window, "T", FakeDisplaySystem::Handle(FakeDisplaySystem::kParent), false,
                                        32, 0, 0, 640, 480),
              kFailed);
    EXPECT_EQ(display.calls.back(), "unregister T Class");
    EXPECT_TRUE(log->Contains(kLogError, "Невозможно создать окно [T]."));
}

TEST_F(SystemWindowTest, RefusedArgumentsAndClass) {
    display.devices = {Primary()};
    test::LogCapture log;
    EXPECT_EQ(system.CreateSystemWindow(nullptr, "T", nullptr, false, 32, 0, 0, 640, 480), kInvalidArgument);
    EXPECT_TRUE(log->Contains(kLogError, "Указатель на окно равен 0."));
    EXPECT_TRUE(display.calls.empty());
    display.refuseClass = true;
    EXPECT_EQ(Windowed(), kFailed);
    EXPECT_TRUE(log->Contains(kLogError, "Невозможно зарегестрировать класс окна [T Class]."));
    EXPECT_EQ(display.calls, (Calls{"register T Class"}));
}

// The user closed the window; its default handling destroyed it already.
TEST_F(SystemWindowTest, AWindowAlreadyGoneStillRestoresAndUnregisters) {
    display.devices = {Primary()};
    ASSERT_EQ(FullScreen(1024, 768, 32), kOk);
    display.Kill(window);
    ASSERT_EQ(system.DestroySystemWindow(window), kOk);
    EXPECT_EQ(CallsFrom(3), (Calls{"restore DISPLAY1 flags 0", "unregister T Class"}));
}

TEST_F(SystemWindowTest, AWindowThatCannotBeDestroyedStillHasItsModesRestored) {
    display.devices = {Primary()};
    ASSERT_EQ(FullScreen(1024, 768, 32), kOk);
    display.refuseWindowRemoval = true;
    test::LogCapture log;
    ASSERT_EQ(system.DestroySystemWindow(window), kFailed);
    EXPECT_TRUE(log->Contains(kLogError, "Невозможно удалить системное окно."));
    // The class stays registered while its window exists.
    EXPECT_EQ(CallsFrom(3), (Calls{"delete 1", "restore DISPLAY1 flags 0"}));
}

TEST_F(SystemWindowTest, AClassThatCannotBeUnregisteredFails) {
    display.devices = {Primary()};
    ASSERT_EQ(Windowed(), kOk);
    display.refuseClassRemoval = true;
    test::LogCapture log;
    EXPECT_EQ(system.DestroySystemWindow(window), kFailed);
    EXPECT_TRUE(log->Contains(kLogError, "Невозможно разрегестрировать класс системного окна."));
}

class CountingHandler : public InputHandler {
public:
    void OnInputEvent(const InputEvent&) override { ++events; }
    int events = 0;
};

TEST_F(SystemWindowTest, CreateAndDestroyLogInOrderAndLetTheHandlersSeeTheDestruction) {
    display.devices = {Primary()};
    Pointer<CountingHandler> handler = new CountingHandler;
    RegisterInputHandler(handler);
    test::LogCapture log;
    ASSERT_EQ(Windowed(), kOk);
    PostInputEvent(InputEvent{kInputDeviceWindow, kInputActionClosed, 0, 0});
    ASSERT_EQ(system.DestroySystemWindow(window), kOk);
    system.DestroySystemWindow(nullptr);
    EXPECT_EQ(handler->events, 1);
    const std::vector<std::pair<int32_t, std::string>> expected = {
        {kLogInfo, "Создание системного окна [T]."},
        {kLogError, "SYSTEM DESTROY!!!"},
        {kLogInfo, "PROCESS INPUT!!!"},
        {kLogError, "SYSTEM DESTROY!!!"},
        {kLogWarning, "Указатель на окно равен 0."},
        {kLogError, "Невозможно разрегестрировать класс системного окна."},
    };
    ASSERT_EQ(log->lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(log->lines[i].level, expected[i].first) << i;
        EXPECT_EQ(log->lines[i].text, expected[i].second) << i;
    }
    InputManager::Terminate();
    EXPECT_EQ(InputManager::Initialize(), kOk);
}

}  // namespace
}  // namespace zel
