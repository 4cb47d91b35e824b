#include "audio/VorbisDecoder.h"

#include <algorithm>
#include <cstring>

#include "audio/ErrorCode.h"

namespace zel::audio {

namespace {

// Damaged data can yield a run of holes; give up after this many in a row
// rather than spin.
constexpr int32_t kMaxHolesInARow = 64;
constexpr int32_t kCheckFrames = 64;

}  // namespace

VorbisDecoder::VorbisDecoder(const uint8_t* data, uint32_t length) : data_(data), length_(length) {}

VorbisDecoder::~VorbisDecoder() {
    if (open_) ov_clear(&file_);
}

size_t VorbisDecoder::ReadBytes(void* destination, size_t size, size_t count, void* source) {
    auto* self = static_cast<VorbisDecoder*>(source);
    if (size == 0) return 0;
    const size_t available = (self->length_ - self->position_) / size;
    const size_t items = std::min(count, available);
    std::memcpy(destination, self->data_ + self->position_, items * size);
    self->position_ += static_cast<uint32_t>(items * size);
    return items;
}

int VorbisDecoder::SeekBytes(void* source, ogg_int64_t offset, int whence) {
    auto* self = static_cast<VorbisDecoder*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR) base = self->position_;
    else if (whence == SEEK_END) base = self->length_;
    else if (whence != SEEK_SET) return -1;
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > self->length_) return -1;
    self->position_ = static_cast<uint32_t>(target);
    return 0;
}

long VorbisDecoder::TellBytes(void* source) { return static_cast<long>(static_cast<VorbisDecoder*>(source)->position_); }

bool VorbisDecoder::Open(int32_t* error) {
    const ov_callbacks callbacks = {&ReadBytes, &SeekBytes, nullptr, &TellBytes};
    if (ov_open_callbacks(this, &file_, nullptr, 0, callbacks) != 0) {
        *error = kErrorFormat;
        return false;
    }
    open_ = true;
    const vorbis_info* info = ov_info(&file_, -1);
    if (info == nullptr || info->channels < 1 || info->channels > kMaxChannels || info->rate < kMinRate ||
        info->rate > kMaxRate) {
        *error = kErrorFormat;
        return false;
    }
    channels_ = info->channels;
    rate_ = static_cast<int32_t>(info->rate);
    // A stream whose first audio packet cannot be decoded is refused now
    // rather than failing silently later.
    float check[kCheckFrames * kMaxChannels];
    if (Read(check, kCheckFrames) == 0 || !Rewind()) {
        *error = kErrorFormat;
        return false;
    }
    return true;
}

int32_t VorbisDecoder::Read(float* out, int32_t frames) {
    int32_t holes = 0;
    while (frames > 0) {
        float** pcm = nullptr;
        int link = 0;
        const long got = ov_read_float(&file_, &pcm, frames, &link);
        if (got == OV_HOLE && ++holes < kMaxHolesInARow) continue;
        if (got <= 0) return 0;
        // A chained stream whose layout changes ends here: the mixer's
        // resampler is set up for one layout.
        const vorbis_info* info = ov_info(&file_, link);
        if (info == nullptr || info->channels != channels_ || info->rate != rate_) return 0;
        const int32_t count = static_cast<int32_t>(std::min<long>(got, frames));
        for (int32_t i = 0; i < count; ++i)
            for (int32_t c = 0; c < channels_; ++c) out[i * channels_ + c] = pcm[c][i];
        return count;
    }
    return 0;
}

bool VorbisDecoder::Rewind() { return ov_pcm_seek(&file_, 0) == 0; }

}  // namespace zel::audio
