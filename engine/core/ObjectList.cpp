#include "engine/core/ObjectList.h"

#include "engine/core/Log.h"
#include "engine/core/Object.h"
#include "engine/core/Stream.h"

namespace zel {

int32_t ObjectList::IndexOf(const Object* object) const {
    for (int32_t i = 0; i < objects_.Count(); ++i)
        if (objects_[i].Get() == object) return i;
    return -1;
}

bool ObjectList::Contains(const Object* object) const { return IndexOf(object) >= 0; }

int32_t ObjectList::Add(Object* object) {
    if (object == nullptr || Contains(object)) return kOk;
    return objects_.Append(Pointer<Object>(object));
}

bool ObjectList::Remove(const Object* object) {
    int32_t index = IndexOf(object);
    if (index < 0) return false;
    objects_.RemoveAt(index);
    return true;
}

int32_t ObjectList::Save(Stream& stream) const {
    if (stream.WriteInt32(objects_.Count()) != 0) {
        LogError("Невозможно сохранить количество объектов.");
        return kFailed;
    }
    for (int32_t i = 0; i < objects_.Count(); ++i) {
        if (stream.WriteLink(objects_[i].Get()) != 0) {
            LogError("Невозможно сохранить объект [%d].", i);
            return kFailed;
        }
    }
    return kOk;
}

int32_t ObjectList::Load(Stream& stream) {
    int32_t count = 0;
    // Each link takes at least four bytes, which bounds the room reserved.
    if (stream.ReadCount(count, 4) != 0) {
        LogError("Невозможно загрузить количество объектов.");
        return kFailed;
    }
    objects_.Reserve(objects_.Count() + count);
    for (int32_t i = 0; i < count; ++i) {
        Pointer<Object> object;
        if (stream.ReadLink(object) != 0 || Add(object) != kOk) {
            LogError("Невозможно загрузить объект [%d].", i);
            return kFailed;
        }
    }
    return kOk;
}

}  // namespace zel
