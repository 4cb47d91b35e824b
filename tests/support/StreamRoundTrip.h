// Writes an object as a link into a fresh stream and reads it back as a new
// object, checking that both steps succeed. Null when the read fails.
#pragma once

#include <gtest/gtest.h>

#include "engine/core/Object.h"
#include "engine/core/Pointer.h"
#include "engine/core/Stream.h"

namespace zel::test {

// Holds a reference while writing, so a freshly made object passed straight
// in is released afterwards.
template <class T>
Pointer<T> RoundTripAs(Pointer<Object> object) {
    Stream stream(0, 256);
    EXPECT_EQ(stream.WriteLink(object), 0);
    stream.Rewind();
    Pointer<T> read;
    EXPECT_EQ(stream.ReadLinkAs(read), 0);
    return read;
}

// Leaves the object's references alone (it may live on the stack).
template <class T>
Pointer<T> RoundTrip(T* object) {
    Stream stream(0, 256);
    EXPECT_EQ(stream.WriteLink(object), 0);
    stream.Rewind();
    Pointer<T> read;
    EXPECT_EQ(stream.ReadLinkAs(read), 0);
    return read;
}

}  // namespace zel::test
