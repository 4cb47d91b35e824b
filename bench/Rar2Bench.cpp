// Throughput of the RAR 2.0 compressor and decoder on a few MiB of mixed,
// deterministic content, beside zlib (deflate level 6, inflate) on the same
// bytes (when zlib's headers are installed). Counters report the packed sizes
// for the ratio comparison.
#include <benchmark/benchmark.h>

#if __has_include(<zlib.h>)
#include <zlib.h>
#define ZEL_BENCH_ZLIB 1
#endif

#include <cstring>
#include <vector>

#include "engine/resources/rar/Rar2ByteBuffer.h"
#include "engine/resources/rar/Rar2Decoder.h"
#include "tools/rar2/writer/Rar2Encoder.h"

namespace {

uint32_t gState = 12345;
uint32_t Next() {
    gState ^= gState << 13;
    gState ^= gState >> 17;
    gState ^= gState << 5;
    return gState;
}

// 64 KiB pieces of text, binary records, noise, runs and a smooth signal,
// repeated in a fixed order up to 4 MiB.
const std::vector<uint8_t>& Content() {
    static std::vector<uint8_t> content = [] {
        static const char* const kWords[] = {"scene", "node", "camera", "light", "the", "of", "and", "texture",
                                             "shader", "frame", "water", "reflection", "particle", "animation",
                                             "bloom", "shadow", "map", "vertex", "index", "buffer", "\r\n"};
        std::vector<uint8_t> v;
        const size_t kPiece = 65536;
        int32_t level = 128;
        uint32_t x = 0;
        while (v.size() < (4u << 20)) {
            size_t kind = (v.size() / kPiece) % 10;
            for (size_t i = 0; i < kPiece; ++i) {
                uint8_t b;
                if (kind < 4) {  // text
                    const char* w = kWords[Next() % 21];
                    size_t n = std::strlen(w);
                    for (size_t k = 0; k < n && i < kPiece; ++k, ++i) v.push_back(uint8_t(w[k]));
                    b = ' ';
                } else if (kind < 7) {  // records: counters, zeros, small values
                    if (i % 16 == 0) x += Next() % 5;
                    b = uint8_t(i % 16 < 4 ? x >> (8 * (i % 4)) : (i % 16 < 8 ? 0 : Next() % 3 + i % 16));
                } else if (kind == 7) {  // noise
                    b = uint8_t(Next() >> 24);
                } else if (kind == 8) {  // runs
                    b = uint8_t((i / 300) * 7);
                } else {  // a smooth signal
                    level += int32_t(Next() % 5) - 2;
                    level = level < 0 ? 0 : (level > 255 ? 255 : level);
                    b = uint8_t(level);
                }
                if (i < kPiece) v.push_back(b);
            }
        }
        v.resize(4u << 20);
        return v;
    }();
    return content;
}

std::vector<uint8_t> RarPack(uint8_t method) {
    zel::Rar2Encoder encoder;
    zel::Rar2ByteBuffer out;
    zel::Rar2Encoder::Options options;
    options.method = method;
    encoder.Encode(Content().data(), Content().size(), false, options, out);
    return std::vector<uint8_t>(out.Data(), out.Data() + out.Size());
}

void BM_Rar2Compress(benchmark::State& state) {
    const std::vector<uint8_t>& content = Content();
    zel::Rar2Encoder::Options options;
    options.method = uint8_t(state.range(0));
    size_t packed = 0;
    for (auto _ : state) {
        zel::Rar2Encoder encoder;
        zel::Rar2ByteBuffer out;
        encoder.Encode(content.data(), content.size(), false, options, out);
        packed = out.Size();
    }
    state.SetBytesProcessed(int64_t(state.iterations() * content.size()));
    state.counters["packed"] = double(packed);
    state.counters["percent"] = 100.0 * double(packed) / double(content.size());
}
BENCHMARK(BM_Rar2Compress)->Arg(0x31)->Arg(0x33)->Arg(0x35)->Unit(benchmark::kMillisecond);

void BM_Rar2Decompress(benchmark::State& state) {
    const std::vector<uint8_t>& content = Content();
    std::vector<uint8_t> packed = RarPack(uint8_t(state.range(0)));
    std::vector<uint8_t> out(content.size());
    zel::Rar2Decoder decoder;
    decoder.Init();
    for (auto _ : state) {
        if (decoder.Decode(packed.data(), packed.size(), out.data(), out.size(), false) != 0)
            state.SkipWithError("decode failed");
    }
    if (out != content) state.SkipWithError("output differs");
    state.SetBytesProcessed(int64_t(state.iterations() * content.size()));
}
BENCHMARK(BM_Rar2Decompress)->Arg(0x31)->Arg(0x33)->Arg(0x35)->Unit(benchmark::kMillisecond);

#ifdef ZEL_BENCH_ZLIB
void BM_ZlibDeflate(benchmark::State& state) {
    const std::vector<uint8_t>& content = Content();
    std::vector<uint8_t> out(compressBound(uLong(content.size())));
    uLongf packed = 0;
    for (auto _ : state) {
        packed = uLongf(out.size());
        compress2(out.data(), &packed, content.data(), uLong(content.size()), int(state.range(0)));
    }
    state.SetBytesProcessed(int64_t(state.iterations() * content.size()));
    state.counters["packed"] = double(packed);
    state.counters["percent"] = 100.0 * double(packed) / double(content.size());
}
BENCHMARK(BM_ZlibDeflate)->Arg(1)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);

void BM_ZlibInflate(benchmark::State& state) {
    const std::vector<uint8_t>& content = Content();
    std::vector<uint8_t> packed(compressBound(uLong(content.size())));
    uLongf packedSize = uLongf(packed.size());
    compress2(packed.data(), &packedSize, content.data(), uLong(content.size()), 6);
    std::vector<uint8_t> out(content.size());
    for (auto _ : state) {
        uLongf size = uLongf(out.size());
        uncompress(out.data(), &size, packed.data(), packedSize);
    }
    state.SetBytesProcessed(int64_t(state.iterations() * content.size()));
}
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
