#include "engine/core/Buffer.h"

#include <new>
#include <type_traits>

#include "engine/core/Log.h"
#include "engine/core/Stream.h"

namespace zel {

ZEL_DEFINE_RTTI(Buffer, Object)
ZEL_DEFINE_RTTI(Vector2Buffer, Buffer)
ZEL_DEFINE_RTTI(Vector3Buffer, Buffer)
ZEL_DEFINE_RTTI(Vector4Buffer, Buffer)
ZEL_DEFINE_RTTI(FloatBuffer, Buffer)
ZEL_DEFINE_RTTI(IntBuffer, Buffer)
ZEL_DEFINE_RTTI(ColorBuffer, Buffer)

Buffer::~Buffer() {
    if (DeviceHolder* holder = binding_.GetHolder()) holder->ReleaseBuffer(this);
}

template <class Element>
Element* TypedBuffer<Element>::Allocate(int32_t count) {
    static_assert(std::is_trivially_copyable_v<Element>);
    return new (std::nothrow) Element[static_cast<size_t>(count)];
}

template <class Element>
TypedBuffer<Element>::TypedBuffer(int32_t count, Element* data) : data_(data), count_(count > 0 ? count : 0) {
    if (data_ != nullptr || count_ == 0) return;
    data_ = Allocate(count_);
    if (data_ == nullptr) LogError("Недостаточно памяти для создания массива данных буффера. ID[%d].", GetId());
}

template <class Element>
int32_t TypedBuffer<Element>::Save(Stream& stream) {
    if (Object::Save(stream) != 0) return SaveParentFailed();
    // A buffer whose allocation failed has a count but no data; it is
    // written as empty so that the stream stays readable.
    int32_t count = data_ != nullptr ? count_ : 0;
    if (stream.WriteInt32(count) != 0)
        return FailWithNameId("Невозможно сохранить количество данных буффера. Имя[%s] ID[%d]");
    if (stream.Write(data_, count * static_cast<int32_t>(sizeof(Element))) != 0)
        return FailWithNameId("Невозможно сохранить данные буффера. Имя[%s] ID[%d]");
    return kOk;
}

template <class Element>
int32_t TypedBuffer<Element>::Load(Stream& stream) {
    if (Object::Load(stream) != 0) return LoadParentFailed();
    int32_t count = 0;
    if (stream.ReadCount(count, static_cast<int32_t>(sizeof(Element))) != 0)
        return FailWithIdName("Невозможно загрузить количество данных буффера. ID[%d] Имя[%s]");
    delete[] data_;
    data_ = nullptr;
    count_ = count;
    if (count_ != 0) {
        data_ = Allocate(count_);
        if (data_ == nullptr) {
            FailWithIdName("Недостаточно памяти для создания буффера. ID[%d] Имя[%s]");
            return kOutOfMemory;
        }
    }
    if (stream.Read(data_, GetDataSize()) != 0)
        return FailWithIdName("Невозможно загрузить данные буффера. ID[%d] Имя[%s]");
    binding_.SetDirty(true);
    return kOk;
}

template class TypedBuffer<Vector2>;
template class TypedBuffer<Vector3>;
template class TypedBuffer<Vector4>;
template class TypedBuffer<float>;
template class TypedBuffer<int32_t>;
template class TypedBuffer<ColorRGBA>;

}  // namespace zel
