// CRC-32 (reflected polynomial 0xEDB88320) of file data and, in its low 16
// bits, of RAR block headers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zel {

class Rar2Crc32 {
public:
    // Continues `crc` (0 for a fresh start) over `size` bytes.
    static uint32_t Update(uint32_t crc, const uint8_t* data, size_t size);
    static uint32_t Compute(const uint8_t* data, size_t size) { return Update(0, data, size); }
};

}  // namespace zel
