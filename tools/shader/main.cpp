// zel-shader: assembles a shader program text with the engine's assembler.
//
//   zel-shader assemble IN OUT   writes the token stream as little-endian
//                                32-bit words; a bad program's error goes to
//                                stderr with its line and column.
//   zel-shader list DIR          writes the full text of every program the
//                                engine ships to DIR/<name> (the checked-in
//                                listings), after checking that each one
//                                assembles, and removes listings of programs
//                                that no longer exist.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <string>
#include <vector>

#include "engine/core/GrowableArray.h"
#include "engine/render/program/MaterialPrograms.h"
#include "engine/render/shader/ShaderAssembler.h"

namespace {

bool ReadAll(const char* path, std::vector<char>& bytes) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    char block[65536];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + got);
    bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

bool WriteTokens(const char* path, const zel::GrowableArray<uint32_t>& tokens) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    bool ok = true;
    for (uint32_t token : tokens) {
        unsigned char bytes[4] = {uint8_t(token), uint8_t(token >> 8), uint8_t(token >> 16), uint8_t(token >> 24)};
        ok = ok && std::fwrite(bytes, 1, 4, file) == 4;
    }
    return std::fclose(file) == 0 && ok;
}

int Assemble(const char* in, const char* out) {
    std::vector<char> text;
    if (!ReadAll(in, text)) {
        std::fprintf(stderr, "zel-shader: cannot read %s\n", in);
        return 1;
    }
    if (text.size() > INT32_MAX) {
        std::fprintf(stderr, "zel-shader: %s is too large\n", in);
        return 1;
    }
    zel::GrowableArray<uint32_t> tokens;
    zel::ShaderAssemblyError error;
    int32_t result = zel::ShaderAssembler::Assemble(text.data(), int32_t(text.size()), tokens, error);
    if (result != 0) {
        char message[256];
        zel::ShaderAssembler::FormatError(error, message, sizeof message);
        if (result == 1) std::fprintf(stderr, "%s: %s\n", in, message);
        else std::fprintf(stderr, "zel-shader: out of memory\n");
        return 1;
    }
    if (!WriteTokens(out, tokens)) {
        std::fprintf(stderr, "zel-shader: cannot write %s\n", out);
        return 1;
    }
    return 0;
}

bool WriteText(const std::string& path, const char* text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const size_t length = std::strlen(text);
    const bool ok = std::fwrite(text, 1, length, file) == length;
    return std::fclose(file) == 0 && ok;
}

bool IsShippedProgram(const std::string& name) {
    int32_t count = 0;
    const zel::NamedMaterialProgram* programs = zel::GetMaterialPrograms(count);
    for (int32_t i = 0; i < count; ++i)
        if (name == programs[i].name) return true;
    return false;
}

// Listings of programs that were renamed or dropped.
void RemoveStaleListings(const std::string& directory) {
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) return;
    std::vector<std::string> stale;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if ((name.ends_with(".vsh") || name.ends_with(".psh")) && !IsShippedProgram(name)) stale.push_back(name);
    }
    closedir(dir);
    for (const std::string& name : stale) std::remove((directory + "/" + name).c_str());
}

int List(const char* directory) {
    int32_t count = 0;
    const zel::NamedMaterialProgram* programs = zel::GetMaterialPrograms(count);
    int status = 0;
    for (int32_t i = 0; i < count; ++i) {
        const char* text = programs[i].text;
        zel::GrowableArray<uint32_t> tokens;
        zel::ShaderAssemblyError error;
        if (zel::ShaderAssembler::Assemble(text, int32_t(std::strlen(text)), tokens, error) != 0) {
            char message[256];
            zel::ShaderAssembler::FormatError(error, message, sizeof message);
            std::fprintf(stderr, "%s: %s\n", programs[i].name, message);
            status = 1;
            continue;
        }
        const std::string path = std::string(directory) + "/" + programs[i].name;
        if (!WriteText(path, text)) {
            std::fprintf(stderr, "zel-shader: cannot write %s\n", path.c_str());
            status = 1;
        }
    }
    RemoveStaleListings(directory);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "assemble") == 0) return Assemble(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "list") == 0) return List(argv[2]);
    std::fprintf(stderr, "usage: zel-shader assemble IN OUT | zel-shader list DIR\n");
    return 2;
}
