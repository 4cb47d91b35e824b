// The texture classes that hold one image of type I (Image, or VolumeImage
// for volume textures): the image link is streamed after the base data, and
// lookups by name and type reach into the image.
#pragma once

#include "engine/core/Pointer.h"
#include "engine/render/texture/BaseTexture.h"

namespace zel {

template <class I>
class ImageTexture : public BaseTexture {
public:
    // Parent data, then the image link; a successful load logs the
    // texture's INFO line "Текстура [name] загружена.".
    [[nodiscard]] int32_t Save(Stream& stream) override { return SaveWithImage(stream, image_); }
    [[nodiscard]] int32_t Load(Stream& stream) override { return LoadWithImage(stream, image_); }

    // Object search, then the image.
    Object* FindByName(const String& name) override {
        if (Object* found = BaseTexture::FindByName(name)) return found;
        return FindIn(image_, name);
    }
    void CollectByType(const Rtti& type, ObjectArray& objects) override {
        BaseTexture::CollectByType(type, objects);
        CollectIn(image_, type, objects);
    }
    // The texture's links, then the image.
    void VisitLinks(LinkVisitor& visitor) override {
        BaseTexture::VisitLinks(visitor);
        VisitLink(image_, visitor);
    }

protected:
    ImageTexture() = default;
    ImageTexture(I* image, const String& name) : image_(image) { SetName(name); }

    // Replaces the image; the level count goes back to 0 and the device
    // texture is released.
    void ReplaceImage(I* image) {
        image_ = image;
        ImageReplaced();
    }

    Pointer<I> image_;
};

}  // namespace zel
