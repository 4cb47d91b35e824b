// The four image codecs as the engine reaches them: internal modules,
// chosen by extension, loading from memory files and saving to disk files
// through the virtual file system.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/core/Log.h"
#include "engine/core/Status.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/Directory.h"
#include "engine/resources/File.h"
#include "engine/resources/Image.h"
#include "engine/resources/ModuleManager.h"
#include "engine/resources/VolumeImage.h"
#include "engine/resources/TempDirectory.h"
#include "ImageTestFiles.h"
#include "support/RecordingOutput.h"

namespace zel {
namespace {

using imagetest::Bytes;
using test::LogCapture;
using test::TempDirectory;

const char* const kCodecNames[] = {"BMPImageCodec", "JPGImageCodec", "TGAImageCodec", "CUBEImageCodec"};

ImageCodec* CodecNamed(const char* name) {
    Pointer<Codec> codec;
    if (LoadCodec(String(name), &codec) != kOk) return nullptr;
    return CodecAs<ImageCodec>(codec.Get());  // the registry keeps it alive
}

Bytes Pixels(const Image& image) { return Bytes(image.GetData(), image.GetData() + image.GetDataSize()); }

class ImageCodecTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kCodecNames) ASSERT_NE(CodecNamed(name), nullptr) << name;
    }

    File* DiskFile(const char* name) {
        File* file = new File(String(name));
        folder.AttachFile(file);
        return file;
    }

    TempDirectory temp;
    Directory folder{String(temp.Text().c_str()), nullptr};
};

// --- Registration and choice by extension

TEST_F(ImageCodecTest, EachCodecIsAnInternalModuleOfItsName) {
    struct Case {
        const char* name;
        std::vector<const char*> extensions;
    };
    const Case cases[] = {
        {"BMPImageCodec", {"BMP", "bmp", "Bmp"}},
        {"JPGImageCodec", {"JPG", "jpg", "Jpg", "JPEG", "jpeg", "Jpeg"}},
        {"TGAImageCodec", {"TGA", "tga", "Tga"}},
        {"CUBEImageCodec", {"CUBE", "cube", "Cube"}},
    };
    for (const Case& c : cases) {
        Module* module = FindModule(String(c.name));
        ASSERT_NE(module, nullptr) << c.name;
        ImageCodec* codec = CodecNamed(c.name);
        ASSERT_NE(codec, nullptr) << c.name;
        EXPECT_EQ(codec->GetKind(), Codec::kImageKind);
        EXPECT_EQ(codec->GetModule(), module);
        ASSERT_EQ(codec->GetExtensionCount(), int32_t(c.extensions.size())) << c.name;
        for (size_t i = 0; i < c.extensions.size(); ++i)
            EXPECT_STREQ(codec->GetExtension(int32_t(i)).CStr(), c.extensions[i]);
    }
}

TEST_F(ImageCodecTest, FilesFindTheirCodecByExactExtension) {
    struct Case {
        const char* file;
        const char* codec;  // null: none
    };
    const Case cases[] = {
        {"mill.TGA", "TGAImageCodec"}, {"a.b.jpg", "JPGImageCodec"}, {"sky.Jpeg", "JPGImageCodec"},
        {"font.bmp", "BMPImageCodec"}, {"env.Cube", "CUBEImageCodec"}, {"mill.tGa", nullptr},
        {"photo.jpe", nullptr},        {"cube", nullptr},
    };
    for (const Case& c : cases) {
        File file{String(c.file)};
        Codec* codec = FindCodecForFile(&file);
        if (c.codec == nullptr)
            EXPECT_EQ(codec, nullptr) << c.file;
        else
            EXPECT_EQ(codec, FindCodec(String(c.codec))) << c.file;
    }
}

// --- Arguments and failures

TEST_F(ImageCodecTest, LoadChecksItsArgumentsAndClosesTheFile) {
    std::unique_ptr<MemoryFile> file(imagetest::NewMemoryFile("a.tga", imagetest::Tga(2, 1, 1, 24, 0, {1, 2, 3})));
    std::unique_ptr<MemoryFile> empty(new MemoryFile(String("b.tga")));
    Pointer<Image> image = new Image();
    for (const char* name : kCodecNames) {
        ImageCodec* codec = CodecNamed(name);
        EXPECT_EQ(codec->Load(nullptr, image), kInvalidArgument) << name;
        EXPECT_EQ(codec->Load(file.get(), nullptr), kInvalidArgument) << name;
        EXPECT_FALSE(file->IsOpen()) << name;
        EXPECT_EQ(codec->Load(empty.get(), image), kFailed) << name;  // cannot be opened
        EXPECT_EQ(codec->Save(nullptr, image), kInvalidArgument) << name;
        EXPECT_EQ(codec->Save(file.get(), nullptr), kInvalidArgument) << name;
    }
}

TEST_F(ImageCodecTest, FailedLoadsLeaveTheImageAloneAndOnlyJpegLogs) {
    Pointer<Image> image = new Image(String("kept"), Image::kFormatA8, 2, 2);
    uint8_t* pixels = image->GetData();
    std::unique_ptr<MemoryFile> tga(imagetest::NewMemoryFile("bad.tga", imagetest::Tga(2, 9, 9, 16, 0, {})));
    std::unique_ptr<MemoryFile> bmp(imagetest::NewMemoryFile("bad.bmp", Bytes(60, 0)));
    std::unique_ptr<MemoryFile> cube(imagetest::NewMemoryFile("bad.cube", Bytes(20, 0)));
    std::unique_ptr<MemoryFile> jpg(imagetest::NewMemoryFile("bad.jpg", Bytes(20, 0)));
    LogCapture capture;
    EXPECT_EQ(CodecNamed("TGAImageCodec")->Load(tga.get(), image), kFailed);
    EXPECT_EQ(CodecNamed("BMPImageCodec")->Load(bmp.get(), image), kFailed);
    Pointer<VolumeImage> volume = new VolumeImage();
    EXPECT_EQ(CodecNamed("CUBEImageCodec")->Load(cube.get(), volume), kFailed);
    EXPECT_TRUE(capture->lines.empty());
    EXPECT_EQ(CodecNamed("JPGImageCodec")->Load(jpg.get(), image), kFailed);
    EXPECT_FALSE(capture->lines.empty());
    EXPECT_EQ(image->GetData(), pixels);
    EXPECT_EQ(image->GetFormat(), Image::kFormatA8);
    EXPECT_EQ(image->GetWidth(), 2);
}

TEST_F(ImageCodecTest, CubeMapsNeedAVolumeImage) {
    Pointer<Image> flat = new Image(String("flat"), Image::kFormatRGB, 2, 2);
    Pointer<VolumeImage> four = new VolumeImage(String("four"), Image::kFormatRGB, 2, 2, 4);
    ImageCodec* cube = CodecNamed("CUBEImageCodec");
    EXPECT_EQ(cube->Save(DiskFile("flat.cube"), flat), kFailed);
    EXPECT_EQ(cube->Save(DiskFile("four.cube"), four), kFailed);
    Bytes six;
    for (int k = 0; k < 6; ++k) imagetest::Append(six, imagetest::Tga(2, 1, 1, 24, 0, {1, 2, 3}));
    std::unique_ptr<MemoryFile> file(imagetest::NewMemoryFile("six.cube", six));
    EXPECT_EQ(cube->Load(file.get(), flat), kInvalidArgument);
    Pointer<VolumeImage> volume = new VolumeImage();
    ASSERT_EQ(cube->Load(file.get(), volume), kOk);
    EXPECT_EQ(volume->GetDepth(), 6);
    EXPECT_EQ(volume->GetDataSize(), 18);
}

TEST_F(ImageCodecTest, RefusedSavesWriteNothing) {
    Pointer<Image> rgba = new Image(String("rgba"), Image::kFormatRGBA, 2, 2);
    for (const char* name : {"BMPImageCodec", "JPGImageCodec"}) {
        EXPECT_EQ(CodecNamed(name)->Save(DiskFile("refused.out"), rgba), kInvalidArgument) << name;
        EXPECT_FALSE(std::filesystem::exists(temp / "refused.out")) << name;
    }
    // A folder that does not exist cannot be opened for writing.
    Directory missing{String((temp.Text() + "/missing").c_str()), nullptr};
    File* nowhere = new File(String("x.tga"));
    missing.AttachFile(nowhere);
    EXPECT_EQ(CodecNamed("TGAImageCodec")->Save(nowhere, rgba), kFailed);
}

// --- Saving and loading through disk files

TEST_F(ImageCodecTest, SavedFilesLoadBackThroughTheEngine) {
    struct Case {
        const char* file;
        int32_t format;
        int32_t depth;  // 0: a plain image
        bool exact;
    };
    const Case cases[] = {
        {"rgb.bmp", Image::kFormatRGB, 0, true},   {"grey.bmp", Image::kFormatA8, 0, true},
        {"rgb.tga", Image::kFormatRGB, 0, true},   {"rgba.tga", Image::kFormatRGBA, 0, true},
        {"rgba.cube", Image::kFormatRGBA, 6, true}, {"rgb.cube", Image::kFormatRGB, 6, true},
        {"rgb.jpg", Image::kFormatRGB, 0, false},  {"grey.jpeg", Image::kFormatA8, 0, false},
    };
    for (const Case& c : cases) {
        Pointer<Image> original = c.depth == 0 ? new Image(String("original"), c.format, 19, 11)
                                               : new VolumeImage(String("original"), c.format, 19, 11, c.depth);
        const int bpp = Image::GetBytesPerPixel(c.format);
        Bytes pattern = imagetest::PatternPixels(19, 11 * (c.depth == 0 ? 1 : c.depth), bpp, 4);
        // Smooth content for JPEG, so that the comparison can be close.
        if (!c.exact)
            for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = uint8_t((i / bpp) % 19 * 8 + (i % bpp) * 30);
        std::copy(pattern.begin(), pattern.end(), original->GetData());

        File* file = DiskFile(c.file);
        Codec* codec = FindCodecForFile(file);
        ASSERT_NE(codec, nullptr) << c.file;
        ASSERT_EQ(CodecAs<ImageCodec>(codec)->Save(file, original), kOk) << c.file;
        EXPECT_FALSE(file->IsOpen());

        Pointer<Image> loaded = c.depth == 0 ? new Image(file, String()) : new VolumeImage(file, String());
        ASSERT_NE(loaded->GetData(), nullptr) << c.file;
        EXPECT_EQ(loaded->GetFormat(), c.format) << c.file;
        EXPECT_EQ(loaded->GetWidth(), 19) << c.file;
        EXPECT_EQ(loaded->GetHeight(), 11) << c.file;
        if (c.exact) {
            EXPECT_EQ(Pixels(*loaded), pattern) << c.file;
        } else {
            Bytes back = Pixels(*loaded);
            ASSERT_EQ(back.size(), pattern.size());
            long total = 0;
            for (size_t i = 0; i < back.size(); ++i) total += std::abs(back[i] - pattern[i]);
            EXPECT_LT(double(total) / back.size(), 6.0) << c.file;
        }
    }
}

TEST_F(ImageCodecTest, JpegSavingLeavesNoScratchFileBehind) {
    Pointer<Image> image = new Image(String("grey"), Image::kFormatA8, 8, 8);
    std::fill(image->GetData(), image->GetData() + 64, uint8_t(90));
    auto before = std::distance(std::filesystem::directory_iterator(std::filesystem::current_path()), {});
    ASSERT_EQ(CodecNamed("JPGImageCodec")->Save(DiskFile("grey.jpg"), image), kOk);
    auto after = std::distance(std::filesystem::directory_iterator(std::filesystem::current_path()), {});
    EXPECT_EQ(before, after);
    EXPECT_GT(std::filesystem::file_size(temp / "grey.jpg"), 100u);
}

}  // namespace
}  // namespace zel
