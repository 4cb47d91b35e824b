// One playing stream: its decoder, decoded a block ahead, a linear
// resampler to the output rate, looping, volume and pan, and its 3D
// placement. Changes to the 3D placement wait for Apply3D like the
// listener's. Not thread-safe: the mixer's owner serialises access.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/Decoder.h"
#include "audio/Spatial.h"

namespace zel::audio {

// What every channel needs from the mixer while mixing.
struct MixContext {
    int32_t outputRate = 44100;
    float streamVolume = 1.0f;  // global stream volume, 0 to 1
    Listener listener;
    Factors factors;
};

class Channel {
public:
    static constexpr int32_t kBlockFrames = 2048;
    // 3D modes.
    static constexpr int32_t kModeNormal = 0;
    static constexpr int32_t kModeRelative = 1;  // the position is relative to the listener
    static constexpr int32_t kModeOff = 2;       // played like a plain stream

    Channel(std::unique_ptr<Decoder> decoder, bool is3D);

    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // Allocates the block buffer; false when memory runs out.
    bool Prepare();

    bool Is3D() const { return is3D_; }
    bool IsPlaying() const { return playing_; }
    // Playing at a volume above 0.
    bool IsAudible() const { return playing_ && volume_ > 0.0f; }
    bool IsLooping() const { return loop_; }
    void SetLoop(bool loop) { loop_ = loop; }

    // Starts playing; `restart` goes back to the first frame. A one-shot
    // stream that has reached its end stays stopped unless restarted.
    // False when the decoder cannot rewind.
    bool Play(bool restart);
    // Stops, keeping the position.
    void Stop() { playing_ = false; }

    // volume 0..100, pan -100..100 (plain streams only); frequency 0 means
    // the file's own rate.
    void SetVolume(int32_t volume);
    void SetPan(int32_t pan);
    void SetFrequency(int32_t frequency) { frequency_ = frequency; }

    // Pending until Apply3D. Negative distances leave the value unchanged.
    void Set3DAttributes(int32_t mode, float minDistance, float maxDistance);
    void Set3DPosition(const Vec3* position, const Vec3* velocity);
    void Apply3D() { applied_ = pending_; }

    // Adds `frames` stereo frames of this channel to `mix`.
    void Mix(float* mix, int32_t frames, const MixContext& context);

private:
    struct Placement {
        int32_t mode = kModeNormal;
        float minDistance = 1.0f;
        float maxDistance = 1e9f;
        Vec3 position;
        Vec3 velocity;
    };

    bool NextFrame(float* frame);
    bool Refill();
    void Restart();
    SpatialResult Gains(const MixContext& context) const;

    std::unique_ptr<Decoder> decoder_;
    bool is3D_;
    bool loop_ = false;
    bool playing_ = false;
    bool ended_ = false;  // the data ran out; only a restart plays again
    float volume_ = 1.0f;
    float pan_ = 0.0f;
    int32_t frequency_ = 0;
    Placement pending_;
    Placement applied_;

    std::vector<float> block_;  // decoded frames, interleaved in the file's layout
    int32_t blockCount_ = 0;
    int32_t blockPosition_ = 0;

    // Resampler: the output lies between frames `previous_` and `next_`
    // (stereo), `fraction_` of the way.
    float previous_[2] = {};
    float next_[2] = {};
    double fraction_ = 0.0;
    bool primed_ = false;

    // Gains of the last mixed frame, ramped towards new targets so changes
    // do not click; unset until the first mix after a start.
    float gainLeft_ = 0.0f;
    float gainRight_ = 0.0f;
    bool gainsSet_ = false;
};

}  // namespace zel::audio
