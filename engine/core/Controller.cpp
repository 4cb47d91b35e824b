#include "engine/core/Controller.h"

#include "engine/core/Stream.h"

namespace zel {

ZEL_DEFINE_RTTI(Controller, Object)

int32_t Controller::Save(Stream& stream) {
    if (Object::Save(stream) != kOk) return SaveParentFailed();
    if (stream.WriteBool(active_) != 0)
        return FailWithNameId("Невозможно сохранить флаг активности контроллера. Имя[%s] ID[%d]");
    return kOk;
}

int32_t Controller::Load(Stream& stream) {
    if (Object::Load(stream) != kOk) return LoadParentFailed();
    if (stream.ReadBool(active_) != 0)
        return FailWithIdName("Невозможно загрузить флаг активности контроллера. ID[%d] Имя[%s]");
    return kOk;
}

void Controller::Update(double) {}

void Controller::Reset() {}

}  // namespace zel
