#include "engine/resources/rar/Rar2Crc32.h"

#include <array>

namespace zel {

namespace {

// Eight tables let the loop fold eight bytes per step (slicing by eight).
struct CrcTables {
    std::array<std::array<uint32_t, 256>, 8> t{};

    constexpr CrcTables() {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
            t[0][i] = c;
        }
        for (uint32_t i = 0; i < 256; ++i)
            for (int k = 1; k < 8; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    }
};

constexpr CrcTables kTables;

}  // namespace

uint32_t Rar2Crc32::Update(uint32_t crc, const uint8_t* data, size_t size) {
    const auto& t = kTables.t;
    uint32_t c = ~crc;
    while (size >= 8) {
        uint32_t lo = c ^ (uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                           uint32_t(data[3]) << 24);
        c = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
            t[3][data[4]] ^ t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]];
        data += 8;
        size -= 8;
    }
    while (size-- > 0) c = (c >> 8) ^ t[0][(c ^ *data++) & 0xFF];
    return ~c;
}

}  // namespace zel
