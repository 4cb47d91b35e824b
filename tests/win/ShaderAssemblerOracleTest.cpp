// Every program of the shader corpus, and every program of the material
// effects, assembles to the same tokens with our assembler as with
// D3DXAssembleShader, the test-only oracle.
#include <windows.h>
#include <d3dx9.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/GrowableArray.h"
#include "engine/render/program/MaterialPrograms.h"
#include "engine/render/shader/ShaderAssembler.h"
#include "tests/support/TextFile.h"

namespace {

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(ZEL_SHADER_CORPUS "/*.?sh", &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::vector<uint32_t> OracleTokens(const std::string& text, std::string& errors) {
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* messages = nullptr;
    HRESULT hr = D3DXAssembleShader(text.data(), UINT(text.size()), nullptr, nullptr, 0, &code, &messages);
    std::vector<uint32_t> tokens;
    if (messages != nullptr) {
        errors.assign(static_cast<const char*>(messages->GetBufferPointer()), messages->GetBufferSize());
        messages->Release();
    }
    if (SUCCEEDED(hr) && code != nullptr) {
        const DWORD* words = static_cast<const DWORD*>(code->GetBufferPointer());
        tokens.assign(words, words + code->GetBufferSize() / 4);
    }
    if (code != nullptr) code->Release();
    return tokens;
}

TEST(ShaderAssemblerOracle, CorpusIsThere) {
    EXPECT_GE(CorpusFiles().size(), 10u);
}

void ExpectOracleTokens(const std::string& text) {
    std::string errors;
    std::vector<uint32_t> expected = OracleTokens(text, errors);
    ASSERT_FALSE(expected.empty()) << errors;
    zel::GrowableArray<uint32_t> tokens;
    zel::ShaderAssemblyError error;
    ASSERT_EQ(zel::ShaderAssembler::Assemble(text.data(), int32_t(text.size()), tokens, error), 0)
        << error.line << ":" << error.column << " " << error.message;
    std::vector<uint32_t> ours(tokens.begin(), tokens.end());
    ASSERT_EQ(ours.size(), expected.size());
    for (size_t i = 0; i < ours.size(); ++i) EXPECT_EQ(ours[i], expected[i]) << "token " << i;
}

TEST(ShaderAssemblerOracle, EveryCorpusProgramMatchesTheOracle) {
    for (const std::string& name : CorpusFiles()) {
        SCOPED_TRACE(name);
        std::string text;
        ASSERT_TRUE(zel::test::ReadTextFile(std::string(ZEL_SHADER_CORPUS "/") + name, text));
        ASSERT_FALSE(text.empty());
        ExpectOracleTokens(text);
    }
}

TEST(ShaderAssemblerOracle, EveryMaterialProgramMatchesTheOracle) {
    int32_t count = 0;
    const zel::NamedMaterialProgram* programs = zel::GetMaterialPrograms(count);
    ASSERT_GT(count, 0);
    for (int32_t i = 0; i < count; ++i) {
        SCOPED_TRACE(programs[i].name);
        ExpectOracleTokens(programs[i].text);
    }
}

}  // namespace
