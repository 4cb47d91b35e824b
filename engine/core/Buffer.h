// Typed buffers: engine objects owning one contiguous array of fixed-size
// elements (positions, normals, texture coordinates, colours, indices,
// weights), streamed as a count and a raw block. The renderer keeps a device
// copy up to date through the binding.
#pragma once

#include <cstdint>

#include "engine/core/ClassRegistration.h"
#include "engine/core/Object.h"
#include "engine/core/RendererBinding.h"
#include "engine/math/Color.h"
#include "engine/math/Vector2.h"
#include "engine/math/Vector3.h"
#include "engine/math/Vector4.h"

namespace zel {

class Buffer : public Object {
    ZEL_DECLARE_RTTI

public:
    // Asks the renderer holding the device copy to release it.
    ~Buffer() override;

    // count × element size in bytes.
    virtual int32_t GetDataSize() const = 0;
    virtual int32_t GetCount() const = 0;
    // The first element, or null when there is none (or allocation failed).
    virtual void* GetData() = 0;

    RendererBinding& GetBinding() { return binding_; }

protected:
    RendererBinding binding_;
};
ZEL_REGISTER_ABSTRACT_CLASS(Buffer)

// The array and its streaming, shared by the concrete classes, which differ
// only in the element type. New elements take the element type's default
// (zero for the vector types; plain floats and integers are left as they are).
template <class Element>
class TypedBuffer : public Buffer {
public:
    TypedBuffer() = default;
    // Takes ownership of data (allocated with new[]); with null and a
    // non-zero count, allocates the elements (data stays null if that fails).
    TypedBuffer(int32_t count, Element* data);
    ~TypedBuffer() override { delete[] data_; }

    [[nodiscard]] int32_t Save(Stream& stream) override;
    [[nodiscard]] int32_t Load(Stream& stream) override;

    int32_t GetDataSize() const override { return count_ * static_cast<int32_t>(sizeof(Element)); }
    int32_t GetCount() const override { return count_; }
    void* GetData() override { return data_; }
    Element* GetElements() { return data_; }
    const Element* GetElements() const { return data_; }
    Element& operator[](int32_t index) { return data_[index]; }
    const Element& operator[](int32_t index) const { return data_[index]; }

private:
    static Element* Allocate(int32_t count);

    Element* data_ = nullptr;  // owned
    int32_t count_ = 0;
};

#define ZEL_DECLARE_TYPED_BUFFER(Class, Element)                                  \
    class Class : public TypedBuffer<Element> {                                            \
        ZEL_DECLARE_RTTI                                                                   \
                                                                                           \
    public:                                                                                \
        Class() = default;                                                                 \
        Class(int32_t count, Element* data) : TypedBuffer<Element>(count, data) {} \
    };                                                                                     \
    ZEL_REGISTER_CLASS(Class)

ZEL_DECLARE_TYPED_BUFFER(Vector2Buffer, Vector2)
ZEL_DECLARE_TYPED_BUFFER(Vector3Buffer, Vector3)
ZEL_DECLARE_TYPED_BUFFER(Vector4Buffer, Vector4)
ZEL_DECLARE_TYPED_BUFFER(FloatBuffer, float)
ZEL_DECLARE_TYPED_BUFFER(IntBuffer, int32_t)
ZEL_DECLARE_TYPED_BUFFER(ColorBuffer, ColorRGBA)

#undef ZEL_DECLARE_TYPED_BUFFER

extern template class TypedBuffer<Vector2>;
extern template class TypedBuffer<Vector3>;
extern template class TypedBuffer<Vector4>;
extern template class TypedBuffer<float>;
extern template class TypedBuffer<int32_t>;
extern template class TypedBuffer<ColorRGBA>;

}  // namespace zel
