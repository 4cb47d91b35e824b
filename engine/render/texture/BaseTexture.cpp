#include "engine/render/texture/BaseTexture.h"

#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "engine/render/Renderer.h"

namespace zel {

ZEL_DEFINE_RTTI(BaseTexture, Object)

BaseTexture::~BaseTexture() {
    if (Renderer* renderer = BoundRenderer(binding_)) renderer->ReleaseTexture(this);
}

void BaseTexture::ImageReplaced() {
    mipLevels_ = 0;
    if (Renderer* renderer = BoundRenderer(binding_)) renderer->ReleaseTexture(this);
}

int32_t BaseTexture::SaveWithImage(Stream& stream, Object* image) {
    if (BaseTexture::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteLink(image) != 0)
        return FailWithNameId("Невозможно сохранить изображение текстуры. Имя[%s] ID[%d]");
    return kOk;
}

int32_t BaseTexture::Save(Stream& stream) {
    if (Object::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteInt32(mipLevels_) != 0)
        return FailWithNameId("Невозможно сохранить количество мип-мэпов текстуры. Имя[%s] ID[%d]");
    return kOk;
}

int32_t BaseTexture::Load(Stream& stream) {
    if (Object::Load(stream) != 0) return LoadParentFailed();
    int32_t levels = 0;
    if (stream.ReadInt32(levels) != 0)
        return FailWithIdName("Невозможно загрузить количество мип-мэпов текстуры. ID[%d] Имя[%s]");
    mipLevels_ = 0;
    return kOk;
}

}  // namespace zel
