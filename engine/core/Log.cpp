#include "engine/core/Log.h"

#include <cstdio>

#include "engine/core/GrowableArray.h"
#include "engine/core/MessageOutput.h"
#include "engine/core/Pointer.h"

namespace zel {

namespace {

using OutputArray = GrowableArray<Pointer<MessageOutput>>;

// The registry is created on first use and destroyed with the program's
// static objects, which closes the outputs (and so the log file) at exit.
// Reports made after that find no registry and are dropped.
OutputArray* gOutputs = nullptr;

struct OutputRegistryOwner {
    ~OutputRegistryOwner() {
        delete gOutputs;
        gOutputs = nullptr;
    }
} gOutputRegistryOwner;

OutputArray* Outputs() {
    if (gOutputs == nullptr) gOutputs = new (std::nothrow) OutputArray(1, 1);
    return gOutputs;
}

int32_t FindOutput(const MessageOutput* output) {
    OutputArray* outputs = Outputs();
    if (outputs == nullptr) return -1;
    for (int32_t i = 0; i < outputs->Count(); ++i)
        if ((*outputs)[i].Get() == output) return i;
    return -1;
}

}  // namespace

void LogMessageV(int32_t level, const char* format, va_list arguments) {
    char buffer[kLogBufferSize];
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    if (gOutputs == nullptr) return;
    // The count is re-read after each call: an output may unregister itself.
    for (int32_t i = 0; gOutputs != nullptr && i < gOutputs->Count(); ++i) {
        Pointer<MessageOutput> output = (*gOutputs)[i];
        output->Output(level, String(buffer));
    }
}

#define ZEL_DEFINE_LOG_CALL(name, level)        \
    void name(const char* format, ...) {        \
        va_list arguments;                      \
        va_start(arguments, format);            \
        LogMessageV(level, format, arguments);  \
        va_end(arguments);                      \
    }

ZEL_DEFINE_LOG_CALL(LogInfo, kLogInfo)
ZEL_DEFINE_LOG_CALL(LogWarning, kLogWarning)
ZEL_DEFINE_LOG_CALL(LogError, kLogError)
ZEL_DEFINE_LOG_CALL(LogCritical, kLogCritical)

#undef ZEL_DEFINE_LOG_CALL

int32_t RegisterMessageOutput(MessageOutput* output) {
    if (output == nullptr) return kInvalidArgument;
    if (FindOutput(output) >= 0) {
        LogWarning("Объект вывода сообщений уже зарегестрирован. [%s]", output->GetName().CStr());
        return kOk;
    }
    OutputArray* outputs = Outputs();
    if (outputs == nullptr) return kOutOfMemory;
    int32_t result = outputs->Append(Pointer<MessageOutput>(output));
    if (result != kOk) return result;
    LogInfo("Объект вывода сообщений зарегестрирован. [%s]", output->GetName().CStr());
    return kOk;
}

int32_t UnregisterMessageOutput(MessageOutput* output) {
    int32_t index = FindOutput(output);
    if (output == nullptr || index < 0) return kInvalidArgument;
    LogInfo("Объект вывода сообщений разрегестрирован. [%s]", output->GetName().CStr());
    // The message may have changed the registry; look the entry up again.
    index = FindOutput(output);
    if (index >= 0) gOutputs->RemoveAt(index);
    return kOk;
}

int32_t GetMessageOutputCount() { return gOutputs == nullptr ? 0 : gOutputs->Count(); }

}  // namespace zel
