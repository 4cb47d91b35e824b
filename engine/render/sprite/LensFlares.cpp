#include "engine/render/sprite/LensFlares.h"

#include <cmath>
#include <new>

#include "engine/core/Stream.h"
#include "engine/render/Renderer.h"
#include "engine/render/sprite/FacingQuad.h"
#include "engine/render/sprite/Flare.h"
#include "engine/render/sprite/SpriteEffect.h"
#include "engine/scene/Camera.h"

namespace zel {

ZEL_DEFINE_RTTI(LensFlares, GeometryNode)

const float LensFlares::kSizeFactors[kElements] = {0.6f, 1.0f, 0.5f, 0.25f, 0.6f, 0.5f, 0.25f, 0.25f};
const float LensFlares::kPositionFactors[kElements] = {1.3f, 1.0f, 0.5f, 0.3333f, -0.18f, -0.5f, -0.7f, -1.0f};

LensFlares::LensFlares() {
    for (Pointer<OcclusionQuery>& query : queries_) query = new (std::nothrow) OcclusionQuery();
    SetVertices(new (std::nothrow) Vector3Buffer(6, nullptr));
    SetColors(new (std::nothrow) ColorBuffer(6, nullptr));
    SetTexCoords(0, new (std::nothrow) Vector2Buffer(6, nullptr));
    WriteFacingQuad(nullptr, CastTo<Vector2Buffer>(GetTexCoords(0)), nullptr, {}, {}, {}, 0.0f, glowColor);
    SpriteEffect* effect = new (std::nothrow) SpriteEffect();
    if (effect != nullptr) {
        // Blended: drawn from the deferred list, after the opaque scene. The
        // quads' winding follows the camera, so neither face is culled.
        effect->blendEnable = true;
        effect->cullEnable = false;
    }
    SetEffect(effect);
}

Texture* LensFlares::GetElementTexture(int32_t k) const {
    return k >= 0 && k < kElements ? elementTextures_[k].Get() : nullptr;
}

void LensFlares::SetElementTexture(int32_t k, Texture* texture) {
    if (k >= 0 && k < kElements) elementTextures_[k] = texture;
}

OcclusionQuery* LensFlares::GetQuery(int32_t use) const {
    return use >= 0 && use < kQueries ? queries_[use].Get() : nullptr;
}

OcclusionQuery* LensFlares::NextQuery(const Renderer& renderer) {
    if (renderer.GetFrameNumber() != queryFrame_) {
        queryFrame_ = renderer.GetFrameNumber();
        queryUse_ = 0;
    }
    OcclusionQuery* query = queries_[queryUse_];
    if (queryUse_ < kQueries - 1) ++queryUse_;
    return query;
}

Vector3 LensFlares::ElementCenter(const Vector3& light, int32_t k) {
    const float factor = k >= 0 && k < kElements ? kPositionFactors[k] : 0.0f;
    return {light.x * factor, light.y * factor, 0.0f};
}

float LensFlares::Visibility(int32_t visiblePixels, float area) {
    return area > 0.0f ? static_cast<float>(visiblePixels) / area : 0.0f;
}

void LensFlares::UpdateSelf(double time) {
    GeometryNode::UpdateSelf(time);
    const Renderer* renderer = GetCurrentRenderer();
    const Camera* camera = renderer != nullptr ? renderer->GetCamera() : nullptr;
    if (camera == nullptr) return;
    Vector3 a, b;
    FacingDiagonals(camera->GetRight(), camera->GetUp(), a, b);
    WriteFacingQuad(GetPositions3(), CastTo<Vector2Buffer>(GetTexCoords(0)), GetColors(), GetWorld().translation, a,
                    b, glowSize, glowColor);
}

void LensFlares::Draw(Renderer& renderer) {
    GeometryNodeEffect* effect = GetEffect();
    if (effect == nullptr || !effect->IsEnabled() || GetVertices() == nullptr) return;
    if (!effect->blendEnable) DrawDeferred(renderer);
    else GeometryNode::Draw(renderer);
}

int32_t LensFlares::DrawGlow(Renderer& renderer) {
    renderer.SetCurrentGeometry(this);
    OcclusionQuery* query = NextQuery(renderer);
    if (query != nullptr) renderer.BeginOcclusionQuery(query);
    DrawUnindexedPasses(renderer, *this, 2);
    if (query != nullptr) renderer.EndOcclusionQuery(query);
    return query != nullptr ? query->GetVisiblePixels() : 0;
}

void LensFlares::DrawElements(Renderer& renderer, const Vector3& light) {
    SpriteEffect* sprite = CastTo<SpriteEffect>(GetEffect());
    const float width = static_cast<float>(renderer.GetViewportWidth());
    const float height = static_cast<float>(renderer.GetViewportHeight());
    const float aspect = width > 0.0f ? 0.5f * height / width : 0.5f;
    const Vector3 a = Normalize(Vector3{aspect, 0.5f, 0.0f}) * 0.5f;
    const Vector3 b = Normalize(Vector3{-aspect, 0.5f, 0.0f}) * 0.5f;
    Pointer<Texture> glowTexture = sprite != nullptr ? sprite->GetTexture() : nullptr;
    for (int32_t k = 0; k < kElements && renderer.GetCamera() != nullptr; ++k) {
        if (sprite != nullptr) sprite->SetTexture(elementTextures_[k]);
        WriteFacingQuad(GetPositions3(), nullptr, GetColors(), ElementCenter(light, k), a, b,
                        kSizeFactors[k] * elementScale, glowColor);
        DrawUnindexedPasses(renderer, *this, 2);
    }
    if (sprite != nullptr) sprite->SetTexture(glowTexture);
}

void LensFlares::DrawDeferred(Renderer& renderer) {
    if (!renderer.GetCapabilities().occlusionQueries) return;
    const int32_t visiblePixels = DrawGlow(renderer);
    Camera* camera = renderer.GetCamera();
    if (camera == nullptr) return;
    // The glow's pixel area from its projected half-diagonal.
    const Vector3 position = GetWorld().translation;
    const Vector3 corner = position + Normalize(camera->GetUp() + camera->GetRight()) * (0.5f * glowSize);
    const Vector3 light = camera->GetViewProjection().TransformCoord(position);
    const Vector3 d = camera->GetViewProjection().TransformCoord(corner) - light;
    const float area = std::fabs(renderer.GetViewportWidth() * d.x) * std::fabs(renderer.GetViewportHeight() * d.y);
    glowColor.a = Visibility(visiblePixels, area);
    // The elements are given in clip space.
    Pointer<Camera> held = camera;
    const Matrix4 view = camera->GetView(), projection = camera->GetProjection();
    camera->SetMatrices(Matrix4::Identity(), Matrix4::Identity());
    DrawElements(renderer, light);
    held->SetMatrices(view, projection);
}

void LensFlares::ComputeModelBound() { SetOriginBound(*this, glowSize * 5000.0f); }

Object* LensFlares::FindByName(const String& name) {
    if (Object* found = GeometryNode::FindByName(name)) return found;
    for (const Pointer<Texture>& texture : elementTextures_)
        if (Object* found = FindIn(texture, name)) return found;
    return nullptr;
}

void LensFlares::CollectByType(const Rtti& type, ObjectArray& objects) {
    GeometryNode::CollectByType(type, objects);
    for (const Pointer<Texture>& texture : elementTextures_) CollectIn(texture, type, objects);
}

void LensFlares::VisitLinks(LinkVisitor& visitor) {
    GeometryNode::VisitLinks(visitor);
    for (Pointer<OcclusionQuery>& query : queries_) VisitLink(query, visitor);
    for (Pointer<Texture>& texture : elementTextures_) VisitLink(texture, visitor);
}

int32_t LensFlares::Save(Stream& stream) {
    if (GeometryNode::Save(stream) != 0) return SaveParentFailed();
    stream.WriteFloat(glowSize);
    stream.WriteColor(glowColor);
    stream.WriteFloat(elementScale);
    for (const Pointer<Texture>& texture : elementTextures_) stream.WriteLink(texture);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно сохранить данные флара. Имя[%s] ID[%d]");
    return kOk;
}

int32_t LensFlares::Load(Stream& stream) {
    if (GeometryNode::Load(stream) != 0) return LoadParentFailed();
    stream.ReadFloat(glowSize);
    stream.ReadColor(glowColor);
    stream.ReadFloat(elementScale);
    for (Pointer<Texture>& texture : elementTextures_)
        if (stream.GetErrorState() == 0) stream.ReadLinkAs(texture);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно загрузить данные флара. Имя[%s] ID[%d]");
    if (!(glowSize >= 0.0f)) glowSize = 0.0f;
    ComputeModelBound();
    return kOk;
}

}  // namespace zel
