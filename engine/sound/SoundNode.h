// A node that plays one sound file of the virtual file system at its place:
// looping or once, optionally as a 3D sound positioned relative to the
// current camera every frame. The node owns a copy of the file's bytes,
// which its library stream reads from.
#pragma once

#include <cstdint>

#include "engine/core/String.h"
#include "engine/scene/Node.h"
#include "engine/sound/SoundFileStream.h"
#include "engine/math/MathConstants.h"

namespace zel {

class File;

class SoundNode : public Node {
    ZEL_DECLARE_RTTI

public:
    explicit SoundNode(const String& name = String());
    // Frees the stream and the sound data.
    ~SoundNode() override;

    // Parent data, then loop flag, minimum distance, the reserved integer,
    // 3D flag, file name, playing flag and volume.
    [[nodiscard]] int32_t Save(Stream& stream) override;
    // After the fields, the file is looked up below the mounted archives: a
    // missing file is a warning and the node stays silent (0); a file whose
    // sound cannot be loaded fails (1).
    [[nodiscard]] int32_t Load(Stream& stream) override;

    // The Node update, then, while playing and with a stream: counts the
    // playing time, places a 3D sound relative to the camera and asks the
    // library to play on (a stream already playing continues).
    void UpdateSelf(double time) override;

    // Replaces the stream with one over a copy of `file`'s whole content and
    // takes the file's name. 0 (also when the library makes no stream: a
    // warning, the node stays silent); 3 for a null file, one that cannot
    // be opened or has no data; 2 out of memory.
    int32_t LoadSound(File* file, bool is3D);
    // The file and 3D flag a saved node loads its sound from, without
    // loading it now (content tools write scenes without a sound device).
    void SetFileName(const String& fileName) { fileName_ = fileName; }
    void Set3D(bool is3D) { is3D_ = is3D; }
    void SetLoop(bool loop);
    void SetMinDistance(float distance);
    void SetVolume(int32_t volume);

    bool IsPlaying() const { return playing_; }
    // The sound animation and the application switch the node on and off.
    void SetPlaying(bool playing) { playing_ = playing; }
    uint32_t GetStream() const { return sound_.stream; }
    const String& GetFileName() const { return fileName_; }
    bool Is3D() const { return is3D_; }
    bool GetLoop() const { return loop_; }
    float GetMinDistance() const { return minDistance_; }
    int32_t GetVolume() const { return volume_; }
    float GetPlayingTime() const { return playingTime_; }
    int32_t GetReserved() const { return reserved_; }
    void SetReserved(int32_t value) { reserved_ = value; }

private:

    String fileName_;
    bool is3D_ = false;
    bool playing_ = true;
    SoundFileStream sound_;
    bool loop_ = false;
    float minDistance_ = kMaxFloat;
    int32_t reserved_ = 0;  // streamed, no effect on playback
    int32_t volume_ = 100;
    float playingTime_ = 0.0f;
};
ZEL_REGISTER_CLASS(SoundNode)

}  // namespace zel
