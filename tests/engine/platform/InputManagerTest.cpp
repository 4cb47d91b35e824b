// The input manager: handler order, the queue's growth and reuse, events
// outside the manager's life and registration rules. Its start and stop
// lines are checked by the boot test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "engine/platform/InputHandler.h"
#include "engine/platform/InputManager.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

struct Received {
    std::string handler;
    InputEvent event;
};

class RecordingHandler : public InputHandler {
public:
    RecordingHandler(const char* name, std::vector<Received>* received)
        : InputHandler(String(name)), received_(received) {}
    void OnInputEvent(const InputEvent& event) override { received_->push_back({GetName().CStr(), event}); }

private:
    std::vector<Received>* received_;
};

// Posts an event of its own for each one it receives.
class EchoHandler : public InputHandler {
public:
    void OnInputEvent(const InputEvent& event) override {
        ++seen;
        PostInputEvent(InputEvent{event.device, event.action, event.code + 1, 0});
    }
    int seen = 0;
};

InputEvent Key(int32_t code) { return InputEvent{kInputDeviceKeyboard, kInputActionPressed, code, 0}; }

// Each test starts with a fresh manager: no handlers, an empty queue.
class InputManagerTest : public ::testing::Test {
protected:
    void SetUp() override { Restart(); }
    void TearDown() override { Restart(); }
    static void Restart() {
        InputManager::Terminate();
        EXPECT_EQ(InputManager::Initialize(), kOk);
    }

    std::vector<Received> received;
};

TEST_F(InputManagerTest, TheLatestHandlerGetsEveryEventFirst) {
    Pointer<RecordingHandler> h1 = new RecordingHandler("H1", &received);
    Pointer<RecordingHandler> h2 = new RecordingHandler("H2", &received);
    ASSERT_EQ(RegisterInputHandler(h1), kOk);
    ASSERT_EQ(RegisterInputHandler(h2), kOk);
    PostInputEvent(Key(1));
    PostInputEvent(InputEvent{kInputDeviceMouse, kInputActionMoved, 640, 480});
    ASSERT_EQ(ProcessInput(), kOk);
    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(received[0].handler, "H2");
    EXPECT_EQ(received[0].event, Key(1));
    EXPECT_EQ(received[1].handler, "H2");
    EXPECT_EQ(received[1].event, (InputEvent{kInputDeviceMouse, kInputActionMoved, 640, 480}));
    EXPECT_EQ(received[2].handler, "H1");
    EXPECT_EQ(received[3].handler, "H1");
}

TEST_F(InputManagerTest, TwoHundredEventsGrowTheQueueByItsStepAndAllArrive) {
    EXPECT_EQ(InputManager::GetQueueCapacity(), 128);
    Pointer<RecordingHandler> h1 = new RecordingHandler("H1", &received);
    Pointer<RecordingHandler> h2 = new RecordingHandler("H2", &received);
    RegisterInputHandler(h1);
    RegisterInputHandler(h2);
    for (int32_t i = 0; i < 200; ++i) PostInputEvent(Key(i));
    EXPECT_EQ(InputManager::GetQueueCapacity(), 256);
    ASSERT_EQ(ProcessInput(), kOk);
    ASSERT_EQ(received.size(), 400u);
    for (int32_t i = 0; i < 200; ++i) {
        EXPECT_EQ(received[i].handler, "H2");
        EXPECT_EQ(received[i].event.code, i);
        EXPECT_EQ(received[200 + i].handler, "H1");
        EXPECT_EQ(received[200 + i].event.code, i);
    }
    // The slots are reused: the next pass starts empty in the same block.
    received.clear();
    PostInputEvent(Key(7));
    ProcessInput();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(InputManager::GetQueueCapacity(), 256);
}

TEST_F(InputManagerTest, EventsOutsideTheManagersLifeAreDropped) {
    Pointer<RecordingHandler> handler = new RecordingHandler("H", &received);
    PostInputEvent(Key(1));  // queued, then lost with the queue
    InputManager::Terminate();
    EXPECT_EQ(InputManager::GetQueueCapacity(), 0);
    PostInputEvent(Key(2));  // after termination
    EXPECT_EQ(InputManager::Initialize(), kOk);
    RegisterInputHandler(handler);
    ASSERT_EQ(ProcessInput(), kOk);
    EXPECT_TRUE(received.empty());
}

TEST_F(InputManagerTest, RegisteringTwiceWarnsAndKeepsOneEntry) {
    Pointer<RecordingHandler> handler = new RecordingHandler("H1", &received);
    ASSERT_EQ(RegisterInputHandler(handler), kOk);
    test::LogCapture log;
    EXPECT_EQ(RegisterInputHandler(handler), kOk);
    EXPECT_TRUE(log->Contains(kLogWarning, "Обработчик ввода [H1] уже зарегестрирован."));
    PostInputEvent(Key(3));
    ProcessInput();
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(InputManagerTest, ANullHandlerIsRefused) {
    test::LogCapture log;
    EXPECT_EQ(RegisterInputHandler(nullptr), kInvalidArgument);
    EXPECT_TRUE(log->Contains(kLogWarning, "Указатель на обработчик ввода равен 0."));
}

TEST_F(InputManagerTest, TerminationReleasesTheHandlers) {
    Pointer<RecordingHandler> handler = new RecordingHandler("H", &received);
    RegisterInputHandler(handler);
    EXPECT_EQ(handler->GetReferenceCount(), 2);
    InputManager::Terminate();
    EXPECT_EQ(handler->GetReferenceCount(), 1);
    EXPECT_EQ(InputManager::Initialize(), kOk);
    PostInputEvent(Key(1));
    ProcessInput();
    EXPECT_TRUE(received.empty());
}

// A handler that posts as it receives cannot keep a pass going for ever.
TEST_F(InputManagerTest, EventsPostedByAHandlerWaitForTheNextPass) {
    Pointer<EchoHandler> echo = new EchoHandler;
    RegisterInputHandler(echo);
    PostInputEvent(Key(1));
    ProcessInput();
    EXPECT_EQ(echo->seen, 1);
    ProcessInput();
    EXPECT_EQ(echo->seen, 2);
}

}  // namespace
}  // namespace zel
