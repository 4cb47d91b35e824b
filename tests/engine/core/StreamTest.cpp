#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/core/ObjectList.h"
#include "engine/core/Stream.h"
#include "engine/math/Transform.h"
#include "support/RecordingOutput.h"
#include "support/TestObjects.h"

namespace zel {
namespace {

using test::LogCapture;
using test::TestController;
using test::TestObject;

// A stream over a copy of the bytes another stream wrote.
struct ReadBack {
    explicit ReadBack(const Stream& written) : stream(written.GetPosition(), 0) {
        stream.Write(written.GetBuffer(), written.GetPosition());
        stream.Rewind();
    }
    Stream stream;
};

TEST(Stream, PrimitivesAreLittleEndianWithoutPadding) {
    Stream stream(0, 16);
    stream.WriteBool(true);
    stream.WriteInt16(0x0102);
    stream.WriteInt32(-2);
    stream.WriteString(String("ab"));
    stream.WriteDouble(1.0);
    const uint8_t expected[] = {1, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 'a', 'b',
                                0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    ASSERT_EQ(stream.GetPosition(), static_cast<int32_t>(sizeof expected));
    EXPECT_EQ(std::memcmp(stream.GetBuffer(), expected, sizeof expected), 0);

    ReadBack back(stream);
    bool b = false;
    int16_t s = 0;
    int32_t i = 0;
    String text;
    double d = 0;
    back.stream.ReadBool(b);
    back.stream.ReadInt16(s);
    back.stream.ReadInt32(i);
    back.stream.ReadString(text);
    EXPECT_EQ(back.stream.ReadDouble(d), 0);
    EXPECT_TRUE(b);
    EXPECT_EQ(s, 0x0102);
    EXPECT_EQ(i, -2);
    EXPECT_EQ(text, String("ab"));
    EXPECT_EQ(d, 1.0);
}

TEST(Stream, TransformIsFortyBytesAndReadingClearsItsFlags) {
    Transform t = Transform::Make({1, 2, 3}, {0, 0, 0, 1}, {4, 5, 6});
    Stream stream(0, 64);
    stream.WriteTransform(t);
    ASSERT_EQ(stream.GetPosition(), 40);
    ReadBack back(stream);
    Transform read = Transform::Identity();
    ASSERT_EQ(back.stream.ReadTransform(read), 0);
    EXPECT_EQ(read.scale, (Vector3{1, 2, 3}));
    EXPECT_EQ(read.translation, (Vector3{4, 5, 6}));
    EXPECT_FALSE(read.isIdentity);
    EXPECT_FALSE(read.noRotation);
}

TEST(Stream, ZeroGrowthIncrementFailsTheFirstWriteForGood) {
    LogCapture capture;
    Stream stream(0, 0);
    EXPECT_EQ(stream.WriteInt32(1), 1);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Приращение буффера равно 0."));
    EXPECT_TRUE(capture->Contains(kLogWarning, "Невозможно записать данные вследствие малого размера буффера."));
    capture.Clear();
    EXPECT_EQ(stream.WriteInt8(1), 1);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Неправильное состояние потока."));
}

TEST(Stream, ReadingPastTheEndIsStickyAndLeavesTheValue) {
    LogCapture capture;
    Stream stream(2, 0);
    int32_t value = 7;
    EXPECT_EQ(stream.ReadInt32(value), 1);
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Невозможно считать данные. Буффер переполнен."));
    int8_t small = 0;
    EXPECT_EQ(stream.ReadInt8(small), 1);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Неправильное состояние потока."));
    Stream empty(0, 4);
    EXPECT_EQ(empty.ReadInt8(small), 1);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Невозможно считать данные. Буффер не существует."));
}

TEST(Stream, LengthsThatCannotFitAreRefusedWithoutAllocating) {
    // A string claiming two billion characters in a twelve-byte stream.
    for (int32_t length : {2000000000, -5, 9}) {
        Stream stream(0, 16);
        stream.WriteInt32(length);
        stream.WriteInt32(0);
        ReadBack back(stream);
        String text("kept");
        EXPECT_EQ(back.stream.ReadString(text), 1) << length;
        EXPECT_EQ(text, String("kept"));
    }
}

TEST(Stream, SharedObjectsAreWrittenOnceAndReadBackShared) {
    Pointer<TestObject> root = new TestObject;
    Pointer<TestObject> left = new TestObject;
    Pointer<TestObject> right = new TestObject;
    Pointer<TestObject> shared = new TestObject;
    shared->value = 42;
    left->link = shared;
    right->link = shared;
    ObjectList children;
    EXPECT_EQ(children.Add(left), kOk);
    EXPECT_EQ(children.Add(right), kOk);
    EXPECT_EQ(children.Add(left), kOk);  // set semantics
    ASSERT_EQ(children.Count(), 2);

    Stream stream(0, 64);
    ASSERT_EQ(children.Save(stream), 0);
    ReadBack back(stream);
    ObjectList loaded;
    ASSERT_EQ(loaded.Load(back.stream), 0);
    ASSERT_EQ(loaded.Count(), 2);
    auto* a = CastTo<TestObject>(loaded[0]);
    auto* b = CastTo<TestObject>(loaded[1]);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->link.Get(), b->link.Get());
    EXPECT_EQ(CastTo<TestObject>(a->link)->value, 42);
}

TEST(Stream, ABackLinkResolvesToTheObjectUnderConstruction) {
    Pointer<TestObject> parent = new TestObject;
    Pointer<TestObject> child = new TestObject;
    parent->link = child;
    child->link = parent;  // a cycle
    Stream stream(0, 64);
    ASSERT_EQ(stream.WriteLink(parent), 0);
    parent->link = nullptr;  // break the cycle so the originals are freed

    ReadBack back(stream);
    Pointer<Object> loaded;
    ASSERT_EQ(back.stream.ReadLink(loaded), 0);
    auto* newParent = CastTo<TestObject>(loaded);
    auto* newChild = CastTo<TestObject>(newParent->link);
    ASSERT_NE(newChild, nullptr);
    EXPECT_EQ(newChild->link.Get(), newParent);
    newChild->link = nullptr;
}

TEST(Stream, UnknownTypeNameGivesNullAndNamesTypeAndId) {
    Stream stream(0, 64);
    stream.WriteInt32(17);
    stream.WriteString(String("Zel.NoSuchClass"));
    ReadBack back(stream);
    LogCapture capture;
    Pointer<Object> loaded;
    EXPECT_EQ(back.stream.ReadLink(loaded), 1);
    EXPECT_EQ(loaded.Get(), nullptr);
    EXPECT_TRUE(capture->Contains(kLogError,
                                  "Невозможно найти функцию создания объекта. RTTI[Zel.NoSuchClass] ID[17]"));
}

TEST(Stream, LinkOfTheWrongTypeIsRefused) {
    Pointer<TestObject> object = new TestObject;
    object->AttachController(new TestController);
    Stream stream(0, 64);
    stream.WriteInt32(object->GetId());
    stream.WriteString(String("Zel.TestObject"));
    object->Save(stream);  // an object where a controller link is expected
    Pointer<TestObject> host = new TestObject;
    Stream wrapper(0, 64);
    wrapper.WriteString(String("host"));
    wrapper.WriteInt32(1);
    wrapper.Write(stream.GetBuffer(), stream.GetPosition());
    ReadBack back(wrapper);
    EXPECT_NE(host->Object::Load(back.stream), 0);
    EXPECT_EQ(host->GetControllerCount(), 0);
}

TEST(Stream, DeeplyNestedLinksAreRefusedInsteadOfExhaustingTheStack) {
    // Every object links to the next: far deeper than any scene.
    Stream stream(0, 1 << 16);
    const int depth = Stream::kMaxLinkDepth + 10;
    for (int i = 0; i < depth; ++i) {
        stream.WriteInt32(i);
        stream.WriteString(String("Zel.TestObject"));
        stream.WriteString(String());
        stream.WriteInt32(0);  // no controllers; the link comes next
    }
    stream.WriteInt32(-1);
    ReadBack back(stream);
    Pointer<Object> loaded;
    EXPECT_NE(back.stream.ReadLink(loaded), 0);
    EXPECT_EQ(loaded.Get(), nullptr);
}

}  // namespace
}  // namespace zel
