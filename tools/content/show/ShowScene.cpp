#include "tools/content/show/ShowScene.h"

#include <new>

#include "engine/render/post/Bloom5PostRenderEffect.h"
#include "engine/render/shadow/RenderShadowmapEffectController.h"
#include "engine/render/shadow/ShadowmapEffect.h"
#include "engine/render/sprite/SpriteEffect.h"
#include "engine/render/texture/Texture.h"
#include "engine/resources/Image.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/Triangles.h"
#include "tools/content/show/ShowAssets.h"
#include "tools/content/show/ShowLife.h"
#include "tools/content/show/ShowNodes.h"
#include "tools/content/show/ShowShots.h"
#include "tools/content/show/ShowWorld.h"

namespace zel {

namespace {

// The sun's soft shadows on everything solid in the harbour.
Pointer<ShadowmapEffect> SunShadows(ShowAssets& assets, const ShowWorld& world) {
    Pointer<ShadowmapEffect> shadows = new (std::nothrow) ShadowmapEffect();
    Pointer<RenderShadowmapEffectController> render = new (std::nothrow) RenderShadowmapEffectController();
    // 512², the largest off-screen image; the map is fitted to the view, so
    // its texels go where the viewer looks.
    Texture* map = assets.Blank("Sun Shadow Map", 512, 512, Image::kFormatNone);
    if (shadows == nullptr || render == nullptr || map == nullptr || shadows->AttachController(render) != 0)
        return nullptr;
    shadows->SetLight(assets.Sun());
    shadows->SetShadowmap(map);
    shadows->shadowColor = {0.06f, 0.05f, 0.16f, 0.45f};
    shadows->softShadows = true;
    shadows->fitToCamera = true;
    shadows->depthBias = 4.0f;
    shadows->slopeScaleBias = 2.0f;
    ObjectArray solids(64, 64), unseen(4, 4);
    world.shadowed->CollectByType(Triangles::TYPE, solids);
    world.unseen->CollectByType(Triangles::TYPE, unseen);
    for (int32_t i = 0; i < solids.Count(); ++i) {
        // What is never drawn casts nothing either.
        bool drawn = true;
        for (int32_t k = 0; k < unseen.Count(); ++k) drawn = drawn && unseen[k] != solids[i];
        if (drawn && shadows->GetNodes().Add(static_cast<Triangles*>(solids[i])) != kOk) return nullptr;
    }
    return shadows;
}

// Evening haze over everything but the sky and the glows, in `color`.
void Haze(SceneNode& node, const ColorRGBA& color) {
    ObjectArray effects(64, 64);
    node.CollectByType(GeometryNodeEffect::TYPE, effects);
    for (int32_t i = 0; i < effects.Count(); ++i) {
        auto* effect = static_cast<GeometryNodeEffect*>(effects[i]);
        if (effect->IsDerivedFrom(SpriteEffect::TYPE) || effect->blendEnable) continue;
        effect->fogColor = color;
        effect->fogDensity = kHazeDensity;
        effect->fogExponent = kHazeExponent;
        effect->SetFogEnable(true);
    }
}

}  // namespace

Pointer<SceneNode> BuildShowScene(ShowAssets& assets) {
    ShowWorld world;
    ShowLife life;
    if (BuildWorld(assets, world) != 0 || BuildLife(assets, world, life) != 0 || BuildWater(assets, world) != 0)
        return nullptr;
    Haze(*world.shadowed, {0.74f, 0.52f, 0.5f, 1.0f});
    // Far out the water mirrors the sky just above the horizon, so the sea
    // fades into that colour and meets the sky without a seam.
    Haze(*world.water, {0.9f, 0.6f, 0.57f, 1.0f});
    Pointer<SceneNode> root = new (std::nothrow) SceneNode(String("Root"), 0, 4);
    Pointer<SceneNode> show = new (std::nothrow) SceneNode(String("Show"), 0, 4);
    Pointer<SceneNode> shadowed = new (std::nothrow) SceneNode(String("Sunlit"), 0, 1);
    Pointer<SceneNode> cameras = new (std::nothrow) SceneNode(String("Cameras"), 0, 4);
    Pointer<Bloom5PostRenderEffect> bloom = new (std::nothrow) Bloom5PostRenderEffect();
    Pointer<ShadowmapEffect> shadows = SunShadows(assets, world);
    if (root == nullptr || show == nullptr || shadowed == nullptr || cameras == nullptr || bloom == nullptr ||
        shadows == nullptr)
        return nullptr;
    // A soft glow around the bright sky and lamps, and the film frame.
    bloom->SetFilm(true);
    bloom->luminanceCap = 0.8f;
    bloom->bloomAlphaWeight = 0.12f;
    bloom->bloomWeight = 0.22f;
    bloom->sceneWeight = 0.85f;
    bloom->bloomTint = {1.0f, 0.85f, 0.7f, 1.0f};
    if (show->AddEffect(bloom) != kOk || shadowed->AddEffect(shadows) != kOk) return nullptr;
    if (!AddChild(shadowed, world.shadowed) || !AddChild(show, world.sky) || !AddChild(show, shadowed) || !AddChild(show, world.water) ||
        !AddChild(show, world.glows) || !AddChild(root, show) || !AddChild(root, cameras) || !AddChild(root, life.sounds) ||
        !AddChild(root, assets.Sun()) || BuildShots(*root, *cameras, life) != 0)
        return nullptr;
    root->Update(0.0, true);
    return root;
}

}  // namespace zel
