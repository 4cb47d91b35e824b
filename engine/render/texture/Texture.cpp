#include "engine/render/texture/Texture.h"

namespace zel {

ZEL_DEFINE_RTTI(Texture, BaseTexture)

Texture::Texture(Image* image, const String& name) : ImageTexture(image, name) {}

}  // namespace zel
