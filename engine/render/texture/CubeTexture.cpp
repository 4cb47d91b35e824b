#include "engine/render/texture/CubeTexture.h"

namespace zel {

ZEL_DEFINE_RTTI(CubeTexture, BaseTexture)

CubeTexture::CubeTexture(Image* image, const String& name) : ImageTexture(image, name) {}

}  // namespace zel
