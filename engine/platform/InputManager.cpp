#include "engine/platform/InputManager.h"

#include <new>

#include "engine/core/Engine.h"
#include "engine/core/GrowableArray.h"
#include "engine/core/Log.h"
#include "engine/core/Pointer.h"
#include "engine/platform/InputHandler.h"
#include "engine/platform/MessagePump.h"
#include "engine/platform/WindowSystemInstall.h"

namespace zel {

namespace {

constexpr int32_t kQueueStep = 128;

struct HandlerNode {
    Pointer<InputHandler> handler;
    HandlerNode* next;
};

using EventQueue = GrowableArray<InputEvent>;

// Exists between initialisation and termination.
EventQueue* gQueue = nullptr;
// Owned list, most recently registered first.
HandlerNode* gHandlers = nullptr;
// True while the handlers are being called.
bool gDispatching = false;

// A handler may post events, which can move the queue's block, so each event
// is copied out before it is handed on.
void DispatchQueuedEvents() {
    gDispatching = true;
    const int32_t count = gQueue->Count();
    for (HandlerNode* node = gHandlers; node != nullptr; node = node->next) {
        for (int32_t i = 0; i < count; ++i) {
            const InputEvent event = (*gQueue)[i];
            node->handler->OnInputEvent(event);
        }
    }
    gQueue->RemoveFront(count);
    gDispatching = false;
}

}  // namespace

int32_t InputManager::Initialize() {
    LogInfo("Инициализация менеджера ввода.");
    if (gQueue == nullptr) {
        gQueue = new (std::nothrow) EventQueue(kQueueStep, kQueueStep);
        if (gQueue != nullptr && gQueue->Reserve(kQueueStep) != kOk) {
            delete gQueue;
            gQueue = nullptr;
        }
    }
    if (gQueue == nullptr) {
        LogError("Недостаточно памяти для инициализации менеджера ввода.");
        return kFailed;
    }
    InstallWindowSystem();
    LogInfo("Менеджер ввода инициализирован.");
    return kOk;
}

int32_t InputManager::Terminate() {
    LogInfo("Завершение работы менеджера ввода.");
    UninstallWindowSystem();
    delete gQueue;
    gQueue = nullptr;
    // Detached first: a handler's destructor may post or register.
    HandlerNode* node = gHandlers;
    gHandlers = nullptr;
    while (node != nullptr) {
        HandlerNode* next = node->next;
        delete node;
        node = next;
    }
    LogInfo("Менеджер ввода завершил работу.");
    return kOk;
}

int32_t InputManager::GetQueueCapacity() { return gQueue != nullptr ? gQueue->Capacity() : 0; }

int32_t RegisterInputHandler(InputHandler* handler) {
    if (handler == nullptr) {
        LogWarning("Указатель на обработчик ввода равен 0.");
        return kInvalidArgument;
    }
    for (HandlerNode* node = gHandlers; node != nullptr; node = node->next) {
        if (node->handler == handler) {
            LogWarning("Обработчик ввода [%s] уже зарегестрирован.", handler->GetName().CStr());
            return kOk;
        }
    }
    HandlerNode* node = new (std::nothrow) HandlerNode{handler, gHandlers};
    if (node == nullptr) {
        LogError("Недостаточно памяти для регистрации обработчика ввода [%s].", handler->GetName().CStr());
        return kOutOfMemory;
    }
    gHandlers = node;
    return kOk;
}

void PostInputEvent(const InputEvent& event) {
    if (gQueue != nullptr) gQueue->Append(event);
}

int32_t ProcessInput() {
    if (PumpMessages() != kOk) {
        LogError("Системный ввод неудачен.");
        return kFailed;
    }
    if (gQueue != nullptr && !gDispatching) DispatchQueuedEvents();
    return kOk;
}

}  // namespace zel
