#include "engine/render/Texture.h"

namespace zel {

ZEL_DEFINE_RTTI(Texture, BaseTexture)

Texture::Texture(Image* image, const String& name) : ImageTexture(image, name) {}

}  // namespace zel
