#include "audio/Channel.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace zel::audio {

Channel::Channel(std::unique_ptr<Decoder> decoder, bool is3D) : decoder_(std::move(decoder)), is3D_(is3D) {}

bool Channel::Prepare() {
    try {
        block_.resize(static_cast<size_t>(kBlockFrames) * decoder_->GetChannels());
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool Channel::Play(bool restart) {
    if (restart) {
        if (!decoder_->Rewind()) return false;
        Restart();
    }
    if (!ended_) playing_ = true;
    return true;
}

void Channel::Restart() {
    blockCount_ = 0;
    blockPosition_ = 0;
    fraction_ = 0.0;
    primed_ = false;
    ended_ = false;
    gainsSet_ = false;
}

void Channel::SetVolume(int32_t volume) { volume_ = std::clamp(volume, 0, 100) / 100.0f; }

void Channel::SetPan(int32_t pan) { pan_ = std::clamp(pan, -100, 100) / 100.0f; }

void Channel::Set3DAttributes(int32_t mode, float minDistance, float maxDistance) {
    if (mode >= kModeNormal && mode <= kModeOff) pending_.mode = mode;
    if (minDistance > 0.0f) pending_.minDistance = minDistance;
    if (maxDistance > 0.0f) pending_.maxDistance = maxDistance;
}

void Channel::Set3DPosition(const Vec3* position, const Vec3* velocity) {
    if (position != nullptr) pending_.position = *position;
    if (velocity != nullptr) pending_.velocity = *velocity;
}

bool Channel::Refill() {
    blockPosition_ = 0;
    blockCount_ = decoder_->Read(block_.data(), kBlockFrames);
    // The loop's seam is crossed inside the resampler, which carries the
    // last frame over to the first: no gap and no jump.
    if (blockCount_ == 0 && loop_ && decoder_->Rewind()) blockCount_ = decoder_->Read(block_.data(), kBlockFrames);
    return blockCount_ > 0;
}

bool Channel::NextFrame(float* frame) {
    if (blockPosition_ >= blockCount_ && !Refill()) return false;
    const int32_t channels = decoder_->GetChannels();
    const float* at = block_.data() + static_cast<size_t>(blockPosition_++) * channels;
    if (channels == 1) {
        frame[0] = frame[1] = at[0];
    } else if (is3D_ && applied_.mode != kModeOff) {
        // A positioned source is a point: both sides of the file are heard
        // from there.
        frame[0] = frame[1] = 0.5f * (at[0] + at[1]);
    } else {
        frame[0] = at[0];
        frame[1] = at[1];
    }
    return true;
}

SpatialResult Channel::Gains(const MixContext& context) const {
    SpatialResult result;
    if (is3D_ && applied_.mode != kModeOff) {
        Listener listener = context.listener;
        Vec3 position = applied_.position;
        if (applied_.mode == kModeRelative) listener.position = listener.velocity = Vec3{};
        // Beyond the maximum distance the source gets no quieter.
        const float distance = std::sqrt(Dot(position - listener.position, position - listener.position));
        if (distance > applied_.maxDistance) {
            const float scale = applied_.maxDistance / distance;
            const Vec3 offset = position - listener.position;
            position = Vec3{listener.position.x + offset.x * scale, listener.position.y + offset.y * scale,
                            listener.position.z + offset.z * scale};
        }
        result = Spatialize(position, applied_.velocity, applied_.minDistance, listener, context.factors);
    } else if (!is3D_) {
        result.left = std::min(1.0f, 1.0f - pan_);
        result.right = std::min(1.0f, 1.0f + pan_);
    }
    const float volume = volume_ * context.streamVolume;
    result.left *= volume;
    result.right *= volume;
    return result;
}

void Channel::Mix(float* mix, int32_t frames, const MixContext& context) {
    if (!playing_ || frames <= 0) return;
    if (!primed_) {
        if (!NextFrame(previous_) || !NextFrame(next_)) {
            playing_ = false;
            ended_ = true;
            return;
        }
        primed_ = true;
    }
    const SpatialResult target = Gains(context);
    if (!gainsSet_) {
        gainLeft_ = target.left;
        gainRight_ = target.right;
        gainsSet_ = true;
    }
    const int32_t sourceRate = frequency_ > 0 ? frequency_ : decoder_->GetRate();
    const double step = static_cast<double>(sourceRate) * target.pitch / context.outputRate;
    const float rampLeft = (target.left - gainLeft_) / frames;
    const float rampRight = (target.right - gainRight_) / frames;
    for (int32_t i = 0; i < frames; ++i) {
        gainLeft_ += rampLeft;
        gainRight_ += rampRight;
        const float t = static_cast<float>(fraction_);
        mix[2 * i] += (previous_[0] + (next_[0] - previous_[0]) * t) * gainLeft_;
        mix[2 * i + 1] += (previous_[1] + (next_[1] - previous_[1]) * t) * gainRight_;
        fraction_ += step;
        while (fraction_ >= 1.0) {
            fraction_ -= 1.0;
            previous_[0] = next_[0];
            previous_[1] = next_[1];
            if (!NextFrame(next_)) {
                playing_ = false;
                ended_ = true;
                return;
            }
        }
    }
    gainLeft_ = target.left;
    gainRight_ = target.right;
}

}  // namespace zel::audio
