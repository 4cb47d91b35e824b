#include "audio/Mixer.h"

#include <algorithm>
#include <new>

#include "audio/ErrorCode.h"

namespace zel::audio {

Mixer::Mixer(int32_t rate) : limiter_(rate) { context_.outputRate = rate; }

uint32_t Mixer::CreateStream(const void* data, uint32_t length, uint32_t flags, int32_t* error) {
    if (static_cast<int32_t>(channels_.size()) >= kMaxChannels) {
        *error = kErrorNoChannel;
        return 0;
    }
    std::unique_ptr<Decoder> decoder = CreateDecoder(data, length, error);
    if (decoder == nullptr) return 0;
    std::unique_ptr<Channel> channel(new (std::nothrow) Channel(std::move(decoder), (flags & kStreamFlag3D) != 0));
    if (channel == nullptr || !channel->Prepare()) {
        *error = kErrorMemory;
        return 0;
    }
    try {
        channels_.push_back(Entry{nextHandle_, std::move(channel)});
    } catch (const std::bad_alloc&) {
        *error = kErrorMemory;
        return 0;
    }
    *error = kErrorOk;
    return nextHandle_++;
}

bool Mixer::FreeStream(uint32_t handle) {
    auto found = std::find_if(channels_.begin(), channels_.end(), [&](const Entry& e) { return e.handle == handle; });
    if (found == channels_.end()) return false;
    channels_.erase(found);
    return true;
}

Channel* Mixer::Find(uint32_t handle) {
    for (Entry& entry : channels_)
        if (entry.handle == handle) return entry.channel.get();
    return nullptr;
}

void Mixer::SetListener(const Vec3* position, const Vec3* velocity, const Vec3* front, const Vec3* top) {
    if (position != nullptr) pendingListener_.position = *position;
    if (velocity != nullptr) pendingListener_.velocity = *velocity;
    if (front != nullptr) pendingListener_.front = *front;
    if (top != nullptr) pendingListener_.top = *top;
}

void Mixer::SetFactors(float distance, float rolloff, float doppler) {
    if (distance > 0.0f) pendingFactors_.distance = distance;
    if (rolloff >= 0.0f) pendingFactors_.rolloff = rolloff;
    if (doppler >= 0.0f) pendingFactors_.doppler = doppler;
}

void Mixer::Apply3D() {
    context_.listener = pendingListener_;
    Orthonormalize(&context_.listener.front, &context_.listener.top);
    context_.factors = pendingFactors_;
    for (Entry& entry : channels_) entry.channel->Apply3D();
}

void Mixer::SetStreamVolume(int32_t percent) { context_.streamVolume = std::clamp(percent, 0, 100) / 100.0f; }

bool Mixer::IsAudible() const {
    if (context_.streamVolume <= 0.0f) return false;
    return std::any_of(channels_.begin(), channels_.end(), [](const Entry& e) { return e.channel->IsAudible(); });
}

void Mixer::Render(float* mix, int32_t frames) {
    std::fill(mix, mix + 2 * static_cast<size_t>(frames), 0.0f);
    for (Entry& entry : channels_) entry.channel->Mix(mix, frames, context_);
    limiter_.Process(mix, frames);
}

void Mixer::Render(int16_t* out, float* scratch, int32_t frames) {
    Render(scratch, frames);
    ToInt16(scratch, out, 2 * frames);
}

}  // namespace zel::audio
