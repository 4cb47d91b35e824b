// The shader assembler's speed on the programs the engine ships and on the
// shader corpus: reports instructions (statements after the version line)
// per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <dirent.h>
#include <string>
#include <vector>

#include "engine/core/GrowableArray.h"
#include "engine/render/program/MaterialPrograms.h"
#include "engine/render/shader/ShaderAssembler.h"
#include "engine/render/shader/ShaderLexer.h"

namespace zel {
namespace {

std::vector<std::string> CorpusPrograms() {
    std::string source = __FILE__;
    std::string directory = source.substr(0, source.rfind("bench/")) + "tests/data/shader";
    std::vector<std::string> programs;
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) return programs;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (!name.ends_with(".vsh") && !name.ends_with(".psh")) continue;
        std::FILE* file = std::fopen((directory + "/" + name).c_str(), "rb");
        if (file == nullptr) continue;
        std::string text;
        char block[4096];
        size_t got = 0;
        while ((got = std::fread(block, 1, sizeof block, file)) > 0) text.append(block, got);
        std::fclose(file);
        programs.push_back(text);
    }
    closedir(dir);
    return programs;
}

// Statements after the version line: identifiers that open a line.
int64_t CountInstructions(const std::string& text) {
    ShaderLexer lexer(text.data(), int32_t(text.size()));
    int64_t statements = 0;
    bool lineStart = true;
    for (ShaderToken token = lexer.Next(); token.kind != ShaderToken::kEnd; token = lexer.Next()) {
        if (token.kind == ShaderToken::kIdentifier && lineStart) ++statements;
        lineStart = token.kind == ShaderToken::kNewline || (lineStart && token.kind == ShaderToken::kPlus);
    }
    return statements - 1;
}

// Assembles every program of `programs` per iteration.
void AssembleAll(benchmark::State& state, const std::vector<std::string>& programs) {
    int64_t instructions = 0;
    for (const std::string& text : programs) instructions += CountInstructions(text);
    if (programs.empty()) state.SkipWithError("no programs");
    GrowableArray<uint32_t> tokens;
    ShaderAssemblyError error;
    for (auto _ : state) {
        for (const std::string& text : programs) {
            int32_t result = ShaderAssembler::Assemble(text.data(), int32_t(text.size()), tokens, error);
            benchmark::DoNotOptimize(result);
        }
    }
    state.counters["instructions/s"] =
        benchmark::Counter(double(instructions), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_AssembleShippedPrograms(benchmark::State& state) {
    int32_t count = 0;
    const NamedMaterialProgram* shipped = GetMaterialPrograms(count);
    std::vector<std::string> programs;
    for (int32_t i = 0; i < count; ++i) programs.emplace_back(shipped[i].text);
    AssembleAll(state, programs);
}
BENCHMARK(BM_AssembleShippedPrograms);

void BM_AssembleCorpus(benchmark::State& state) { AssembleAll(state, CorpusPrograms()); }
BENCHMARK(BM_AssembleCorpus);

}  // namespace
}  // namespace zel

