#include "engine/sound/SoundNode2.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "engine/core/Stream.h"
#include "engine/sound/SoundLibrary.h"
#include "engine/resources/File.h"
#include "engine/resources/FileManager.h"

namespace zel {

ZEL_DEFINE_RTTI(SoundNode2, Node)

SoundNode2::SoundNode2(const String& name) : Node(name) {}

SoundNode2::~SoundNode2() { FreeSounds(); }

void SoundNode2::FreeSounds() {
    for (SoundFileStream& sound : sounds_) sound.Free();
    currentStream_ = 0;
}

int32_t SoundNode2::LoadSounds() {
    FreeSounds();
    LoadSlot(0);
    LoadSlot(1);
    const SoundLibrary& library = GetSoundLibrary();
    if (sounds_[1].stream != 0) {
        library.ChannelSetFlags(sounds_[0].stream, 0);
        library.ChannelSetFlags(sounds_[1].stream, 0);
    }
    if (is3D_) library.Apply3D();
    SetMinDistance(minDistance_);
    return kOk;
}

void SoundNode2::LoadSlot(int32_t slot) {
    if (fileNames_[slot].IsEmpty()) return;
    // A file that cannot be loaded leaves the slot silent; the node plays on
    // without it, as it does when the library refuses the bytes.
    (void)sounds_[slot].Load(FindMountedFile(fileNames_[slot]), is3D_);
}

void SoundNode2::SetVolume(int32_t volume) {
    volume_ = volume;
    for (const SoundFileStream& sound : sounds_)
        if (sound.stream != 0) GetSoundLibrary().ChannelSetVolume(sound.stream, volume);
}

void SoundNode2::SetMinDistance(float distance) {
    minDistance_ = distance;
    for (const SoundFileStream& sound : sounds_)
        if (sound.stream != 0) GetSoundLibrary().ChannelSetMinDistance(sound.stream, distance);
    GetSoundLibrary().Apply3D();
}

void SoundNode2::UpdateSelf(double time) {
    Node::UpdateSelf(time);
    if (sounds_[0].stream == 0 || sounds_[1].stream == 0) return;
    timer_ += static_cast<float>(time);
    for (int32_t switches = 0; timer_ >= nextInterval_; ++switches) {
        if (switches == kMaxSwitchesPerUpdate) {
            timer_ = 0.0f;
            break;
        }
        timer_ -= nextInterval_;
        Switch();
        if (!(nextInterval_ > 0.0f)) {
            // A non-positive interval switches once per update.
            timer_ = 0.0f;
            break;
        }
    }
    if (currentStream_ != 0 && is3D_) PlaceChannel(currentStream_, GetWorld().translation);
}

void SoundNode2::Switch() {
    // Uniform in [base − spread, base + spread] whatever the generator's range.
    const float r = static_cast<float>(std::rand()) / static_cast<float>(RAND_MAX);
    nextInterval_ = baseInterval_ + intervalSpread_ * (2.0f * r - 1.0f);
    const int32_t start = (std::rand() & 1) != 0 ? 1 : 0;
    const SoundLibrary& library = GetSoundLibrary();
    library.ChannelPlay(sounds_[start].stream, true);
    library.ChannelStop(sounds_[1 - start].stream);
    currentStream_ = sounds_[start].stream;
}

int32_t SoundNode2::Save(Stream& stream) {
    if (Node::Save(stream) != kOk) return SaveParentFailed();
    stream.WriteString(fileNames_[0]);
    stream.WriteString(fileNames_[1]);
    stream.WriteFloat(minDistance_);
    stream.WriteBool(is3D_);
    stream.WriteInt32(volume_);
    stream.WriteFloat(baseInterval_);
    stream.WriteFloat(intervalSpread_);
    if (stream.GetErrorState() != 0)
        return FailWithNameId("Невозможно сохранить данные источника звука. Имя[%s] ID[%d]");
    return kOk;
}

int32_t SoundNode2::Load(Stream& stream) {
    if (Node::Load(stream) != kOk) return LoadParentFailed();
    stream.ReadString(fileNames_[0]);
    stream.ReadString(fileNames_[1]);
    stream.ReadFloat(minDistance_);
    stream.ReadBool(is3D_);
    stream.ReadInt32(volume_);
    stream.ReadFloat(baseInterval_);
    stream.ReadFloat(intervalSpread_);
    if (stream.GetErrorState() != 0)
        return FailWithIdName("Невозможно загрузить данные источника звука. ID[%d] Имя[%s]");
    LoadSounds();
    SetVolume(volume_);
    SetMinDistance(minDistance_);
    return kOk;
}

}  // namespace zel
