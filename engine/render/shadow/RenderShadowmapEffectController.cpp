#include "engine/render/shadow/RenderShadowmapEffectController.h"

#include <cmath>

#include "engine/render/Renderer.h"
#include "engine/render/shadow/LightCameraFit.h"
#include "engine/render/shadow/ShadowCulling.h"
#include "engine/render/shadow/ShadowmapEffect.h"

namespace zel {

ZEL_DEFINE_RTTI(RenderShadowmapEffectController, PostUpdateController)

Matrix4 RenderShadowmapEffectController::FitLightCamera(ShadowmapEffect& effect, const Camera* viewer,
                                                        int32_t viewportWidth, int32_t viewportHeight) {
    Camera* lightCamera = effect.GetLightCamera();
    const Light* light = effect.GetLight();
    const Texture* map = effect.GetShadowmap();
    if (lightCamera == nullptr || light == nullptr || map == nullptr) return Matrix4::Identity();
    Vector3 center;
    float radius = 0.0f;
    effect.FitBound(center, radius);
    const Vector3 lightDirection = light->GetShiningDirection();
    const float cosGamma = viewer != nullptr ? Dot(lightDirection, viewer->GetDirection()) : 1.0f;
    LightCameraMatrices fit;
    if (viewer != nullptr && effect.fitToCamera && std::fabs(cosGamma) <= effect.fitThreshold) {
        ViewerFrustum frustum;
        frustum.view = viewer->GetView();
        frustum.fov = viewer->GetFov();
        frustum.nearPlane = viewer->GetNearPlane();
        frustum.farPlane = viewer->GetFarPlane();
        frustum.aspect = viewportHeight > 0 ? static_cast<float>(viewportWidth) / viewportHeight : 1.0f;
        fit = FitLightToViewer(frustum, lightDirection, cosGamma, radius);
    } else {
        fit = FitLightToSphere(lightDirection, center, radius);
    }
    lightCamera->SetMatrices(fit.view, fit.projection);
    const Image* image = map->GetImage();
    const int32_t w = image != nullptr ? image->GetWidth() : 1, h = image != nullptr ? image->GetHeight() : 1;
    return lightCamera->GetViewProjection() * ShadowBiasMatrix(w, h);
}

void RenderShadowmapEffectController::DrawCasters(Renderer& renderer, ShadowmapEffect& effect, Camera* viewer) {
    const ClipVolume light = ClipVolume::FromMatrix(effect.GetLightCamera()->GetViewProjection());
    const NodeList<GeometryNode>& casters = effect.GetNodes();
    for (int32_t i = 0; i < casters.Count(); ++i) {
        GeometryNode* caster = casters.Get(i);
        const BoundingVolume* bound = caster->GetWorldBound();
        if (bound != nullptr && (!light.Reaches(*bound) ||
                                 (viewer != nullptr && !ShadowReachesView(*bound, *viewer, *effect.GetLight()))))
            continue;
        caster->Draw(renderer);
    }
}

void RenderShadowmapEffectController::Render(Renderer& renderer) {
    ShadowmapEffect* effect = CastTo<ShadowmapEffect>(GetOwner());
    if (effect == nullptr || effect->GetShadowmap() == nullptr || effect->GetLight() == nullptr) return;
    Pointer<Camera> previous = renderer.GetCamera();
    // Fitted to the frame's viewport, read before the targets change it.
    effect->SetLightTextureMatrix(
        FitLightCamera(*effect, previous, renderer.GetViewportWidth(), renderer.GetViewportHeight()));
    renderer.SetRenderTarget(effect->GetColorTarget());
    renderer.SetDepthRenderTarget(effect->GetShadowmap(), static_cast<int32_t>(effect->depthBias),
                                  effect->slopeScaleBias);
    renderer.Clear(Renderer::kClearDepth, renderer.GetClearColor(), 1.0f, 0);
    renderer.SetCamera(effect->GetLightCamera());
    DrawCasters(renderer, *effect, previous);
    renderer.SetDepthRenderTarget(nullptr, 0, 0.0f);
    renderer.SetRenderTarget(nullptr);
    renderer.SetCamera(previous);
}

}  // namespace zel
