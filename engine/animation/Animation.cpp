#include "engine/animation/Animation.h"

#include "engine/core/Stream.h"

namespace zel {

ZEL_DEFINE_RTTI(Animation, Object)

namespace {
// The smallest key on the stream: its time.
constexpr int32_t kMinimumKeyBytes = 8;
}  // namespace

Animation::~Animation() { ClearKeys(); }

void Animation::ClearKeys() {
    for (Keyframe* key : keys_) delete key;
    keys_.Clear();
}

Keyframe* Animation::GetKey(int32_t index) const {
    return index >= 0 && index < keys_.Count() ? keys_[index] : nullptr;
}

int32_t Animation::AddKey(Keyframe* key) {
    if (key == nullptr) return kInvalidArgument;
    if (keys_.Append(key) != kOk) {
        delete key;
        return kOutOfMemory;
    }
    // Walk the new key down past every later key.
    for (int32_t i = keys_.Count() - 1; i > 0 && keys_[i - 1]->time > key->time; --i) {
        keys_[i] = keys_[i - 1];
        keys_[i - 1] = key;
    }
    return kOk;
}

int32_t Animation::Save(Stream& stream) {
    if (Object::Save(stream) != kOk) return SaveParentFailed();
    if (stream.WriteInt32(keys_.Count()) != 0)
        return FailWithNameId("Невозможно сохранить количество кифреймов анимации. Имя[%s] ID[%d]");
    for (Keyframe* key : keys_)
        if (key->Save(stream) != 0) return FailWithNameId("Невозможно сохранить кифрейм анимации. Имя[%s] ID[%d]");
    return kOk;
}

int32_t Animation::Load(Stream& stream) {
    if (Object::Load(stream) != kOk) return LoadParentFailed();
    ClearKeys();
    int32_t count = 0;
    if (stream.ReadCount(count, kMinimumKeyBytes) != 0)
        return FailWithIdName("Невозможно загрузить количество кифреймов анимации. ID[%d] Имя[%s]");
    // The count is bounded by the stream's size, so one block can be made
    // at once instead of growing key by key.
    if (keys_.Reserve(count) != kOk) {
        FailWithIdName("Недостаточно памяти для создания кифрейма. ID[%d] Имя[%s]");
        return kOutOfMemory;
    }
    for (int32_t i = 0; i < count; ++i) {
        Keyframe* key = CreateKeyframe();
        if (key == nullptr) {
            FailWithIdName("Недостаточно памяти для создания кифрейма. ID[%d] Имя[%s]");
            return kOutOfMemory;
        }
        if (key->Load(stream) != 0) {
            delete key;
            return FailWithNameId("Невозможно загрузить кифрейм анимации. Имя[%s] ID[%d]");
        }
        keys_.Append(key);  // room was reserved
    }
    return kOk;
}

Object* Animation::FindByName(const String& name) {
    if (Object* found = Object::FindByName(name)) return found;
    for (Keyframe* key : keys_)
        if (Object* found = key->FindByName(name)) return found;
    return nullptr;
}

void Animation::CollectByType(const Rtti& type, ObjectArray& objects) {
    Object::CollectByType(type, objects);
    for (Keyframe* key : keys_) key->CollectByType(type, objects);
}

}  // namespace zel
