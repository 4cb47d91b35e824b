// The message box seam: a test hook, else the system's box.
#include <atomic>

#include "engine/os/Os.h"

namespace zel::os {

namespace {
std::atomic<MessageBoxHook> messageBoxHook{nullptr};
}  // namespace

void ShowMessageBox(const char* text) {
    if (MessageBoxHook hook = messageBoxHook.load()) {
        hook(text);
        return;
    }
    ShowSystemMessageBox(text);
}

void SetMessageBoxHook(MessageBoxHook hook) { messageBoxHook.store(hook); }

}  // namespace zel::os
