// A whole file read as bytes, for tests that compare or assemble texts.
#pragma once

#include <cstdio>
#include <string>

namespace zel::test {

// Appends the file's bytes to `text`; false when it cannot be opened.
inline bool ReadTextFile(const std::string& path, std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char block[4096];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) text.append(block, got);
    std::fclose(file);
    return true;
}

}  // namespace zel::test
