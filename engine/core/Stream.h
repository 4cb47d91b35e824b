// In-memory byte stream with a read/write position, a sticky error state and
// a table of the objects met so far, so that object graphs with shared
// objects and cycles are written once and read back intact. All values are
// little-endian with no padding.
#pragma once

#include <cstdint>

#include "engine/core/GrowableArray.h"
#include "engine/core/HashTable.h"
#include "engine/core/Pointer.h"
#include "engine/core/String.h"

namespace zel {

class Object;
class Rtti;
struct ColorRGB;
struct ColorRGBA;
struct Quaternion;
struct Transform;
struct Vector2;
struct Vector3;
struct Vector4;

class Stream {
public:
    // Links nested deeper than this are refused: a hostile file must not be
    // able to exhaust the call stack.
    static constexpr int32_t kMaxLinkDepth = 1000;

    // A capacity above 0 allocates the buffer (error state 2 when that
    // fails); growthIncrement is the room added by each growing write.
    Stream(int32_t capacity, int32_t growthIncrement);
    virtual ~Stream();

    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // The capacity in bytes.
    virtual int32_t GetSize();
    // Both return the error state after the operation; once the state is
    // non-zero nothing is read or written any more.
    virtual int32_t Write(const void* bytes, int32_t count);
    virtual int32_t Read(void* destination, int32_t count);

    int32_t GetErrorState() const { return errorState_; }
    int32_t GetPosition() const { return position_; }
    int32_t GetCapacity() const { return capacity_; }
    int32_t GetGrowthIncrement() const { return growthIncrement_; }
    const uint8_t* GetBuffer() const { return buffer_; }
    // Bytes between the position and the end of the buffer.
    int32_t GetRemaining() const { return capacity_ - position_; }

    int32_t WriteBool(bool value);
    int32_t WriteInt8(int8_t value);
    int32_t WriteUInt8(uint8_t value);
    int32_t WriteInt16(int16_t value);
    int32_t WriteInt32(int32_t value);
    int32_t WriteUInt32(uint32_t value);
    int32_t WriteFloat(float value);
    int32_t WriteDouble(double value);
    int32_t WriteString(const String& value);
    int32_t WriteIntTriple(const int32_t values[3]);
    int32_t WriteVector2(const Vector2& value);
    int32_t WriteVector3(const Vector3& value);
    int32_t WriteVector4(const Vector4& value);
    int32_t WriteQuaternion(const Quaternion& value);
    int32_t WriteColor(const ColorRGB& value);
    int32_t WriteColor(const ColorRGBA& value);
    // Scale, rotation (x, y, z, w), translation: 40 bytes.
    int32_t WriteTransform(const Transform& value);
    // The full object the first time it is met in this stream, its ID after.
    int32_t WriteLink(Object* object);

    // Readers fill their out-argument only on success.
    int32_t ReadBool(bool& value);
    int32_t ReadInt8(int8_t& value);
    int32_t ReadUInt8(uint8_t& value);
    int32_t ReadInt16(int16_t& value);
    int32_t ReadInt32(int32_t& value);
    int32_t ReadUInt32(uint32_t& value);
    int32_t ReadFloat(float& value);
    int32_t ReadDouble(double& value);
    int32_t ReadString(String& value);
    int32_t ReadIntTriple(int32_t values[3]);
    int32_t ReadVector2(Vector2& value);
    int32_t ReadVector3(Vector3& value);
    int32_t ReadVector4(Vector4& value);
    int32_t ReadQuaternion(Quaternion& value);
    int32_t ReadColor(ColorRGB& value);
    int32_t ReadColor(ColorRGBA& value);
    // Also clears the transform's cached identity and no-rotation flags.
    int32_t ReadTransform(Transform& value);
    // Creates and loads an object met for the first time; an ID met before
    // resolves to the same object (also while it is still loading).
    int32_t ReadLink(Pointer<Object>& object);

    // Reads a link and checks that the object is null or derives from T;
    // an object of another type sets the error state 1.
    template <class T>
    int32_t ReadLinkAs(Pointer<T>& object);

    // Reads an element count that must be in 0..limit and, at elementSize
    // bytes each, fit in what is left of the stream; anything else sets the
    // error state 1. Guards allocations sized by untrusted counts.
    int32_t ReadCount(int32_t& count, int32_t elementSize, int32_t limit = INT32_MAX);

    // The objects this stream created while reading, in creation order,
    // until the links are cleared.
    int32_t GetCreatedCount() const { return created_.Count(); }
    Object* GetCreated(int32_t index) const { return created_[index].Get(); }

    // Forgets the objects met so far (and releases the references the
    // stream held on objects it created).
    void ClearLinks();
    // Rewinds to the start: position 0, error state 0, links cleared.
    void Rewind();

protected:
    // Hands the buffer to the stream (taking ownership), e.g. a file's
    // whole content; the position goes to 0.
    void AdoptBuffer(uint8_t* buffer, int32_t capacity);
    void FreeBuffer();
    void SetErrorState(int32_t state) { errorState_ = state; }
    void SetPosition(int32_t position) { position_ = position; }

private:
    int32_t Grow();
    int32_t ReadNewObject(int32_t id, Pointer<Object>& object);
    int32_t RejectLinkType(const Object& object, const Rtti& expected);

    uint8_t* buffer_ = nullptr;  // owned
    int32_t capacity_ = 0;
    int32_t growthIncrement_;
    int32_t position_ = 0;
    // Stream ID to object, not owning. A scene holds tens of thousands of
    // consecutive IDs, so this table grows instead of keeping 32 chains.
    HashTable<int32_t, Object*, MixedIdHash> links_{true};
    // One reference per object this stream created, so an object under
    // construction survives a nested object releasing it; kept until the
    // links are cleared.
    GrowableArray<Pointer<Object>> created_{16, 1024};
    int32_t errorState_ = 0;
    int32_t linkDepth_ = 0;
};

}  // namespace zel

#include "engine/core/Object.h"

namespace zel {

template <class T>
int32_t Stream::ReadLinkAs(Pointer<T>& object) {
    Pointer<Object> read;
    if (ReadLink(read) != 0) return errorState_;
    if (read != nullptr && !read->IsDerivedFrom(T::TYPE)) return RejectLinkType(*read, T::TYPE);
    object = static_cast<T*>(read.Get());
    return 0;
}

}  // namespace zel
