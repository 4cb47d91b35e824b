// Decoding 1024 x 1024 images: TGA (uncompressed and run-length), BMP and
// JPEG, through our decoders, through the codecs (which add the memory
// file's open copy) and through stb_image; for JPEG also libjpeg called
// directly, the floor our JPEG path is measured against. Reports pixels per
// second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#include <stb/stb_image.h>

#include "engine/core/Pointer.h"
#include "engine/resources/Image.h"
#include "engine/resources/MemoryFile.h"
#include "engine/resources/image/BMPImageCodec.h"
#include "engine/resources/image/BmpFormat.h"
#include "engine/resources/image/JPGImageCodec.h"
#include "engine/resources/image/JpegFormat.h"
#include "engine/resources/image/TGAImageCodec.h"
#include "engine/resources/image/TgaFormat.h"

namespace zel {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kSide = 1024;

// A texture-like picture: smooth gradients with noise, and flat patches
// that give run-length coding something to do.
Bytes Picture(int bpp) {
    Bytes pixels(size_t(kSide) * kSide * bpp);
    uint32_t state = 12345;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            for (int c = 0; c < bpp; ++c) {
                state = state * 1664525u + 1013904223u;
                bool flat = ((x / 32) + (y / 32)) % 2 == 0;
                pixels[(size_t(y) * kSide + x) * bpp + c] =
                    flat ? uint8_t(60 + 50 * c) : uint8_t((x + 2 * y + 40 * c) / 4 + (state >> 30));
            }
    return pixels;
}

Bytes TgaFile(bool runLength) {
    Bytes pixels = Picture(3);
    Bytes file(18, 0);
    file[2] = runLength ? 10 : 2;
    file[12] = file[14] = 0;
    file[13] = file[15] = kSide >> 8;
    file[16] = 24;
    if (!runLength) {
        file.insert(file.end(), pixels.begin(), pixels.end());
        return file;
    }
    const size_t count = pixels.size() / 3;
    auto same = [&](size_t a, size_t b) {
        return pixels[a * 3] == pixels[b * 3] && pixels[a * 3 + 1] == pixels[b * 3 + 1] &&
               pixels[a * 3 + 2] == pixels[b * 3 + 2];
    };
    for (size_t i = 0; i < count;) {
        size_t run = 1;
        while (i + run < count && run < 128 && same(i, i + run)) ++run;
        if (run == 1)
            while (i + run < count && run < 128 && !(i + run + 1 < count && same(i + run, i + run + 1))) ++run;
        bool repeat = run > 1 && same(i, i + 1);
        file.push_back(uint8_t((repeat ? 0x80 : 0) | (run - 1)));
        file.insert(file.end(), pixels.begin() + i * 3, pixels.begin() + (repeat ? i + 1 : i + run) * 3);
        i += run;
    }
    return file;
}

Bytes BmpFile() {
    Bytes pixels = Picture(3);
    ByteBlock out;
    BmpFormat::Encode(pixels.data(), kSide, kSide, Image::kFormatRGB, out);
    return Bytes(out.Data(), out.Data() + out.Size());
}

// Compressed by libjpeg itself at quality 85, 4:2:0.
Bytes JpegFile() {
    Bytes pixels = Picture(3);
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = info.image_height = kSide;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = pixels.data() + size_t(info.next_scanline) * kSide * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes file(buffer, buffer + size);
    std::free(buffer);
    return file;
}

const Bytes& FileOf(int kind) {
    static const Bytes files[] = {TgaFile(false), TgaFile(true), BmpFile(), JpegFile()};
    return files[kind];
}

enum Kind { kTga, kTgaRunLength, kBmp, kJpeg };

void Report(benchmark::State& state, int kind) {
    state.SetItemsProcessed(int64_t(state.iterations()) * kSide * kSide);
    state.counters["file_bytes"] = double(FileOf(kind).size());
}

using DecodeFunction = int32_t (*)(const uint8_t*, int32_t, ImagePixels&);

DecodeFunction DecoderOf(int kind) {
    if (kind == kBmp) return &BmpFormat::Decode;
    if (kind == kJpeg) return &JpegFormat::Decode;
    return &TgaFormat::Decode;
}

void BM_Ours(benchmark::State& state, int kind) {
    const Bytes& file = FileOf(kind);
    DecodeFunction decode = DecoderOf(kind);
    for (auto _ : state) {
        ImagePixels pixels;
        if (decode(file.data(), int32_t(file.size()), pixels) != 0) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels.GetData());
    }
    Report(state, kind);
}

Pointer<ImageCodec> CodecOf(int kind) {
    if (kind == kBmp) return new BMPImageCodec();
    if (kind == kJpeg) return new JPGImageCodec();
    return new TGAImageCodec();
}

// The codec's Load on a memory file: the file's open copy included.
void BM_Codec(benchmark::State& state, int kind) {
    const Bytes& file = FileOf(kind);
    static const char* const kNames[] = {"bench.tga", "bench.tga", "bench.bmp", "bench.jpg"};
    MemoryFile memory{String(kNames[kind])};
    memory.SetBorrowedSourceData(file.data(), uint32_t(file.size()));
    Pointer<ImageCodec> codec = CodecOf(kind);
    for (auto _ : state) {
        // A fresh image each time, as every texture of a scene loads into an
        // image of its own. Reloading into one image would keep its old block
        // alive while the new one is decoded, and the allocator would hand
        // out (and fault in) fresh pages every time.
        Pointer<Image> image = new Image();
        if (codec->Load(&memory, image) != 0) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(image->GetData());
    }
    memory.ClearSourceData();
    Report(state, kind);
}

// What the codec path adds to the decoder: the copy each open of a memory
// file makes of its bytes, with the fresh block's first touch.
void BM_OpenCopy(benchmark::State& state, int kind) {
    const Bytes& file = FileOf(kind);
    MemoryFile memory{String("bench")};
    memory.SetBorrowedSourceData(file.data(), uint32_t(file.size()));
    for (auto _ : state) {
        if (memory.Open(File::kModeRead) != 0) state.SkipWithError("open failed");
        benchmark::DoNotOptimize(memory.GetBuffer());
        memory.Close();
    }
    memory.ClearSourceData();
    Report(state, kind);
}

void BM_Stb(benchmark::State& state, int kind) {
    const Bytes& file = FileOf(kind);
    for (auto _ : state) {
        int width, height, components;
        stbi_uc* pixels = stbi_load_from_memory(file.data(), int(file.size()), &width, &height, &components, 0);
        if (pixels == nullptr) state.SkipWithError("stb failed");
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    Report(state, kind);
}

// libjpeg's own memory source, rows top first into one block: no row
// reversal, no engine code.
void BM_LibjpegDirect(benchmark::State& state) {
    const Bytes& file = FileOf(kJpeg);
    for (auto _ : state) {
        jpeg_decompress_struct info;
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, file.data(), file.size());
        jpeg_read_header(&info, TRUE);
        jpeg_start_decompress(&info);
        const size_t stride = size_t(info.output_width) * info.output_components;
        uint8_t* pixels = new uint8_t[stride * info.output_height];
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels + stride * info.output_scanline;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(pixels);
        delete[] pixels;
    }
    Report(state, kJpeg);
}

BENCHMARK_CAPTURE(BM_Ours, tga, kTga);
BENCHMARK_CAPTURE(BM_Codec, tga, kTga);
BENCHMARK_CAPTURE(BM_OpenCopy, tga, kTga);
BENCHMARK_CAPTURE(BM_Stb, tga, kTga);
BENCHMARK_CAPTURE(BM_Ours, tga_rle, kTgaRunLength);
BENCHMARK_CAPTURE(BM_Codec, tga_rle, kTgaRunLength);
BENCHMARK_CAPTURE(BM_Stb, tga_rle, kTgaRunLength);
BENCHMARK_CAPTURE(BM_Ours, bmp, kBmp);
BENCHMARK_CAPTURE(BM_Codec, bmp, kBmp);
BENCHMARK_CAPTURE(BM_OpenCopy, bmp, kBmp);
BENCHMARK_CAPTURE(BM_Stb, bmp, kBmp);
BENCHMARK_CAPTURE(BM_Ours, jpeg, kJpeg);
BENCHMARK_CAPTURE(BM_Codec, jpeg, kJpeg);
BENCHMARK_CAPTURE(BM_Stb, jpeg, kJpeg);
BENCHMARK(BM_LibjpegDirect);

}  // namespace
}  // namespace zel
