#include "engine/render/water/RenderScreenspaceTextureController.h"

#include "engine/core/Stream.h"
#include "engine/render/Renderer.h"
#include "engine/render/shadow/ShadowCulling.h"
#include "engine/render/texture/Texture.h"
#include "engine/render/water/WaterPlaneCamera.h"
#include "engine/scene/Camera.h"

namespace zel {

ZEL_DEFINE_RTTI(RenderScreenspaceTextureController, PostUpdateController)

int32_t RenderScreenspaceTextureController::Save(Stream& stream) {
    if (PostUpdateController::Save(stream) != 0) return SaveParentFailed();
    if (stream.WriteLink(waterNode_) != 0) return FailWithNameId("Невозможно сохранить узел. Имя[%s] ID[%d]");
    if (nodes_.Save(stream) != kOk) return FailWithNameId("Невозможно сохранить узлы. Имя[%s] ID[%d]");
    return kOk;
}

int32_t RenderScreenspaceTextureController::Load(Stream& stream) {
    if (PostUpdateController::Load(stream) != 0) return LoadParentFailed();
    if (stream.ReadLinkAs(waterNode_) != 0) return FailWithIdName("Невозможно загрузить узел. ID[%d] Имя[%s]");
    if (nodes_.Load(stream) != kOk) return FailWithNameId("Невозможно загрузить узлы. Имя[%s] ID[%d]");
    return kOk;
}

Object* RenderScreenspaceTextureController::FindByName(const String& name) {
    if (Object* found = PostUpdateController::FindByName(name)) return found;
    // The water node's effect usually shows this controller's texture: the
    // search comes back here through FindIn, which ends it.
    if (Object* found = FindIn(waterNode_, name)) return found;
    return nodes_.FindByName(name);
}

void RenderScreenspaceTextureController::VisitLinks(LinkVisitor& visitor) {
    PostUpdateController::VisitLinks(visitor);
    VisitLink(waterNode_, visitor);
    nodes_.VisitLinks(visitor);
}

float RenderScreenspaceTextureController::GetWaterHeight() const {
    return waterNode_ != nullptr ? waterNode_->GetWorld().translation.y : 0.0f;
}

bool RenderScreenspaceTextureController::WaterInView(Camera& camera) const {
    const BoundingVolume* bound = waterNode_ != nullptr ? waterNode_->GetWorldBound() : nullptr;
    return bound == nullptr || InsideView(camera, *bound);
}

void RenderScreenspaceTextureController::Render(Renderer& renderer) {
    Texture* target = CastTo<Texture>(GetOwner());
    Camera* camera = renderer.GetCamera();
    if (camera == nullptr || target == nullptr) return;
    const int32_t w = renderer.GetViewportWidth(), h = renderer.GetViewportHeight();
    const bool film = renderer.IsFilmFrame();
    if (film) {
        // The image must match the film band the scene is drawn in.
        renderer.SetViewport(0.0f, 0.125f * h, static_cast<float>(w), 0.75f * h);
        camera->UpdateProjection();
        camera->SetMatrices(camera->GetView(), camera->GetProjection());
    }
    // Water the camera cannot see shows no image this frame; the image is
    // drawn again in the frame that brings the water into view.
    if (WaterInView(*camera)) DrawImage(renderer, *camera, *target);
    if (film) {
        renderer.SetViewport(0.0f, 0.0f, static_cast<float>(w), static_cast<float>(h));
        camera->UpdateProjection();
        camera->SetMatrices(camera->GetView(), camera->GetProjection());
    }
}

void RenderScreenspaceTextureController::DrawImage(Renderer& renderer, Camera& camera, Texture& target) {
    const bool mirrored = IsReflection();
    const Matrix4 savedView = camera.GetView(), savedProjection = camera.GetProjection();
    const float height = GetWaterHeight();
    const Vector4 clipPlane{0.0f, -1.0f, 0.0f, height + GetClipOffset()};
    // The near plane goes onto the water for the view the nodes are drawn
    // with: the mirror image's, whose eye lies below the water.
    const Matrix4 view = mirrored ? MirrorAboutHeight(height) * savedView : savedView;
    const Matrix4 projection = ObliqueProjection(savedProjection, view * savedProjection, clipPlane);
    camera.SetMatrices(view, projection);

    renderer.SetRenderTarget(&target);
    renderer.Clear(Renderer::kClearColor | Renderer::kClearDepth, renderer.GetClearColor(), 1.0f, 0);
    renderer.SetMirrored(mirrored);
    nodes_.DrawAll(renderer);
    renderer.SetRenderTarget(nullptr);
    renderer.SetMirrored(false);

    camera.SetMatrices(savedView, savedProjection);
}

}  // namespace zel
