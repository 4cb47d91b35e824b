// A source of PCM frames read from a block of memory the caller keeps alive:
// Ogg Vorbis or PCM WAV, decoded on demand a block at a time.
#pragma once

#include <cstdint>
#include <memory>

namespace zel::audio {

class Decoder {
public:
    // Accepted formats.
    static constexpr int32_t kMaxChannels = 2;
    static constexpr int32_t kMinRate = 1000;
    static constexpr int32_t kMaxRate = 384000;

    virtual ~Decoder() = default;

    int32_t GetChannels() const { return channels_; }
    int32_t GetRate() const { return rate_; }

    // Decodes up to `frames` frames into `out` (interleaved floats, nominally
    // within [-1, 1]); the number decoded, 0 at the end of the data or on
    // damaged data (which ends the sound early).
    virtual int32_t Read(float* out, int32_t frames) = 0;
    // Back to the first frame; false when that is impossible.
    virtual bool Rewind() = 0;

protected:
    int32_t channels_ = 0;
    int32_t rate_ = 0;
};

// Recognises the format by its signature and opens it; null when the data
// are neither format, are damaged, or use a layout the mixer cannot take
// (more than two channels, a rate outside the limits). *error (when
// non-null) receives a library error code on failure.
[[nodiscard]] std::unique_ptr<Decoder> CreateDecoder(const void* data, uint32_t length, int32_t* error);

}  // namespace zel::audio
