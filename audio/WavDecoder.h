// PCM WAV (RIFF): 8, 16, 24 or 32-bit integer samples or 32-bit floats,
// one or two channels, read straight from memory.
#pragma once

#include "audio/Decoder.h"

namespace zel::audio {

class WavDecoder final : public Decoder {
public:
    WavDecoder(const uint8_t* data, uint32_t length);

    // Parses the chunks; false (with *error set) for anything malformed or
    // unsupported.
    bool Open(int32_t* error);

    int32_t Read(float* out, int32_t frames) override;
    bool Rewind() override;

private:
    bool ReadFormat(const uint8_t* chunk, uint32_t size);
    float Sample(const uint8_t* at) const;

    const uint8_t* data_;
    uint32_t length_;
    const uint8_t* samples_ = nullptr;
    uint32_t frameCount_ = 0;
    uint32_t frame_ = 0;
    int32_t bytesPerSample_ = 0;
    bool float_ = false;
};

}  // namespace zel::audio
