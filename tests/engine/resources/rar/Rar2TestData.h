// Helpers shared by the RAR 2.0 tests: the real archives under tests/data/rar
// and deterministic sample contents.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zel::rar2test {

// tests/data/rar, found from this file's own path so the tests need no
// configuration.
inline std::string DataPath(const char* name) {
    std::string path = __FILE__;
    path.resize(path.rfind('/'));                     // .../tests/engine/resources/rar
    path.resize(path.rfind("/engine/resources/rar"));  // .../tests
    return path + "/data/rar/" + name;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    return bytes;
}

// Small deterministic generator (xorshift), so every run sees the same data.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed ? seed : 1) {}
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

private:
    uint32_t state_;
};

inline std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed) {
    Random r(seed);
    std::vector<uint8_t> v(size);
    for (auto& b : v) b = uint8_t(r.Next() >> 24);
    return v;
}

// Text of words drawn from a small vocabulary: what most content files are like.
inline std::vector<uint8_t> TextBytes(size_t size, uint32_t seed) {
    static const char* const kWords[] = {"scene", "node", "camera", "light", "the", "of", "and",
                                         "texture", "shader", "frame", "water", "reflection", "car",
                                         "particle", "animation", "bloom", "shadow", "map", "\n"};
    Random r(seed);
    std::vector<uint8_t> v;
    v.reserve(size + 16);
    while (v.size() < size) {
        const char* w = kWords[r.Next() % (sizeof kWords / sizeof kWords[0])];
        while (*w) v.push_back(uint8_t(*w++));
        v.push_back(r.Next() % 7 == 0 ? ',' : ' ');
    }
    v.resize(size);
    return v;
}

// Binary records: slowly changing numbers, like vertex arrays or images.
inline std::vector<uint8_t> StructuredBytes(size_t size, uint32_t seed) {
    Random r(seed);
    std::vector<uint8_t> v(size);
    uint32_t x = 0;
    for (size_t i = 0; i < size; ++i) {
        if (i % 16 == 0) x += r.Next() % 5;
        v[i] = uint8_t(i % 16 < 4 ? (x >> (8 * (i % 4))) : (i % 16 < 8 ? 0 : (r.Next() % 3 + (i % 16))));
    }
    return v;
}

// A smooth interleaved signal: what the multimedia mode is for.
inline std::vector<uint8_t> AudioBytes(size_t size, uint32_t channels, uint32_t seed) {
    Random r(seed);
    std::vector<uint8_t> v(size);
    int32_t level[4] = {128, 100, 60, 200};
    int32_t speed[4] = {3, -2, 1, 4};
    for (size_t i = 0; i < size; ++i) {
        uint32_t c = uint32_t(i % channels);
        if (r.Next() % 64 == 0) speed[c] = int32_t(r.Next() % 9) - 4;
        level[c] += speed[c] + int32_t(r.Next() % 3) - 1;
        if (level[c] < 0 || level[c] > 255) speed[c] = -speed[c];
        level[c] = level[c] < 0 ? 0 : (level[c] > 255 ? 255 : level[c]);
        v[i] = uint8_t(level[c]);
    }
    return v;
}

}  // namespace zel::rar2test
