// One entry of a RAR 2.0 archive as its file header describes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zel {

struct Rar2Entry {
    // As stored: 8-bit characters, backslash separators. For a Unicode name
    // (flag 0x200) the 8-bit name that precedes the encoded one.
    std::string name;
    uint32_t attributes = 0;     // as stored (DOS attributes, or a Unix mode)
    uint32_t dosAttributes = 0;  // DOS attributes; Unix modes mapped to 0x10 / 0x20
    uint64_t packedSize = 0;
    uint64_t unpackedSize = 0;
    uint32_t crc32 = 0;       // of the unpacked bytes
    uint32_t dosTime = 0;     // modification time, DOS date in the high word
    uint16_t flags = 0;
    uint8_t hostOs = 0;
    uint8_t unpackVersion = 0;
    uint8_t method = 0;
    uint32_t dictionarySize = 0;  // 0 for directories
    bool isDirectory = false;
    size_t dataOffset = 0;  // of the packed bytes within the archive
};

}  // namespace zel
