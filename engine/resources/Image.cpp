#include "engine/resources/Image.h"

#include <cstddef>
#include <new>

#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "engine/resources/Codec.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/File.h"
#include "engine/resources/FileManager.h"

namespace zel {

ZEL_DEFINE_RTTI(Image, Object)

namespace {

constexpr int32_t kBytesPerPixel[] = {3, 4, 1, 8, 0};
constexpr int32_t kLastFormat = Image::kFormatDepthStencil;

bool IsKnownFormat(int32_t format) { return format >= 0 && format <= kLastFormat; }

}  // namespace

int32_t Image::GetBytesPerPixel(int32_t format) {
    if (format < 0 || format >= static_cast<int32_t>(sizeof kBytesPerPixel / sizeof kBytesPerPixel[0])) return 0;
    return kBytesPerPixel[format];
}

Image::Image() = default;

Image::Image(const String& name, int32_t format, int32_t width, int32_t height)
    : width_(width), height_(height), format_(format) {
    SetName(name);
    if (AllocateData() != kOk)
        LogError("Недостаточно памяти для создания изображения. ID[%d] Имя[%s]", GetId(), GetName().CStr());
}

Image::Image(File* file, const String& name) : Image(file, name, false) { LoadFromFile(file); }

Image::Image(File* file, const String& name, bool) {
    if (file != nullptr) fileName_ = file->GetName();
    SetName(name.IsEmpty() ? fileName_ : name);
}

Image::~Image() { delete[] data_; }

int32_t Image::GetDataSize() const {
    if (width_ < 0 || height_ < 0) return -1;
    // Checked after each factor, so that no product can overflow int64.
    int64_t size = int64_t{GetBytesPerPixel(format_)} * width_;
    if (size <= INT32_MAX) size *= height_;
    return size > INT32_MAX ? -1 : static_cast<int32_t>(size);
}

void Image::SetData(uint8_t* data) {
    if (data == data_) return;
    delete[] data_;
    data_ = data;
}

int32_t Image::AllocateData() {
    SetData(nullptr);
    int32_t size = GetDataSize();
    if (size < 0) return kOutOfMemory;
    if (size == 0) return kOk;
    data_ = new (std::nothrow) uint8_t[static_cast<size_t>(size)];
    return data_ != nullptr ? kOk : kOutOfMemory;
}

int32_t Image::LoadFromFile(File* file) {
    if (file == nullptr) {
        LogWarning("Указатель на файл равен 0 при загрузке изображения [%s].", GetName().CStr());
        return kInvalidArgument;
    }
    Codec* codec = FindCodecForFile(file);
    if (codec == nullptr) {
        LogWarning("Не найден кодек для файла при загрузке изображения [%s].", GetName().CStr());
        return kInvalidArgument;
    }
    // A codec of another family cannot read into an image: its failure.
    ImageCodec* imageCodec = CodecAs<ImageCodec>(codec);
    if (imageCodec == nullptr || imageCodec->Load(file, this) != kOk) {
        LogError("Неудачна загрузка изображения [%s].", GetName().CStr());
        return kFailed;
    }
    return kOk;
}

int32_t Image::Save(Stream& stream) {
    if (Object::Save(stream) != 0) return SaveParentFailed();
    return SaveFields(stream, nullptr);
}

int32_t Image::Load(Stream& stream) {
    if (Object::Load(stream) != 0) return LoadParentFailed();
    return LoadFields(stream, nullptr, true);
}

int32_t Image::SaveFields(Stream& stream, const int32_t* depth) {
    if (stream.WriteString(fileName_) != 0)
        return FailWithNameId("Невозможно сохранить имя файла изображения. Имя[%s] ID[%d]");
    if (!fileName_.IsEmpty()) return kOk;
    if (stream.WriteInt32(width_) != 0)
        return FailWithNameId("Невозможно сохранить ширину изображения. Имя[%s] ID[%d]");
    if (stream.WriteInt32(height_) != 0 || (depth != nullptr && stream.WriteInt32(*depth) != 0))
        return FailWithNameId("Невозможно сохранить высоту изображения. Имя[%s] ID[%d]");
    if (stream.WriteInt32(format_) != 0)
        return FailWithNameId("Невозможно сохранить формат изображения. Имя[%s] ID[%d]");
    return kOk;
}

int32_t Image::LoadFields(Stream& stream, int32_t* depth, bool announce) {
    String fileName;
    if (stream.ReadString(fileName) != 0)
        return FailWithIdName("Невозможно загрузить имя файла изображения. ID[%d] Имя[%s]");
    fileName_ = fileName;
    if (!fileName_.IsEmpty()) {
        if (LoadFromMountedFile() != kOk) return kFailed;
    } else {
        // Values read from the stream are checked before they are kept: a
        // negative size or an unknown format is a failed field.
        int32_t width = 0, height = 0, slices = 0, format = 0;
        if (stream.ReadInt32(width) != 0 || width < 0)
            return FailWithIdName("Невозможно загрузить ширину изображения. ID[%d] Имя[%s]");
        if (stream.ReadInt32(height) != 0 || height < 0 ||
            (depth != nullptr && (stream.ReadInt32(slices) != 0 || slices < 0)))
            return FailWithIdName("Невозможно загрузить высоту изображения. ID[%d] Имя[%s]");
        if (stream.ReadInt32(format) != 0 || !IsKnownFormat(format))
            return FailWithIdName("Невозможно загрузить формат изображения. ID[%d] Имя[%s]");
        width_ = width;
        height_ = height;
        format_ = format;
        if (depth != nullptr) *depth = slices;
        if (AllocateData() != kOk) {
            LogError("Недостаточно памяти для создания изображения. ID[%d] Имя[%s]", GetId(), GetName().CStr());
            return kOutOfMemory;
        }
    }
    if (announce) LogInfo("Изображение [%s] загружено.", GetName().CStr());
    return kOk;
}

int32_t Image::LoadFromMountedFile() {
    if (LoadFromFile(FindMountedFile(fileName_)) == kOk) return kOk;
    LogError("Невозможно загрузить изображение из файла. ID[%d] Имя[%s] Файл[%s]", GetId(), GetName().CStr(),
             fileName_.CStr());
    return kFailed;
}

}  // namespace zel
