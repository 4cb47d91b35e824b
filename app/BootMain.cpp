// Starts and stops the engine once, logging to a file, and prints where the
// log file is. Usage: zel-boot [LOGFILE] (default: ZelLog.txt here).
#include <cstdio>

#include "engine/core/Engine.h"
#include "engine/core/FileMessageOutput.h"
#include "engine/core/Log.h"
#include "engine/core/Pointer.h"

int main(int argc, char** argv) {
    const char* logPath = argc > 1 ? argv[1] : "ZelLog.txt";
    zel::Pointer<zel::FileMessageOutput> log = new zel::FileMessageOutput(zel::String(logPath), zel::String());
    if (!log->IsOpen()) {
        std::fprintf(stderr, "zel-boot: cannot open log file %s\n", logPath);
        return 1;
    }
    zel::RegisterMessageOutput(log);
    int32_t started = zel::EngineInitialize();
    int32_t stopped = zel::EngineTerminate();
    std::printf("log file: %s\n", logPath);
    return started == zel::kOk && stopped == zel::kOk ? 0 : 1;
}
