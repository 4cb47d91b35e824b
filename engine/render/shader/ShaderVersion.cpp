#include "engine/render/shader/ShaderVersion.h"

namespace zel {

namespace {

struct KnownVersion {
    bool pixel;
    int32_t major;
    int32_t minor;
    ShaderDialect dialect;
};

constexpr KnownVersion kKnownVersions[] = {
    {false, 1, 1, kVs11}, {false, 2, 0, kVs20}, {true, 1, 1, kPs11}, {true, 1, 2, kPs12},
    {true, 1, 3, kPs13},  {true, 1, 4, kPs14},  {true, 2, 0, kPs20},
};

}  // namespace

bool ShaderVersion::Parse(const char* text, int32_t length, ShaderVersion& version) {
    // "vs_1_1" or "vs.1.1": two letters, then separator, digit, separator, digit.
    if (length != 6 || text[1] != 's' || (text[0] != 'v' && text[0] != 'p')) return false;
    char separator = text[2];
    if ((separator != '_' && separator != '.') || text[4] != separator) return false;
    if (text[3] < '0' || text[3] > '9' || text[5] < '0' || text[5] > '9') return false;
    bool pixel = text[0] == 'p';
    int32_t major = text[3] - '0';
    int32_t minor = text[5] - '0';
    for (const KnownVersion& known : kKnownVersions) {
        if (known.pixel == pixel && known.major == major && known.minor == minor) {
            version = ShaderVersion{known.dialect, pixel, major, minor};
            return true;
        }
    }
    return false;
}

}  // namespace zel
