// The sound library's cost per second of output for 1, 8 and 32
// simultaneous 3D streams, decoding and mixing apart: each iteration
// produces one second at 44.1 kHz, so its time is that second's cost (and
// its share of one core). Decoding goes through our decoder and, as the
// floor, through libvorbisfile alone on the same files; mixing uses
// float WAV streams, whose decoding is a copy.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <vorbis/vorbisfile.h>

#include "audio/Decoder.h"
#include "audio/Mixer.h"
#include "audio/TestSounds.h"

namespace zel::audio {
namespace {

constexpr int kRate = 44100;

// Four seconds of a chord with a little noise, so the encoder has work.
std::vector<float> Music() {
    std::vector<float> samples = test::Sine(220.0, 4.0, kRate, 1, 0.3f);
    const std::vector<float> fifth = test::Sine(330.0, 4.0, kRate, 1, 0.2f);
    std::srand(1);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] += fifth[i] + 0.05f * (static_cast<float>(std::rand()) / RAND_MAX - 0.5f);
    return samples;
}

const std::string& OggFile() {
    static const std::string file = test::MakeOgg(Music(), 1, kRate);
    return file;
}

const std::string& WavFile() {
    static const std::string file = test::MakeWav(Music(), 1, kRate, 32, true);
    return file;
}

void DecodeOurs(benchmark::State& state) {
    const int streams = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<Decoder>> decoders;
    for (int i = 0; i < streams; ++i)
        decoders.push_back(CreateDecoder(OggFile().data(), static_cast<uint32_t>(OggFile().size()), nullptr));
    std::vector<float> block(2048);
    for (auto _ : state) {
        for (auto& decoder : decoders) {
            for (int done = 0; done < kRate;) {
                int32_t got = decoder->Read(block.data(), 2048);
                if (got == 0) {
                    decoder->Rewind();
                    continue;
                }
                done += got;
            }
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DecodeOurs)->Arg(1)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

struct Memory {
    const std::string* file;
    size_t position;
};

size_t ReadMemory(void* out, size_t size, size_t count, void* source) {
    auto* memory = static_cast<Memory*>(source);
    const size_t items = std::min(count, (memory->file->size() - memory->position) / size);
    std::memcpy(out, memory->file->data() + memory->position, items * size);
    memory->position += items * size;
    return items;
}
int SeekMemory(void* source, ogg_int64_t offset, int whence) {
    auto* memory = static_cast<Memory*>(source);
    const ogg_int64_t base = whence == SEEK_CUR ? memory->position : whence == SEEK_END ? memory->file->size() : 0;
    memory->position = static_cast<size_t>(base + offset);
    return 0;
}
long TellMemory(void* source) { return static_cast<long>(static_cast<Memory*>(source)->position); }

void DecodeVorbisFileAlone(benchmark::State& state) {
    const int streams = static_cast<int>(state.range(0));
    std::vector<Memory> memories(streams, Memory{&OggFile(), 0});
    std::vector<OggVorbis_File> files(streams);
    const ov_callbacks callbacks = {&ReadMemory, &SeekMemory, nullptr, &TellMemory};
    for (int i = 0; i < streams; ++i) ov_open_callbacks(&memories[i], &files[i], nullptr, 0, callbacks);
    for (auto _ : state) {
        for (OggVorbis_File& file : files) {
            for (int done = 0; done < kRate;) {
                float** pcm = nullptr;
                int link = 0;
                const long got = ov_read_float(&file, &pcm, 2048, &link);
                if (got <= 0) {
                    ov_pcm_seek(&file, 0);
                    continue;
                }
                done += static_cast<int>(got);
            }
        }
        benchmark::ClobberMemory();
    }
    for (OggVorbis_File& file : files) ov_clear(&file);
}
BENCHMARK(DecodeVorbisFileAlone)->Arg(1)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

void Mix3D(benchmark::State& state) {
    const int streams = static_cast<int>(state.range(0));
    Mixer mixer(kRate);
    for (int i = 0; i < streams; ++i) {
        int32_t error = 0;
        const uint32_t handle = mixer.CreateStream(WavFile().data(), static_cast<uint32_t>(WavFile().size()),
                                                   Mixer::kStreamFlag3D, &error);
        Channel* channel = mixer.Find(handle);
        const Vec3 position{std::sin(i * 0.7f) * 5.0f, 0.0f, std::cos(i * 0.7f) * 5.0f};
        channel->Set3DPosition(&position, nullptr);
        channel->SetLoop(true);
        channel->Play(false);
    }
    mixer.Apply3D();
    std::vector<float> mix(2 * 1024);
    for (auto _ : state) {
        for (int done = 0; done < kRate; done += 1024) mixer.Render(mix.data(), std::min(1024, kRate - done));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Mix3D)->Arg(1)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zel::audio

BENCHMARK_MAIN();
