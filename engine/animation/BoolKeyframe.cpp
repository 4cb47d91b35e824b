#include "engine/animation/BoolKeyframe.h"

#include "engine/animation/BlendStage.h"
#include "engine/animation/BoolAnimation.h"
#include "engine/animation/SoundNodeAnimation.h"
#include "engine/core/Log.h"
#include "engine/core/Stream.h"

namespace zel {

int32_t BoolKeyframe::Save(Stream& stream) {
    if (Keyframe::Save(stream) != 0) {
        LogError("Невозможно сохранить родительские данные кифрейма.");
        return kFailed;
    }
    if (stream.WriteBool(value) != 0) {
        LogError("Невозможно сохранить данные кифрейма.");
        return kFailed;
    }
    return kOk;
}

int32_t BoolKeyframe::Load(Stream& stream) {
    if (Keyframe::Load(stream) != 0) {
        LogError("Невозможно загрузить родительские данные кифрейма.");
        return kFailed;
    }
    if (stream.ReadBool(value) != 0) {
        LogError("Невозможно загрузить данные кифрейма.");
        return kFailed;
    }
    return kOk;
}

const BoolKeyframe* BoolKeyframe::CurrentKey(const BlendStage& stage) {
    Animation* animation = stage.animation;
    // A file may link any animation into a bool controller; only these two
    // classes create bool keys.
    if (CastTo<BoolAnimation>(animation) == nullptr && CastTo<SoundNodeAnimation>(animation) == nullptr)
        return nullptr;
    return static_cast<const BoolKeyframe*>(animation->GetKey(stage.key));
}

}  // namespace zel
