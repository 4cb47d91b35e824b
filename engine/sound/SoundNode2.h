// A node that plays one of two sound files at random intervals: after each
// interval (base ± spread seconds) a random one of the two starts from its
// beginning and the other stops. Both files must load for anything to play.
// The node owns copies of both files' bytes, which its streams read from.
#pragma once

#include <cstdint>

#include "engine/core/String.h"
#include "engine/scene/Node.h"
#include "engine/sound/SoundFileStream.h"
#include "engine/math/MathConstants.h"

namespace zel {

class SoundNode2 : public Node {
    ZEL_DECLARE_RTTI

public:
    explicit SoundNode2(const String& name = String());
    // Frees both streams and both data blocks.
    ~SoundNode2() override;

    // Parent data, then both file names, minimum distance, 3D flag, volume,
    // base interval and interval spread.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    // After the fields: LoadSounds, the volume and the minimum distance.
    // The status is that of the reads; missing files leave the node silent.
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // The Node update, then, with both streams: counts down the interval,
    // switches sounds when it runs out (the first update already plays
    // one) and places a 3D current sound relative to the camera.
    void UpdateSelf(double time) override;

    // Makes a stream for each named file found below the mounted archives
    // (a slot whose file is missing or unreadable stays empty), turns
    // looping off for both, and applies the minimum distance. Always 0.
    int32_t LoadSounds();
    void SetVolume(int32_t volume);
    void SetMinDistance(float distance);

    void SetFileNames(const String& first, const String& second) {
        fileNames_[0] = first;
        fileNames_[1] = second;
    }
    const String& GetFileName(int32_t slot) const { return fileNames_[slot]; }
    uint32_t GetStream(int32_t slot) const { return sounds_[slot].stream; }
    uint32_t GetCurrentStream() const { return currentStream_; }
    bool Is3D() const { return is3D_; }
    void Set3D(bool is3D) { is3D_ = is3D; }
    float GetMinDistance() const { return minDistance_; }
    int32_t GetVolume() const { return volume_; }
    float GetBaseInterval() const { return baseInterval_; }
    float GetIntervalSpread() const { return intervalSpread_; }
    void SetInterval(float base, float spread) {
        baseInterval_ = base;
        intervalSpread_ = spread;
    }
    float GetNextInterval() const { return nextInterval_; }
    float GetTimer() const { return timer_; }

    // Intervals that run out within one update, at most: an interval lost in
    // the timer's precision could otherwise hold the update forever. A
    // non-positive interval switches once per update.
    static constexpr int32_t kMaxSwitchesPerUpdate = 64;

private:
    void FreeSounds();
    void LoadSlot(int32_t slot);
    // Draws the next interval and starts one of the streams.
    void Switch();

    String fileNames_[2];
    SoundFileStream sounds_[2];
    float minDistance_ = kMaxFloat;
    bool is3D_ = false;
    int32_t volume_ = 100;
    float baseInterval_ = 1.0f;
    float intervalSpread_ = 0.0f;
    float timer_ = 0.0f;
    float nextInterval_ = 0.0f;
    uint32_t currentStream_ = 0;
};
ZEL_REGISTER_CLASS(SoundNode2)

}  // namespace zel
