// Helpers shared by the image tests: hand-built TGA and BMP files (written
// byte by byte here, independently of the engine's encoders), deterministic
// pixels, memory files and the test data directory.
#pragma once

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/resources/MemoryFile.h"
#include "engine/resources/image/ImagePixels.h"

namespace zel::imagetest {

using Bytes = std::vector<uint8_t>;

// A format's decode of a whole file: its status and the picture.
struct Decoded {
    int32_t status = 0;
    ImagePixels pixels;
};

template <class Format>
Decoded DecodeAs(const Bytes& file) {
    Decoded result;
    result.status = Format::Decode(file.data(), int32_t(file.size()), result.pixels);
    return result;
}

// The bytes of a picture.
inline Bytes Data(const ImagePixels& pixels) { return Bytes(pixels.GetData(), pixels.GetData() + pixels.GetSize()); }

inline void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

inline void PutLE(Bytes& to, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) to.push_back(uint8_t(value >> (8 * i)));
}

// The 18-byte TGA header; colour-map and origin fields zero.
inline Bytes TgaHeader(uint8_t type, uint16_t width, uint16_t height, uint8_t bits, uint8_t descriptor = 0,
                       uint8_t idLength = 0) {
    Bytes header(18, 0);
    header[0] = idLength;
    header[2] = type;
    header[12] = uint8_t(width);
    header[13] = uint8_t(width >> 8);
    header[14] = uint8_t(height);
    header[15] = uint8_t(height >> 8);
    header[16] = bits;
    header[17] = descriptor;
    return header;
}

inline Bytes Tga(uint8_t type, uint16_t width, uint16_t height, uint8_t bits, uint8_t descriptor,
                 const Bytes& payload) {
    Bytes file = TgaHeader(type, width, height, bits, descriptor);
    Append(file, payload);
    return file;
}

// Run-length packets for `pixels` (bytes per pixel each): runs of equal
// pixels become repeat packets, the rest literal packets, at most 128
// pixels per packet.
inline Bytes TgaRunLength(const Bytes& pixels, int bpp) {
    Bytes out;
    const size_t count = pixels.size() / bpp;
    auto same = [&](size_t a, size_t b) {
        for (int k = 0; k < bpp; ++k)
            if (pixels[a * bpp + k] != pixels[b * bpp + k]) return false;
        return true;
    };
    for (size_t i = 0; i < count;) {
        size_t run = 1;
        while (i + run < count && run < 128 && same(i, i + run)) ++run;
        if (run > 1) {
            out.push_back(uint8_t(0x80 | (run - 1)));
            out.insert(out.end(), pixels.begin() + i * bpp, pixels.begin() + (i + 1) * bpp);
        } else {
            size_t literal = 1;
            while (i + literal < count && literal < 128 && !(i + literal + 1 < count && same(i + literal, i + literal + 1)))
                ++literal;
            out.push_back(uint8_t(literal - 1));
            out.insert(out.end(), pixels.begin() + i * bpp, pixels.begin() + (i + literal) * bpp);
            run = literal;
        }
        i += run;
    }
    return out;
}

// A BMP file: headers with the given fields, `gap` bytes (a palette) and
// the rows as given (already padded by the caller).
struct BmpFields {
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t infoSize = 40;
    int32_t offsetDelta = 0;  // added to the true pixel offset
    uint16_t magic = 0x4D42;
};

inline Bytes Bmp(const BmpFields& f, const Bytes& gap, const Bytes& rows) {
    Bytes file;
    const uint32_t offset = uint32_t(54 + gap.size() + f.offsetDelta);
    PutLE(file, f.magic, 2);
    PutLE(file, uint32_t(54 + gap.size() + rows.size()), 4);
    PutLE(file, 0, 4);
    PutLE(file, offset, 4);
    PutLE(file, f.infoSize, 4);
    PutLE(file, uint32_t(f.width), 4);
    PutLE(file, uint32_t(f.height), 4);
    PutLE(file, 1, 2);
    PutLE(file, f.bits, 2);
    PutLE(file, f.compression, 4);
    PutLE(file, uint32_t(rows.size()), 4);
    PutLE(file, 2835, 4);
    PutLE(file, 2835, 4);
    PutLE(file, 0, 4);
    PutLE(file, 0, 4);
    Append(file, gap);
    Append(file, rows);
    return file;
}

// Rows of `rowBytes` pixel bytes each padded with zeros to a multiple of 4.
inline Bytes PadRows(const Bytes& pixels, size_t rowBytes) {
    Bytes out;
    for (size_t at = 0; at < pixels.size(); at += rowBytes) {
        out.insert(out.end(), pixels.begin() + at, pixels.begin() + at + rowBytes);
        while (out.size() % 4 != 0) out.push_back(0);
    }
    return out;
}

// A 256-entry grey palette (B, G, R, reserved).
inline Bytes GreyPalette() {
    Bytes palette;
    for (int i = 0; i < 256; ++i) palette.insert(palette.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
    return palette;
}

// Deterministic pixels with smooth areas and runs, like real textures.
inline Bytes PatternPixels(int width, int height, int bpp, uint32_t seed) {
    Bytes pixels(size_t(width) * height * bpp);
    uint32_t state = seed ? seed : 1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < bpp; ++c) {
                state ^= state << 13;
                state ^= state >> 17;
                state ^= state << 5;
                uint8_t smooth = uint8_t((x * (c + 1) * 3 + y * (5 - c) + seed) & 0xFF);
                bool flat = ((x / 8 + y / 8) % 3) == 0;
                pixels[(size_t(y) * width + x) * bpp + c] = flat ? uint8_t(40 * c + 17) : uint8_t(smooth ^ (state >> 29));
            }
    return pixels;
}

// Each pixel's bytes 0 and 2 exchanged (R, G, B and B, G, R both ways).
inline Bytes SwapRedBlue(Bytes pixels, int bpp) {
    if (bpp >= 3)
        for (size_t i = 0; i + bpp <= pixels.size(); i += bpp) std::swap(pixels[i], pixels[i + 2]);
    return pixels;
}

// The rows in the opposite order.
inline Bytes FlipRows(const Bytes& pixels, size_t rowBytes) {
    Bytes out;
    for (size_t at = pixels.size(); at >= rowBytes; at -= rowBytes)
        out.insert(out.end(), pixels.begin() + (at - rowBytes), pixels.begin() + at);
    return out;
}

// A read-only memory file holding a copy of `bytes`.
inline MemoryFile* NewMemoryFile(const char* name, const Bytes& bytes) {
    MemoryFile* file = new MemoryFile(String(name));
    uint8_t* copy = new uint8_t[bytes.empty() ? 1 : bytes.size()];
    std::copy(bytes.begin(), bytes.end(), copy);
    file->SetSourceData(copy, uint32_t(bytes.size()));
    return file;
}

// tests/data/image, found from this file's own path.
inline std::string DataPath(const char* name) {
    std::string path = __FILE__;
    path.resize(path.rfind("/engine/resources/image"));
    return path + "/data/image/" + name;
}

inline Bytes ReadBytes(const std::string& path) {
    Bytes bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    return bytes;
}

}  // namespace zel::imagetest
