#include "engine/resources/VolumeImage.h"

#include <cstddef>

#include "engine/core/Log.h"

namespace zel {

ZEL_DEFINE_RTTI(VolumeImage, Image)

VolumeImage::VolumeImage(const String& name, int32_t format, int32_t width, int32_t height, int32_t depth)
    : depth_(depth) {
    SetName(name);
    SetFormat(format);
    SetWidth(width);
    SetHeight(height);
    if (AllocateData() != kOk)
        LogError("Недостаточно памяти для создания изображения. ID[%d] Имя[%s]", GetId(), GetName().CStr());
}

VolumeImage::VolumeImage(File* file, const String& name) : Image(file, name, false) { LoadFromFile(file); }

int32_t VolumeImage::GetDataSize() const {
    int32_t slice = Image::GetDataSize();
    if (slice < 0 || depth_ < 0) return -1;
    int64_t size = int64_t{slice} * depth_;
    return size > INT32_MAX ? -1 : static_cast<int32_t>(size);
}

uint8_t* VolumeImage::GetSlice(int32_t index) const {
    if (GetData() == nullptr || index < 0 || index >= depth_ || GetDataSize() < 0) return nullptr;
    return GetData() + static_cast<size_t>(GetSliceSize()) * static_cast<size_t>(index);
}

int32_t VolumeImage::Save(Stream& stream) {
    if (Object::Save(stream) != 0) return SaveParentFailed();
    return SaveFields(stream, &depth_);
}

int32_t VolumeImage::Load(Stream& stream) {
    if (Object::Load(stream) != 0) return LoadParentFailed();
    return LoadFields(stream, &depth_, false);
}

}  // namespace zel
