#include "tools/content/show/ShowAssets.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <new>

#include "engine/math/Quaternion.h"
#include "engine/render/texture/NormalmapTextureController.h"
#include "engine/render/texture/Texture.h"
#include "engine/resources/Codec.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/Image.h"
#include "engine/scene/Light.h"
#include "tools/common/DiskPath.h"
#include "tools/content/show/HarbourLayout.h"

namespace zel {

uint8_t Picture::At(int x, int y, int c) const {
    x = ((x % width) + width) % width;
    y = ((y % height) + height) % height;
    return static_cast<uint8_t>(pixels[(static_cast<size_t>(y) * width + x) * bytesPerPixel + c]);
}

void Picture::Sample(float u, float v, float rgb[3]) const {
    const float fx = std::floor(u), fy = std::floor(v);
    const int x = static_cast<int>(fx), y = static_cast<int>(fy);
    const float tx = u - fx, ty = v - fy;
    for (int c = 0; c < 3; ++c) {
        const int channel = bytesPerPixel >= 3 ? c : 0;
        const float top = At(x, y, channel) * (1 - tx) + At(x + 1, y, channel) * tx;
        const float bottom = At(x, y + 1, channel) * (1 - tx) + At(x + 1, y + 1, channel) * tx;
        rgb[c] = (top * (1 - ty) + bottom * ty) / 255.0f;
    }
}

ShowAssets::ShowAssets(const std::string& directory) : directory_(directory) {
    sun_ = new (std::nothrow) Light(Light::kDirectional, String("Sun"));
    if (sun_ == nullptr) {
        Fail("the sun");
        return;
    }
    // The light shines away from the sun; warm and low, with a cool sky
    // fill.
    sun_->GetLocal().rotation = Quaternion::LookAlong(-harbour::SunDirection());
    sun_->SetDiffuse({1.0f, 0.72f, 0.48f, 1.0f});
    sun_->SetAmbient({0.5f, 0.44f, 0.56f, 1.0f});
    sun_->SetSpecular({0.6f, 0.45f, 0.3f, 1.0f});
}

ShowAssets::~ShowAssets() = default;

void ShowAssets::Fail(const std::string& what) {
    std::fprintf(stderr, "zel-content: cannot make %s\n", what.c_str());
    failed_ = true;
}

Texture* ShowAssets::File(const std::string& file) {
    auto found = textures_.find(file);
    if (found != textures_.end()) return found->second;
    Pointer<Image> image = new (std::nothrow) Image();
    Pointer<Texture> texture = image != nullptr ? new (std::nothrow) Texture(image, String(file.c_str())) : nullptr;
    if (texture == nullptr) {
        Fail(file);
        return nullptr;
    }
    image->SetName(String(file.c_str()));
    image->SetFileName(String(file.c_str()));
    textures_[file] = texture;
    used_.emplace(file, static_cast<int>(used_.size()));
    return texture;
}

Texture* ShowAssets::Painted(const std::string& file, int width, int height, bool alpha, const Painter& paint) {
    if (WritePicture(directory_ + "/" + file, width, height, alpha, paint) != 0) {
        Fail(file);
        return nullptr;
    }
    return File(file);
}

Picture ShowAssets::Read(const std::string& file) {
    Picture picture;
    DiskPath disk(directory_ + "/" + file);
    Pointer<Image> image = new (std::nothrow) Image(disk.GetFile(), String(file.c_str()));
    if (image == nullptr || image->GetData() == nullptr) {
        Fail("a picture from " + file);
        return picture;
    }
    picture.width = image->GetWidth();
    picture.height = image->GetHeight();
    picture.bytesPerPixel = Image::GetBytesPerPixel(image->GetFormat());
    const size_t row = static_cast<size_t>(picture.width) * picture.bytesPerPixel;
    picture.pixels.resize(row * picture.height);
    // Images keep their rows bottom first.
    for (int y = 0; y < picture.height; ++y)
        picture.pixels.replace(row * y, row,
                               reinterpret_cast<const char*>(image->GetData()) + row * (picture.height - 1 - y), row);
    return picture;
}

Texture* ShowAssets::NormalMap(const std::string& heightFile, float bump) {
    const std::string file = heightFile.substr(0, heightFile.find_last_of('.')) + ".bmp";
    if (auto made = textures_.find(file); made != textures_.end()) return made->second;
    const Picture heights = Read(heightFile);
    if (heights.IsEmpty()) return nullptr;
    Pointer<Image> image =
        new (std::nothrow) Image(String(file.c_str()), Image::kFormatA8, heights.width, heights.height);
    if (image == nullptr || image->GetData() == nullptr) {
        Fail(file);
        return nullptr;
    }
    uint8_t* out = image->GetData();
    for (int row = 0; row < heights.height; ++row)
        for (int x = 0; x < heights.width; ++x) *out++ = heights.At(x, heights.height - 1 - row, 0);
    DiskPath disk(directory_ + "/" + file);
    ImageCodec* codec = CodecAs<ImageCodec>(FindCodecForFile(disk.GetFile()));
    if (codec == nullptr || codec->Save(disk.GetFile(), image) != kOk) {
        Fail(file);
        return nullptr;
    }
    // The grey picture was only the source: the archive carries the BMP.
    std::error_code error;
    std::filesystem::remove(directory_ + "/" + heightFile, error);
    Texture* texture = File(file);
    Pointer<NormalmapTextureController> controller = new (std::nothrow) NormalmapTextureController();
    if (texture == nullptr || controller == nullptr) {
        Fail("the normal map of " + file);
        return nullptr;
    }
    controller->bumpCoefficient = bump;
    texture->AttachController(controller);
    return texture;
}

Texture* ShowAssets::Blank(const std::string& name, int width, int height, int format) {
    Pointer<Image> image = new (std::nothrow) Image(String(name.c_str()), format, width, height);
    Pointer<Texture> texture = image != nullptr ? new (std::nothrow) Texture(image, String(name.c_str())) : nullptr;
    if (texture == nullptr) {
        Fail(name);
        return nullptr;
    }
    textures_[name] = texture;
    return texture;
}

}  // namespace zel
