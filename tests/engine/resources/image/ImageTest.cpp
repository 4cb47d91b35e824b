// Image and VolumeImage: sizes per format, construction, and streaming with
// and without a file name (pixels are never streamed).
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "engine/core/ClassFactory.h"
#include "engine/core/Log.h"
#include "engine/core/Status.h"
#include "engine/core/Stream.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/Directory.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/Image.h"
#include "engine/resources/VolumeImage.h"
#include "ImageTestFiles.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using imagetest::Bytes;
using test::LogCapture;

// A directory of memory files mounted under the root for one test.
class MountedFiles {
public:
    MountedFiles() : directory_(new Directory(String("ImageTest.mnt"), GetRootDirectory())) {}
    ~MountedFiles() { delete directory_; }
    void Add(const char* name, const Bytes& bytes) { directory_->AttachFile(imagetest::NewMemoryFile(name, bytes)); }

private:
    Directory* directory_;
};

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(LoadCodec(String("TGAImageCodec"), nullptr), kOk); }
};

// --- Sizes

TEST_F(ImageTest, DataSizeFollowsTheFormatTable) {
    struct Case {
        int32_t format;
        int32_t bytesPerPixel;
    };
    const Case cases[] = {{0, 3}, {1, 4}, {2, 1}, {3, 8}, {4, 0}, {5, 0}, {6, 0}, {-1, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(Image::GetBytesPerPixel(c.format), c.bytesPerPixel) << c.format;
        Pointer<Image> image = new Image(String("size"), c.format, 7, 3);
        EXPECT_EQ(image->GetDataSize(), 21 * c.bytesPerPixel) << c.format;
        EXPECT_EQ(image->GetData() != nullptr, c.bytesPerPixel > 0) << c.format;
        Pointer<VolumeImage> volume = new VolumeImage(String("volume"), c.format, 7, 3, 6);
        EXPECT_EQ(volume->GetDataSize(), 6 * 21 * c.bytesPerPixel) << c.format;
        EXPECT_EQ(volume->GetSliceSize(), 21 * c.bytesPerPixel) << c.format;
    }
}

TEST_F(ImageTest, SlicesFollowOneAnother) {
    Pointer<VolumeImage> volume = new VolumeImage(String("cube"), Image::kFormatRGBA, 4, 2, 6);
    ASSERT_NE(volume->GetData(), nullptr);
    EXPECT_EQ(volume->GetSlice(0), volume->GetData());
    EXPECT_EQ(volume->GetSlice(5), volume->GetData() + 5 * 32);
    EXPECT_EQ(volume->GetSlice(6), nullptr);
    EXPECT_EQ(volume->GetSlice(-1), nullptr);
}

TEST_F(ImageTest, ImpossibleSizesLogAndLeaveNoPixels) {
    LogCapture capture;
    Pointer<Image> huge = new Image(String("huge"), Image::kFormatRGBA16F, 65536, 65536);
    EXPECT_EQ(huge->GetDataSize(), -1);
    EXPECT_EQ(huge->GetData(), nullptr);
    EXPECT_TRUE(capture->Contains(kLogError, "Недостаточно памяти для создания изображения. ID[" +
                                                 std::to_string(huge->GetId()) + "] Имя[huge]"));
    Pointer<VolumeImage> deep = new VolumeImage(String("deep"), Image::kFormatRGBA, 32768, 32768, 6);
    EXPECT_EQ(deep->GetDataSize(), -1);
    EXPECT_EQ(deep->GetData(), nullptr);
}

TEST_F(ImageTest, BothClassesAreMadeByName) {
    for (const char* name : {"Zel.Image", "Zel.VolumeImage"}) {
        CreateFunction create = FindCreateFunction(String(name));
        ASSERT_NE(create, nullptr) << name;
        Object* object = nullptr;
        ASSERT_EQ(create(&object), kOk);
        Pointer<Object> held = object;
        Image* image = CastTo<Image>(object);
        ASSERT_NE(image, nullptr);
        EXPECT_STREQ(image->GetRtti()->GetName().CStr(), name);
        EXPECT_TRUE(image->GetFileName().IsEmpty());
        EXPECT_EQ(image->GetData(), nullptr);
    }
}

// --- Construction from a file

TEST_F(ImageTest, FileConstructorTakesNamesAndLoads) {
    MountedFiles files;
    files.Add("brick.tga", imagetest::Tga(2, 1, 1, 24, 0, {1, 2, 3}));
    File* file = FindMountedFile(String("brick.tga"));
    ASSERT_NE(file, nullptr);

    Pointer<Image> unnamed = new Image(file, String());
    EXPECT_STREQ(unnamed->GetFileName().CStr(), "brick.tga");
    EXPECT_STREQ(unnamed->GetName().CStr(), "brick.tga");
    ASSERT_NE(unnamed->GetData(), nullptr);
    EXPECT_EQ(unnamed->GetData()[0], 3);

    Pointer<Image> named = new Image(file, String("wall"));
    EXPECT_STREQ(named->GetName().CStr(), "wall");
    EXPECT_STREQ(named->GetFileName().CStr(), "brick.tga");
}

TEST_F(ImageTest, LoadFromFileFailures) {
    MountedFiles files;
    files.Add("broken.tga", imagetest::Tga(2, 4, 4, 24, 0, {1}));
    files.Add("picture.png", {1, 2, 3});
    files.Add("scene.STR", {0, 0, 0, 0});
    ASSERT_EQ(LoadCodec(String("STRSceneCodec"), nullptr), kOk);
    Pointer<Image> image = new Image();
    image->SetName(String("target"));
    LogCapture capture;

    EXPECT_EQ(image->LoadFromFile(nullptr), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Указатель на файл равен 0 при загрузке изображения [target]."));
    EXPECT_EQ(image->LoadFromFile(FindMountedFile(String("picture.png"))), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogWarning, "Не найден кодек для файла при загрузке изображения [target]."));
    EXPECT_EQ(image->LoadFromFile(FindMountedFile(String("broken.tga"))), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Неудачна загрузка изображения [target]."));
    capture.Clear();
    // A scene codec cannot fill an image.
    EXPECT_EQ(image->LoadFromFile(FindMountedFile(String("scene.STR"))), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Неудачна загрузка изображения [target]."));
    EXPECT_EQ(image->GetData(), nullptr);
}

// --- Streaming

TEST_F(ImageTest, WithoutFileNameSizeAndFormatAreStreamedAndTheBlockRecreated) {
    Pointer<Image> original = new Image(String("target"), Image::kFormatRGBA, 16, 8);
    Stream stream(0, 256);
    ASSERT_EQ(original->Save(stream), kOk);
    // Object data (name, controller count), empty file name, three int32.
    Stream reference(0, 256);
    reference.WriteString(String("target"));
    reference.WriteInt32(0);
    reference.WriteString(String());
    EXPECT_EQ(stream.GetPosition(), reference.GetPosition() + 12);

    stream.Rewind();
    Pointer<Image> loaded = new Image();
    LogCapture capture;
    ASSERT_EQ(loaded->Load(stream), kOk);
    EXPECT_EQ(loaded->GetWidth(), 16);
    EXPECT_EQ(loaded->GetHeight(), 8);
    EXPECT_EQ(loaded->GetFormat(), Image::kFormatRGBA);
    EXPECT_NE(loaded->GetData(), nullptr);
    EXPECT_TRUE(capture->Contains(kLogInfo, "Изображение [target] загружено."));
}

TEST_F(ImageTest, VolumeStreamsDepthBetweenHeightAndFormatAndLogsNothing) {
    Pointer<VolumeImage> original = new VolumeImage(String("sky"), Image::kFormatRGB, 4, 4, 6);
    Stream stream(0, 256);
    ASSERT_EQ(original->Save(stream), kOk);
    int32_t tail[4];
    std::memcpy(tail, stream.GetBuffer() + stream.GetPosition() - 16, 16);
    EXPECT_EQ(tail[0], 4);
    EXPECT_EQ(tail[1], 4);
    EXPECT_EQ(tail[2], 6);
    EXPECT_EQ(tail[3], Image::kFormatRGB);

    stream.Rewind();
    Pointer<VolumeImage> loaded = new VolumeImage();
    LogCapture capture;
    ASSERT_EQ(loaded->Load(stream), kOk);
    EXPECT_EQ(loaded->GetDepth(), 6);
    EXPECT_EQ(loaded->GetDataSize(), 6 * 48);
    EXPECT_NE(loaded->GetData(), nullptr);
    EXPECT_FALSE(capture->Contains("загружено"));
}

TEST_F(ImageTest, WithFileNameOnlyTheNameIsStreamedAndPixelsComeFromTheFile) {
    MountedFiles files;
    files.Add("mill.tga", imagetest::Tga(2, 2, 1, 24, 0, {10, 20, 30, 40, 50, 60}));
    Pointer<Image> original = new Image(FindMountedFile(String("mill.tga")), String("mill"));
    ASSERT_NE(original->GetData(), nullptr);
    Stream stream(0, 256);
    ASSERT_EQ(original->Save(stream), kOk);
    Stream reference(0, 256);
    reference.WriteString(String("mill"));
    reference.WriteInt32(0);
    reference.WriteString(String("mill.tga"));
    EXPECT_EQ(stream.GetPosition(), reference.GetPosition());

    stream.Rewind();
    Pointer<Image> loaded = new Image();
    LogCapture capture;
    ASSERT_EQ(loaded->Load(stream), kOk);
    EXPECT_EQ(loaded->GetWidth(), 2);
    ASSERT_NE(loaded->GetData(), nullptr);
    EXPECT_EQ(Bytes(loaded->GetData(), loaded->GetData() + 6), (Bytes{30, 20, 10, 60, 50, 40}));
    EXPECT_TRUE(capture->Contains(kLogInfo, "Изображение [mill] загружено."));
}

TEST_F(ImageTest, AFileNameThatIsNotMountedFails) {
    Stream stream(0, 256);
    stream.WriteString(String("ghost"));
    stream.WriteInt32(0);
    stream.WriteString(String("nowhere.tga"));
    stream.Rewind();
    Pointer<Image> loaded = new Image();
    LogCapture capture;
    EXPECT_EQ(loaded->Load(stream), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить изображение из файла. ID[" +
                                                 std::to_string(loaded->GetId()) + "] Имя[ghost] Файл[nowhere.tga]"));
}

TEST_F(ImageTest, BadOrMissingStreamFieldsFail) {
    struct Case {
        const char* what;
        std::vector<int32_t> fields;  // after the empty file name
        const char* line;
        int32_t status;
    };
    const Case cases[] = {
        {"no width", {}, "Невозможно загрузить ширину изображения.", kFailed},
        {"negative width", {-1, 4, 0}, "Невозможно загрузить ширину изображения.", kFailed},
        {"no height", {4}, "Невозможно загрузить высоту изображения.", kFailed},
        {"negative height", {4, -4, 0}, "Невозможно загрузить высоту изображения.", kFailed},
        {"no format", {4, 4}, "Невозможно загрузить формат изображения.", kFailed},
        {"unknown format", {4, 4, 6}, "Невозможно загрузить формат изображения.", kFailed},
        {"beyond memory", {INT_MAX, INT_MAX, 1}, "Недостаточно памяти для создания изображения.", kOutOfMemory},
    };
    for (const Case& c : cases) {
        Stream stream(0, 256);
        stream.WriteString(String("bad"));
        stream.WriteInt32(0);
        stream.WriteString(String());
        for (int32_t value : c.fields) stream.WriteInt32(value);
        Stream input(stream.GetPosition(), 1);
        input.Write(stream.GetBuffer(), stream.GetPosition());
        input.Rewind();
        Pointer<Image> image = new Image();
        LogCapture capture;
        EXPECT_EQ(image->Load(input), c.status) << c.what;
        EXPECT_TRUE(capture->Contains(kLogError, c.line)) << c.what;
        EXPECT_EQ(image->GetData(), nullptr) << c.what;
    }
}

TEST_F(ImageTest, FormatsWithoutPixelsStreamAndLoadWithoutABlock) {
    for (int32_t format : {Image::kFormatNone, Image::kFormatDepthStencil}) {
        Pointer<Image> original = new Image(String("shadow"), format, 512, 512);
        EXPECT_EQ(original->GetDataSize(), 0);
        Stream stream(0, 256);
        ASSERT_EQ(original->Save(stream), kOk);
        stream.Rewind();
        Pointer<Image> loaded = new Image();
        ASSERT_EQ(loaded->Load(stream), kOk);
        EXPECT_EQ(loaded->GetFormat(), format);
        EXPECT_EQ(loaded->GetData(), nullptr);
    }
}

}  // namespace
}  // namespace zel
