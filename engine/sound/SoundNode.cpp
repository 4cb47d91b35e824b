#include "engine/sound/SoundNode.h"

#include <cstring>
#include <new>

#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "engine/sound/SoundLibrary.h"
#include "engine/resources/File.h"
#include "engine/resources/FileManager.h"

namespace zel {

ZEL_DEFINE_RTTI(SoundNode, Node)

SoundNode::SoundNode(const String& name) : Node(name) {}

SoundNode::~SoundNode() = default;

int32_t SoundNode::LoadSound(File* file, bool is3D) {
    const int32_t status = sound_.Load(file, is3D);
    if (status != kOk) return status;
    is3D_ = is3D;
    // Without a library no file is refused: the sound manager has said once
    // that the program runs without sound.
    if (sound_.stream == 0 && GetSoundLibrary().BASS_StreamCreateFile != nullptr)
        LogWarning("Невозможно загрузить файл звука [%s]", file->GetName().CStr());
    SetLoop(loop_);
    if (is3D_) GetSoundLibrary().Apply3D();
    fileName_ = file->GetName();
    SetMinDistance(minDistance_);
    return kOk;
}

void SoundNode::SetLoop(bool loop) {
    loop_ = loop;
    if (sound_.stream != 0) GetSoundLibrary().ChannelSetFlags(sound_.stream, loop ? SoundLibrary::kChannelFlagLoop : 0);
}

void SoundNode::SetMinDistance(float distance) {
    minDistance_ = distance;
    if (sound_.stream == 0) return;
    GetSoundLibrary().ChannelSetMinDistance(sound_.stream, distance);
    GetSoundLibrary().Apply3D();
}

void SoundNode::SetVolume(int32_t volume) {
    volume_ = volume;
    if (sound_.stream != 0) GetSoundLibrary().ChannelSetVolume(sound_.stream, volume);
}

void SoundNode::UpdateSelf(double time) {
    Node::UpdateSelf(time);
    if (!playing_ || sound_.stream == 0) return;
    playingTime_ += static_cast<float>(time);
    if (is3D_) PlaceChannel(sound_.stream, GetWorld().translation);
    GetSoundLibrary().ChannelPlay(sound_.stream, false);
}

int32_t SoundNode::Save(Stream& stream) {
    if (Node::Save(stream) != kOk) return SaveParentFailed();
    stream.WriteBool(loop_);
    stream.WriteFloat(minDistance_);
    stream.WriteInt32(reserved_);
    stream.WriteBool(is3D_);
    stream.WriteString(fileName_);
    stream.WriteBool(playing_);
    stream.WriteInt32(volume_);
    if (stream.GetErrorState() != 0)
        return FailWithNameId("Невозможно сохранить данные источника звука. Имя[%s] ID[%d]");
    return kOk;
}

int32_t SoundNode::Load(Stream& stream) {
    if (Node::Load(stream) != kOk) return LoadParentFailed();
    stream.ReadBool(loop_);
    stream.ReadFloat(minDistance_);
    stream.ReadInt32(reserved_);
    stream.ReadBool(is3D_);
    stream.ReadString(fileName_);
    stream.ReadBool(playing_);
    stream.ReadInt32(volume_);
    if (stream.GetErrorState() != 0)
        return FailWithIdName("Невозможно загрузить данные источника звука. ID[%d] Имя[%s]");
    File* file = FindMountedFile(fileName_);
    if (file == nullptr) {
        LogWarning("Невозможно найти файл [%s] для источника звука. ID[%d] Имя[%s]", fileName_.CStr(), GetId(),
                   GetName().CStr());
        return kOk;
    }
    if (LoadSound(file, is3D_) != kOk)
        return FailWithIdName("Невозможно загрузить звук источника звука. ID[%d] Имя[%s]");
    SetVolume(volume_);
    SetMinDistance(minDistance_);
    return kOk;
}

}  // namespace zel
