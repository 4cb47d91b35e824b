#include "engine/core/Stream.h"

#include <cstring>
#include <new>

#include "engine/core/ClassFactory.h"
#include "engine/core/Log.h"
#include "engine/core/Object.h"
#include "engine/math/Color.h"
#include "engine/math/Transform.h"
#include "engine/math/Vector2.h"
#include "engine/math/Vector4.h"

namespace zel {

Stream::Stream(int32_t capacity, int32_t growthIncrement) : growthIncrement_(growthIncrement) {
    if (capacity <= 0) return;
    buffer_ = new (std::nothrow) uint8_t[static_cast<size_t>(capacity)];
    if (buffer_ == nullptr) {
        LogError("Недостаточно памяти для создания буффера потока.");
        errorState_ = 2;
        return;
    }
    capacity_ = capacity;
}

Stream::~Stream() { delete[] buffer_; }

int32_t Stream::GetSize() { return capacity_; }

int32_t Stream::Grow() {
    if (growthIncrement_ <= 0) {
        LogWarning("Приращение буффера равно 0.");
        return 1;
    }
    // Grows by whole increments, at least doubling, so that writing a large
    // graph copies the buffer a logarithmic number of times, not once per
    // increment.
    int64_t steps = capacity_ / growthIncrement_ + 1;
    int64_t capacity = int64_t{capacity_} + steps * growthIncrement_;
    if (capacity > INT32_MAX) capacity = int64_t{capacity_} + growthIncrement_;
    if (capacity > INT32_MAX) return 1;
    uint8_t* block = new (std::nothrow) uint8_t[static_cast<size_t>(capacity)];
    if (block == nullptr) {
        LogError("Недостаточно памяти для создания буффера потока.");
        return 2;
    }
    if (buffer_ != nullptr) std::memcpy(block, buffer_, static_cast<size_t>(capacity_));
    delete[] buffer_;
    buffer_ = block;
    capacity_ = static_cast<int32_t>(capacity);
    return 0;
}

int32_t Stream::Write(const void* bytes, int32_t count) {
    if (errorState_ != 0) {
        LogWarning("Неправильное состояние потока.");
        return errorState_;
    }
    if (count < 0) {
        errorState_ = 1;
        return errorState_;
    }
    while (static_cast<int64_t>(position_) + count > capacity_) {
        int32_t result = Grow();
        if (result != 0) {
            errorState_ = result;
            LogWarning("Невозможно записать данные вследствие малого размера буффера.");
            return errorState_;
        }
    }
    if (count > 0) std::memcpy(buffer_ + position_, bytes, static_cast<size_t>(count));
    position_ += count;
    return 0;
}

int32_t Stream::Read(void* destination, int32_t count) {
    if (errorState_ != 0) {
        LogWarning("Неправильное состояние потока.");
        return errorState_;
    }
    if (buffer_ == nullptr) {
        LogWarning("Невозможно считать данные. Буффер не существует.");
        errorState_ = 1;
        return errorState_;
    }
    if (count < 0 || static_cast<int64_t>(position_) + count > capacity_) {
        LogWarning("Невозможно считать данные. Буффер переполнен.");
        errorState_ = 1;
        return errorState_;
    }
    if (count > 0) std::memcpy(destination, buffer_ + position_, static_cast<size_t>(count));
    position_ += count;
    return 0;
}

// The engine only targets little-endian machines (x86, x86-64), so values
// are copied as they lie in memory.
template <class T>
static int32_t WriteValue(Stream& stream, const T& value) {
    return stream.Write(&value, sizeof value);
}

template <class T>
static int32_t ReadValue(Stream& stream, T& value) {
    T read;
    int32_t state = stream.Read(&read, sizeof read);
    if (state == 0) value = read;
    return state;
}

int32_t Stream::WriteBool(bool value) { return WriteUInt8(value ? 1 : 0); }
int32_t Stream::WriteInt8(int8_t value) { return WriteValue(*this, value); }
int32_t Stream::WriteUInt8(uint8_t value) { return WriteValue(*this, value); }
int32_t Stream::WriteInt16(int16_t value) { return WriteValue(*this, value); }
int32_t Stream::WriteInt32(int32_t value) { return WriteValue(*this, value); }
int32_t Stream::WriteUInt32(uint32_t value) { return WriteValue(*this, value); }
int32_t Stream::WriteFloat(float value) { return WriteValue(*this, value); }
int32_t Stream::WriteDouble(double value) { return WriteValue(*this, value); }

int32_t Stream::WriteString(const String& value) {
    if (WriteInt32(value.Length()) != 0) return errorState_;
    return Write(value.CStr(), value.Length());
}

int32_t Stream::WriteIntTriple(const int32_t values[3]) {
    for (int i = 0; i < 3; ++i)
        if (WriteInt32(values[i]) != 0) break;
    return errorState_;
}

int32_t Stream::ReadBool(bool& value) {
    uint8_t byte = 0;
    int32_t result = ReadUInt8(byte);
    if (result == 0) value = byte != 0;
    return result;
}

int32_t Stream::ReadInt8(int8_t& value) { return ReadValue(*this, value); }
int32_t Stream::ReadUInt8(uint8_t& value) { return ReadValue(*this, value); }
int32_t Stream::ReadInt16(int16_t& value) { return ReadValue(*this, value); }
int32_t Stream::ReadInt32(int32_t& value) { return ReadValue(*this, value); }
int32_t Stream::ReadUInt32(uint32_t& value) { return ReadValue(*this, value); }
int32_t Stream::ReadFloat(float& value) { return ReadValue(*this, value); }
int32_t Stream::ReadDouble(double& value) { return ReadValue(*this, value); }

int32_t Stream::ReadString(String& value) {
    int32_t length = 0;
    if (int32_t result = ReadCount(length, 1); result != 0) return result;
    char* text = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (text == nullptr) {
        LogWarning("Недостаточно памяти для загрузки строки.");
        return errorState_;
    }
    int32_t result = Read(text, length);
    if (result == 0) {
        text[length] = 0;
        value.Assign(text, length);
    }
    delete[] text;
    return result;
}

int32_t Stream::ReadIntTriple(int32_t values[3]) {
    int32_t read[3] = {};
    for (int i = 0; i < 3; ++i)
        if (int32_t result = ReadInt32(read[i]); result != 0) return result;
    std::memcpy(values, read, sizeof read);
    return 0;
}

int32_t Stream::ReadCount(int32_t& count, int32_t elementSize, int32_t limit) {
    int32_t read = 0;
    if (int32_t result = ReadInt32(read); result != 0) return result;
    int64_t bytes = static_cast<int64_t>(read) * (elementSize > 0 ? elementSize : 0);
    if (read < 0 || read > limit || bytes > GetRemaining()) {
        LogWarning("Невозможно считать данные. Буффер переполнен.");
        errorState_ = 1;
        return errorState_;
    }
    count = read;
    return 0;
}

// Math values are runs of floats with no padding; they are written and
// read float by float so the layout never depends on the struct's.
static int32_t WriteFloats(Stream& stream, const float* values, int count) {
    for (int i = 0; i < count; ++i)
        if (stream.WriteFloat(values[i]) != 0) break;
    return stream.GetErrorState();
}

// Reads into a scratch array; callers copy it out only on success.
static int32_t ReadFloats(Stream& stream, float* values, int count) {
    for (int i = 0; i < count; ++i)
        if (int32_t result = stream.ReadFloat(values[i]); result != 0) return result;
    return 0;
}

int32_t Stream::WriteVector2(const Vector2& v) {
    const float values[] = {v.x, v.y};
    return WriteFloats(*this, values, 2);
}
int32_t Stream::WriteVector3(const Vector3& v) {
    const float values[] = {v.x, v.y, v.z};
    return WriteFloats(*this, values, 3);
}
int32_t Stream::WriteVector4(const Vector4& v) {
    const float values[] = {v.x, v.y, v.z, v.w};
    return WriteFloats(*this, values, 4);
}
int32_t Stream::WriteQuaternion(const Quaternion& q) {
    const float values[] = {q.x, q.y, q.z, q.w};
    return WriteFloats(*this, values, 4);
}
int32_t Stream::WriteColor(const ColorRGB& c) {
    const float values[] = {c.r, c.g, c.b};
    return WriteFloats(*this, values, 3);
}
int32_t Stream::WriteColor(const ColorRGBA& c) {
    const float values[] = {c.r, c.g, c.b, c.a};
    return WriteFloats(*this, values, 4);
}
int32_t Stream::WriteTransform(const Transform& t) {
    const float values[] = {t.scale.x,      t.scale.y,      t.scale.z,      t.rotation.x,  t.rotation.y,
                            t.rotation.z,   t.rotation.w,   t.translation.x, t.translation.y, t.translation.z};
    return WriteFloats(*this, values, 10);
}

int32_t Stream::ReadVector2(Vector2& v) {
    float f[2] = {};
    int32_t result = ReadFloats(*this, f, 2);
    if (result == 0) v = {f[0], f[1]};
    return result;
}
int32_t Stream::ReadVector3(Vector3& v) {
    float f[3] = {};
    int32_t result = ReadFloats(*this, f, 3);
    if (result == 0) v = {f[0], f[1], f[2]};
    return result;
}
int32_t Stream::ReadVector4(Vector4& v) {
    float f[4] = {};
    int32_t result = ReadFloats(*this, f, 4);
    if (result == 0) v = {f[0], f[1], f[2], f[3]};
    return result;
}
int32_t Stream::ReadQuaternion(Quaternion& q) {
    float f[4] = {};
    int32_t result = ReadFloats(*this, f, 4);
    if (result == 0) q = {f[0], f[1], f[2], f[3]};
    return result;
}
int32_t Stream::ReadColor(ColorRGB& c) {
    float f[3] = {};
    int32_t result = ReadFloats(*this, f, 3);
    if (result == 0) c = {f[0], f[1], f[2]};
    return result;
}
int32_t Stream::ReadColor(ColorRGBA& c) {
    float f[4] = {};
    int32_t result = ReadFloats(*this, f, 4);
    if (result == 0) c = {f[0], f[1], f[2], f[3]};
    return result;
}
int32_t Stream::ReadTransform(Transform& t) {
    float f[10] = {};
    if (int32_t result = ReadFloats(*this, f, 10); result != 0) return result;
    t.scale = {f[0], f[1], f[2]};
    t.rotation = {f[3], f[4], f[5], f[6]};
    t.translation = {f[7], f[8], f[9]};
    t.ClearFlags();
    return 0;
}

int32_t Stream::WriteLink(Object* object) {
    if (object == nullptr) return WriteInt32(-1);
    int32_t id = object->GetId();
    LogInfo("Write ID[%d]", id);
    if (links_.Find(id) != nullptr) return WriteInt32(id);
    if (WriteInt32(id) != 0) return errorState_;
    if (links_.Insert(id, object) == kOutOfMemory) {
        errorState_ = 2;
        return errorState_;
    }
    const String& typeName = object->GetRtti()->GetName();
    if (WriteString(typeName) != 0) return errorState_;
    int32_t result = object->Save(*this);
    if (errorState_ == 0) errorState_ = result;
    LogInfo("RTTI[%s] ID[%d] Name[%s] Pointer[%d]", typeName.CStr(), id, object->GetName().CStr(), position_);
    return errorState_;
}

int32_t Stream::ReadLink(Pointer<Object>& object) {
    int32_t id = 0;
    if (int32_t result = ReadInt32(id); result != 0) return result;
    LogInfo("Read ID[%d]", id);
    if (id == -1) {
        object = nullptr;
        return 0;
    }
    if (Object** known = links_.Find(id)) {
        object = *known;
        return 0;
    }
    return ReadNewObject(id, object);
}

int32_t Stream::ReadNewObject(int32_t id, Pointer<Object>& object) {
    String typeName;
    if (int32_t result = ReadString(typeName); result != 0) return result;
    CreateFunction create = FindCreateFunction(typeName);
    if (create == nullptr) {
        LogError("Невозможно найти функцию создания объекта. RTTI[%s] ID[%d]", typeName.CStr(), id);
        errorState_ = 1;
        return errorState_;
    }
    Object* created = nullptr;
    if (create(&created) != 0 || created == nullptr) {
        LogError("Невозможно создать объект. RTTI[%s] ID[%d]", typeName.CStr(), id);
        errorState_ = 1;
        return errorState_;
    }
    Pointer<Object> held(created);
    if (linkDepth_ >= kMaxLinkDepth) {
        LogError("Невозможно создать объект. RTTI[%s] ID[%d]", typeName.CStr(), id);
        errorState_ = 1;
        return errorState_;
    }
    if (created_.Append(held) != kOk || links_.Insert(id, created) == kOutOfMemory) {
        errorState_ = 2;
        return errorState_;
    }
    ++linkDepth_;
    int32_t result = created->Load(*this);
    --linkDepth_;
    if (errorState_ == 0) errorState_ = result;
    LogInfo("RTTI[%s] ID[%d] Name[%s] Pointer[%d]", typeName.CStr(), created->GetId(), created->GetName().CStr(),
            position_);
    if (errorState_ == 0) object = held;
    return errorState_;
}

int32_t Stream::RejectLinkType(const Object& object, const Rtti& expected) {
    LogError("Объект имеет неверный тип. RTTI[%s] ID[%d] Ожидался[%s]", object.GetRtti()->GetName().CStr(),
             object.GetId(), expected.GetName().CStr());
    errorState_ = 1;
    return errorState_;
}

void Stream::ClearLinks() {
    links_.Clear();
    created_.Clear();
}

void Stream::Rewind() {
    ClearLinks();
    position_ = 0;
    errorState_ = 0;
}

void Stream::AdoptBuffer(uint8_t* buffer, int32_t capacity) {
    delete[] buffer_;
    buffer_ = buffer;
    capacity_ = buffer != nullptr ? capacity : 0;
    position_ = 0;
}

void Stream::FreeBuffer() { AdoptBuffer(nullptr, 0); }

}  // namespace zel
