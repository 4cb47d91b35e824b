// The library's state apart from the output: the streams by handle, the
// listener and global 3D factors (pending until Apply3D), the global stream
// volume, and the mix itself. Not thread-safe: the library holds one lock
// around every call and around each mix.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/Channel.h"
#include "audio/Limiter.h"

namespace zel::audio {

class Mixer {
public:
    // Streams alive at once; creation beyond fails with kErrorNoChannel.
    static constexpr int32_t kMaxChannels = 1024;
    static constexpr uint32_t kStreamFlag3D = 8;

    explicit Mixer(int32_t rate);

    int32_t GetRate() const { return context_.outputRate; }

    // A stream over `length` bytes at `data` (kept alive by the caller);
    // its handle, or 0 with *error set.
    [[nodiscard]] uint32_t CreateStream(const void* data, uint32_t length, uint32_t flags, int32_t* error);
    // False for an unknown handle.
    bool FreeStream(uint32_t handle);
    void FreeAll() { channels_.clear(); }
    // Null for an unknown handle.
    Channel* Find(uint32_t handle);

    // Listener vectors, pending until Apply3D; null leaves one unchanged.
    void SetListener(const Vec3* position, const Vec3* velocity, const Vec3* front, const Vec3* top);
    // Negative values leave a factor unchanged.
    void SetFactors(float distance, float rolloff, float doppler);
    void Apply3D();
    void SetStreamVolume(int32_t percent);
    // Whether a stream plays at a volume above 0 under a global volume
    // above 0: only then does the mix need an output.
    bool IsAudible() const;

    // Mixes the next `frames` stereo frames of every playing stream, limited
    // to [-1, 1].
    void Render(float* mix, int32_t frames);
    // The same as 16-bit samples; `scratch` must hold 2 * frames floats.
    void Render(int16_t* out, float* scratch, int32_t frames);

private:
    struct Entry {
        uint32_t handle;
        std::unique_ptr<Channel> channel;
    };

    MixContext context_;
    Listener pendingListener_;
    Factors pendingFactors_;
    Limiter limiter_;
    std::vector<Entry> channels_;
    uint32_t nextHandle_ = 0x10001;  // handles are never reused
};

}  // namespace zel::audio
