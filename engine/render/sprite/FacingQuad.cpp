#include "engine/render/sprite/FacingQuad.h"

namespace zel {

void FacingDiagonals(const Vector3& right, const Vector3& up, Vector3& a, Vector3& b) {
    a = Normalize(up + right) * 0.5f;
    b = Normalize(up - right) * 0.5f;
}

void WriteFacingQuad(Vector3Buffer* positions, Vector2Buffer* texCoords, ColorBuffer* colors, const Vector3& center,
                     const Vector3& a, const Vector3& b, float size, const ColorRGBA& color) {
    constexpr int32_t kCount = 6;
    if (positions != nullptr && positions->GetCount() >= kCount && positions->GetElements() != nullptr) {
        const Vector3 as = a * size, bs = b * size;
        const Vector3 corners[kCount] = {center - as, center + bs, center - bs, center + bs, center + as, center - bs};
        for (int32_t i = 0; i < kCount; ++i) (*positions)[i] = corners[i];
        positions->GetBinding().SetDirty(true);
    }
    if (texCoords != nullptr && texCoords->GetCount() >= kCount && texCoords->GetElements() != nullptr) {
        const Vector2 uv[kCount] = {{0, 1}, {0, 0}, {1, 1}, {0, 0}, {1, 0}, {1, 1}};
        for (int32_t i = 0; i < kCount; ++i) (*texCoords)[i] = uv[i];
        texCoords->GetBinding().SetDirty(true);
    }
    if (colors != nullptr && colors->GetCount() >= kCount && colors->GetElements() != nullptr) {
        for (int32_t i = 0; i < kCount; ++i) (*colors)[i] = color;
        colors->GetBinding().SetDirty(true);
    }
}

}  // namespace zel
