// The main of every benchmark program: the engine runs around the
// benchmarks, as it does around the code they measure in the screensaver.
#include <benchmark/benchmark.h>

#include "engine/core/Engine.h"

int main(int argc, char** argv) {
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (zel::EngineInitialize() != 0) return 1;
    ::benchmark::RunSpecifiedBenchmarks();
    const int32_t stopped = zel::EngineTerminate();
    ::benchmark::Shutdown();
    return stopped == 0 ? 0 : 1;
}
