#include "engine/render/sprite/Flare.h"

#include <new>

#include "engine/core/Stream.h"
#include "engine/render/Pass.h"
#include "engine/render/Renderer.h"
#include "engine/render/sprite/FacingQuad.h"
#include "engine/render/sprite/SpriteEffect.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SphereBoundingVolume.h"

namespace zel {

ZEL_DEFINE_RTTI(Flare, GeometryNode)

namespace {

bool RendererHasPointSprites() {
    const Renderer* renderer = GetCurrentRenderer();
    return renderer != nullptr && renderer->GetCapabilities().pointSprites;
}

}  // namespace

void DrawUnindexedPasses(Renderer& renderer, GeometryNode& node, int32_t primitives) {
    GeometryNodeEffect* effect = node.GetEffect();
    if (effect == nullptr) return;
    effect->SetOwnerNode(&node);
    renderer.SetCurrentGeometry(&node);
    for (int32_t i = 0; i < effect->GetPassCount(renderer); ++i) {
        Pass* pass = effect->GetPass(i);
        renderer.SetCurrentPass(pass);
        renderer.BeginPass(pass);
        if (pass->Draw(renderer) == 0) renderer.DrawUnindexed(primitives);
        renderer.EmptyLightStack();
    }
}

void SetOriginBound(GeometryNode& node, float radius) {
    if (SphereBoundingVolume* sphere = CastTo<SphereBoundingVolume>(node.GetModelBound())) {
        sphere->SetCenter({});
        sphere->SetRadius(radius);
    }
}

Flare::Flare() {
    MakeBuffers(RendererHasPointSprites());
    SpriteEffect* effect = new (std::nothrow) SpriteEffect();
    // The quad's winding follows the camera: neither face is culled.
    if (effect != nullptr) effect->cullEnable = false;
    SetEffect(effect);
}

void Flare::MakeBuffers(bool pointSprite) {
    pointSprite_ = pointSprite;
    const int32_t count = pointSprite ? 1 : 6;
    SetVertices(new (std::nothrow) Vector3Buffer(count, nullptr));
    SetColors(new (std::nothrow) ColorBuffer(count, nullptr));
    SetTexCoords(0, new (std::nothrow) Vector2Buffer(count, nullptr));
    SetPointSizes(pointSprite ? new (std::nothrow) FloatBuffer(1, nullptr) : nullptr);
}

void Flare::UpdateSelf(double time) {
    GeometryNode::UpdateSelf(time);
    if (RendererHasPointSprites()) {
        if (!pointSprite_ || GetVertices() == nullptr || GetVertices()->GetCount() != 1 || GetPointSizes() == nullptr)
            MakeBuffers(true);
        Vector3Buffer* positions = GetPositions3();
        if (positions == nullptr || positions->GetElements() == nullptr) return;
        (*positions)[0] = GetWorld().translation;
        positions->GetBinding().SetDirty(true);
        if (ColorBuffer* colors = GetColors(); colors != nullptr && colors->GetElements() != nullptr) {
            (*colors)[0] = flareColor;
            colors->GetBinding().SetDirty(true);
        }
        if (FloatBuffer* sizes = GetPointSizes(); sizes != nullptr && sizes->GetElements() != nullptr) {
            (*sizes)[0] = flareSize;
            sizes->GetBinding().SetDirty(true);
        }
        return;
    }
    const Renderer* renderer = GetCurrentRenderer();
    const Camera* camera = renderer != nullptr ? renderer->GetCamera() : nullptr;
    if (camera == nullptr) return;
    if (pointSprite_ || GetVertices() == nullptr || GetVertices()->GetCount() != 6) MakeBuffers(false);
    Vector3 a, b;
    FacingDiagonals(camera->GetRight(), camera->GetUp(), a, b);
    WriteFacingQuad(GetPositions3(), CastTo<Vector2Buffer>(GetTexCoords(0)), GetColors(), GetWorld().translation, a,
                    b, flareSize, flareColor);
}

void Flare::Draw(Renderer& renderer) {
    if (GetVertices() == nullptr) return;
    GeometryNode::Draw(renderer);
}

void Flare::DrawDeferred(Renderer& renderer) { DrawUnindexedPasses(renderer, *this, pointSprite_ ? 1 : 2); }

void Flare::ComputeModelBound() { SetOriginBound(*this, flareSize * 5000.0f); }

int32_t Flare::Save(Stream& stream) {
    if (GeometryNode::Save(stream) != 0) return SaveParentFailed();
    stream.WriteColor(flareColor);
    stream.WriteFloat(flareSize);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно сохранить данные флара. Имя[%s] ID[%d]");
    return kOk;
}

int32_t Flare::Load(Stream& stream) {
    if (GeometryNode::Load(stream) != 0) return LoadParentFailed();
    stream.ReadColor(flareColor);
    stream.ReadFloat(flareSize);
    if (stream.GetErrorState() != 0) return FailWithNameId("Невозможно загрузить данные флара. Имя[%s] ID[%d]");
    if (!(flareSize >= 0.0f)) flareSize = 0.0f;
    pointSprite_ = GetVertices() != nullptr && GetVertices()->GetCount() == 1;
    ComputeModelBound();
    return kOk;
}

}  // namespace zel
