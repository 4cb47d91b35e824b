#include "engine/scene/FPCamera.h"

#include "engine/core/Stream.h"

namespace zel {

ZEL_DEFINE_RTTI(FPCamera, Camera)

int32_t FPCamera::Save(Stream& stream) {
    if (Camera::Save(stream) != 0) return SaveParentFailed();
    stream.WriteFloat(value1_);
    stream.WriteFloat(value2_);
    stream.WriteBool(flag_);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно сохранить данные камеры. Имя[%s] ID[%d]");
    return kOk;
}

int32_t FPCamera::Load(Stream& stream) {
    if (Camera::Load(stream) != 0) return LoadParentFailed();
    stream.ReadFloat(value1_);
    stream.ReadFloat(value2_);
    stream.ReadBool(flag_);
    if (stream.GetErrorState() != 0) return FailWithIdName("Невозможно загрузить данные камеры. ID[%d] Имя[%s]");
    return kOk;
}

}  // namespace zel
