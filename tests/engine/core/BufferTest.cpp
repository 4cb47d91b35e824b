#include <gtest/gtest.h>

#include <cstring>

#include "engine/core/Buffer.h"
#include "engine/core/Stream.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

// The bytes a buffer writes after its Object part (empty name, no controllers).
template <class B>
std::vector<uint8_t> OwnBytes(B& buffer) {
    Stream stream(0, 64);
    buffer.Save(stream);
    const uint8_t* bytes = stream.GetBuffer();
    return std::vector<uint8_t>(bytes + 8, bytes + stream.GetPosition());
}

TEST(Buffer, NewVectorBuffersAreZeroedAndSized) {
    Vector3Buffer buffer(4, nullptr);
    EXPECT_EQ(buffer.GetCount(), 4);
    EXPECT_EQ(buffer.GetDataSize(), 48);
    const uint8_t zeros[48] = {};
    EXPECT_EQ(std::memcmp(buffer.GetData(), zeros, 48), 0);
    EXPECT_TRUE(buffer.GetBinding().IsDirty());
}

TEST(Buffer, EmptyBufferStreamsAsCountZeroAndLoadsWithoutData) {
    IntBuffer empty;
    std::vector<uint8_t> bytes = OwnBytes(empty);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 0, 0, 0}));
    Stream stream(0, 64);
    EXPECT_EQ(empty.Save(stream), kOk);
    stream.Rewind();
    IntBuffer loaded(3, nullptr);  // an old array is released by the load
    ASSERT_EQ(loaded.Load(stream), 0);
    EXPECT_EQ(loaded.GetCount(), 0);
    EXPECT_EQ(loaded.GetData(), nullptr);
}

TEST(Buffer, ColorAndVector4WithEqualValuesWriteEqualBytes) {
    ColorBuffer colors(2, nullptr);
    Vector4Buffer vectors(2, nullptr);
    for (int i = 0; i < 2; ++i) {
        colors[i] = {0.5f, 1.0f + i, 2.0f, 3.0f};
        vectors[i] = {0.5f, 1.0f + i, 2.0f, 3.0f};
    }
    EXPECT_EQ(OwnBytes(colors), OwnBytes(vectors));
}

TEST(Buffer, LoadingSetsTheDirtyFlagAndRestoresElements) {
    FloatBuffer source(3, nullptr);
    source[0] = 1.5f;
    source[1] = -2.0f;
    source[2] = 1e30f;
    Stream stream(0, 64);
    ASSERT_EQ(source.Save(stream), 0);
    stream.Rewind();
    FloatBuffer loaded;
    loaded.GetBinding().SetDirty(false);
    ASSERT_EQ(loaded.Load(stream), 0);
    EXPECT_TRUE(loaded.GetBinding().IsDirty());
    ASSERT_EQ(loaded.GetCount(), 3);
    EXPECT_EQ(loaded[2], 1e30f);
}

TEST(Buffer, CountBeyondTheStreamFailsWithoutAllocating) {
    test::LogCapture capture;
    Stream stream(0, 64);
    stream.WriteString(String());
    stream.WriteInt32(0);
    stream.WriteInt32(0x7FFFFFFF);  // elements that the stream cannot hold
    stream.WriteInt32(0);
    stream.Rewind();
    Vector4Buffer buffer;
    EXPECT_EQ(buffer.Load(stream), 1);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить количество данных буффера."));
    EXPECT_EQ(buffer.GetData(), nullptr);
}

}  // namespace
}  // namespace zel
