#include "engine/animation/NodeKeyframe.h"

#include "engine/core/Log.h"
#include "engine/core/Stream.h"

namespace zel {

int32_t NodeKeyframe::Save(Stream& stream) {
    if (Keyframe::Save(stream) != 0) {
        LogError("Невозможно сохранить родительские данные кифрейма.");
        return kFailed;
    }
    stream.WriteVector3(translation);
    stream.WriteQuaternion(rotation);
    stream.WriteVector3(scale);
    if (stream.GetErrorState() != 0) {
        LogError("Невозможно сохранить данные кифрейма.");
        return kFailed;
    }
    return kOk;
}

int32_t NodeKeyframe::Load(Stream& stream) {
    if (Keyframe::Load(stream) != 0) {
        LogError("Невозможно загрузить родительские данные кифрейма.");
        return kFailed;
    }
    stream.ReadVector3(translation);
    stream.ReadQuaternion(rotation);
    stream.ReadVector3(scale);
    if (stream.GetErrorState() != 0) {
        LogError("Невозможно загрузить данные кифрейма.");
        return kFailed;
    }
    return kOk;
}

}  // namespace zel
