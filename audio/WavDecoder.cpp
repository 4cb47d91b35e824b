#include "audio/WavDecoder.h"

#include <algorithm>
#include <cstring>

#include "audio/ErrorCode.h"

namespace zel::audio {

namespace {

uint32_t Read32(const uint8_t* at) { return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<uint32_t>(at[3]) << 24); }
uint16_t Read16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;

}  // namespace

WavDecoder::WavDecoder(const uint8_t* data, uint32_t length) : data_(data), length_(length) {}

bool WavDecoder::ReadFormat(const uint8_t* chunk, uint32_t size) {
    if (size < 16) return false;
    const uint16_t format = Read16(chunk);
    const uint16_t channels = Read16(chunk + 2);
    const uint32_t rate = Read32(chunk + 4);
    const uint16_t bits = Read16(chunk + 14);
    if (channels < 1 || channels > kMaxChannels || rate < kMinRate || rate > kMaxRate) return false;
    if (format == kFormatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) float_ = false;
    else if (format == kFormatFloat && bits == 32) float_ = true;
    else return false;
    channels_ = channels;
    rate_ = static_cast<int32_t>(rate);
    bytesPerSample_ = bits / 8;
    return true;
}

bool WavDecoder::Open(int32_t* error) {
    *error = kErrorFormat;
    if (length_ < 12 || std::memcmp(data_, "RIFF", 4) != 0 || std::memcmp(data_ + 8, "WAVE", 4) != 0) return false;
    bool haveFormat = false;
    // Chunks are walked with 64-bit offsets so a huge size cannot wrap.
    uint64_t at = 12;
    while (at + 8 <= length_) {
        const uint8_t* header = data_ + at;
        const uint64_t size = Read32(header + 4);
        const uint64_t body = at + 8;
        const uint32_t available = static_cast<uint32_t>(std::min<uint64_t>(size, length_ - body));
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (size > available || !ReadFormat(data_ + body, available)) return false;
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (!haveFormat) return false;
            // A truncated data chunk plays what is there.
            samples_ = data_ + body;
            frameCount_ = available / static_cast<uint32_t>(bytesPerSample_ * channels_);
            if (frameCount_ == 0) return false;
            *error = kErrorOk;
            return true;
        }
        at = body + size + (size & 1);
    }
    return false;
}

float WavDecoder::Sample(const uint8_t* at) const {
    switch (bytesPerSample_) {
        case 1: return (static_cast<int32_t>(at[0]) - 128) / 128.0f;
        case 2: return static_cast<int16_t>(Read16(at)) / 32768.0f;
        case 3: {
            // The three bytes become the top of a 32-bit sample.
            const uint32_t bits = (at[0] << 8) | (at[1] << 16) | (static_cast<uint32_t>(at[2]) << 24);
            return static_cast<int32_t>(bits) / 2147483648.0f;
        }
        default: break;
    }
    if (!float_) return static_cast<int32_t>(Read32(at)) / 2147483648.0f;
    float value;
    const uint32_t bits = Read32(at);
    std::memcpy(&value, &bits, sizeof value);
    // Not-a-number or huge values would poison the whole mix.
    return value == value ? std::clamp(value, -1.0f, 1.0f) : 0.0f;
}

int32_t WavDecoder::Read(float* out, int32_t frames) {
    const uint32_t count = std::min<uint32_t>(static_cast<uint32_t>(frames), frameCount_ - frame_);
    const int32_t stride = bytesPerSample_ * channels_;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* at = samples_ + static_cast<size_t>(frame_ + i) * stride;
        for (int32_t c = 0; c < channels_; ++c) out[i * channels_ + c] = Sample(at + c * bytesPerSample_);
    }
    frame_ += count;
    return static_cast<int32_t>(count);
}

bool WavDecoder::Rewind() {
    frame_ = 0;
    return true;
}

}  // namespace zel::audio
