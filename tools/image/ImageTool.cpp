#include "tools/image/ImageTool.h"

#include <cstdio>

#include "engine/core/Pointer.h"
#include "engine/core/Status.h"
#include "engine/resources/Codec.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/Directory.h"
#include "engine/resources/File.h"
#include "engine/resources/Image.h"
#include "engine/resources/VolumeImage.h"
#include "tools/common/DiskPath.h"

namespace zel {

namespace {

const char* const kCodecNames[] = {"BMPImageCodec", "JPGImageCodec", "TGAImageCodec", "CUBEImageCodec"};
const char kCubeCodec[] = "CUBEImageCodec";

int Fail(const char* format, const std::string& what) {
    std::fprintf(stderr, "zel-image: ");
    std::fprintf(stderr, format, what.c_str());
    std::fprintf(stderr, "\n");
    return 1;
}

ImageCodec* ImageCodecFor(File* file) { return CodecAs<ImageCodec>(FindCodecForFile(file)); }

bool IsCube(const ImageCodec* codec) { return codec->GetName() == String(kCubeCodec); }

// Loads the file through its codec into a new image (a VolumeImage for cube
// maps); null after reporting the failure.
Pointer<Image> LoadImage(const std::string& path, ImageCodec** codecUsed) {
    DiskPath disk(path);
    ImageCodec* codec = ImageCodecFor(disk.GetFile());
    if (codec == nullptr) {
        Fail("no image codec takes the file %s", path);
        return nullptr;
    }
    Pointer<Image> image = IsCube(codec) ? new VolumeImage() : new Image();
    image->SetName(disk.GetFile()->GetName());
    if (image->LoadFromFile(disk.GetFile()) != kOk) {
        Fail("cannot load %s", path);
        return nullptr;
    }
    *codecUsed = codec;
    return image;
}

// A format 0 copy of an RGBA image: the alpha channel is dropped.
Pointer<Image> WithoutAlpha(const Image& image) {
    Pointer<Image> copy = new Image(image.GetName(), Image::kFormatRGB, image.GetWidth(), image.GetHeight());
    if (copy->GetData() == nullptr) return nullptr;
    const int64_t pixels = int64_t{image.GetWidth()} * image.GetHeight();
    for (int64_t i = 0; i < pixels; ++i)
        for (int c = 0; c < 3; ++c) copy->GetData()[i * 3 + c] = image.GetData()[i * 4 + c];
    return copy;
}

}  // namespace

int ImageTool::LoadCodecs() {
    for (const char* name : kCodecNames)
        if (LoadCodec(String(name), nullptr) != kOk) return Fail("cannot load the codec %s", name);
    return 0;
}

int ImageTool::Info(const std::string& path) {
    ImageCodec* codec = nullptr;
    Pointer<Image> image = LoadImage(path, &codec);
    if (image == nullptr) return 1;
    std::printf("%s %d %d %d\n", codec->GetName().CStr(), image->GetWidth(), image->GetHeight(), image->GetFormat());
    return 0;
}

int ImageTool::Convert(const std::string& input, const std::string& output) {
    ImageCodec* inputCodec = nullptr;
    Pointer<Image> image = LoadImage(input, &inputCodec);
    if (image == nullptr) return 1;
    DiskPath disk(output);
    ImageCodec* codec = ImageCodecFor(disk.GetFile());
    if (codec == nullptr) return Fail("no image codec takes the file %s", output);
    if (IsCube(codec) != IsCube(inputCodec)) return Fail("a cube map converts only to a cube map: %s", output);
    int32_t status = codec->Save(disk.GetFile(), image);
    if (status == kInvalidArgument && image->GetFormat() == Image::kFormatRGBA) {
        std::fprintf(stderr, "zel-image: %s keeps no alpha channel; it is dropped\n", output.c_str());
        Pointer<Image> opaque = WithoutAlpha(*image);
        status = opaque != nullptr ? codec->Save(disk.GetFile(), opaque) : kOutOfMemory;
    }
    if (status != kOk) return Fail("cannot save %s", output);
    return 0;
}

}  // namespace zel
