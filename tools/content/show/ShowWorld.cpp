#include "tools/content/show/ShowWorld.h"

#include <cmath>
#include <cstdint>
#include <new>

#include "engine/core/Buffer.h"
#include "engine/math/MathConstants.h"
#include "engine/render/PostUpdateController.h"
#include "engine/render/SceneNodeEffect.h"
#include "engine/render/material/LightmapTexture1DLEffect.h"
#include "engine/render/material/NormalmapLightmapTexture1DLEffect.h"
#include "engine/render/material/NormalmapLightmapTextureEffect.h"
#include "engine/render/material/NormalmapTexture1DLEffect.h"
#include "engine/render/material/Texture1DLEffect.h"
#include "engine/render/post/PostRenderEffect.h"
#include "engine/render/sprite/Flare.h"
#include "engine/render/sprite/LensFlares.h"
#include "engine/render/sprite/SpriteEffect.h"
#include "engine/render/texture/Texture.h"
#include "engine/render/water/FresnelTextureController.h"
#include "engine/render/water/ReflectiveQuietFlatWaterEffect.h"
#include "engine/render/water/ReflectiveRefractiveQuietFlatWaterEffect.h"
#include "engine/render/water/RenderScreenspaceReflectTextureController.h"
#include "engine/render/water/RenderScreenspaceRefractTextureController.h"
#include "engine/resources/Image.h"
#include "engine/scene/Points.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/Triangles.h"
#include "tools/content/show/Ground.h"
#include "tools/content/show/HarbourLayout.h"
#include "tools/content/show/MeshBuilder.h"
#include "tools/content/show/ShowAssets.h"
#include "tools/content/show/ShowNodes.h"
#include "tools/content/show/ShowRandom.h"

namespace zel {

namespace {

using namespace harbour;

constexpr float kSkyRadius = 1800.0f;

Pointer<Triangles> SkyDome(ShowAssets& assets) {
    MeshBuilder mesh;
    const int rings = 12, segments = 32;
    const float lowest = 0.5f * kPi + 0.2f;
    const float sunAzimuth = std::atan2(SunDirection().z, SunDirection().x);
    for (int r = 0; r <= rings; ++r) {
        const float polar = lowest * r / rings;
        for (int s = 0; s <= segments; ++s) {
            const float azimuth = 2.0f * kPi * s / segments;
            const Vector3 out{std::sin(polar) * std::cos(azimuth), std::cos(polar), std::sin(polar) * std::sin(azimuth)};
            // The picture's sun glow (a quarter of the way round) turned
            // to where the sun stands.
            const Vector2 uv{static_cast<float>(s) / segments - sunAzimuth / (2.0f * kPi) + 0.25f,
                             std::fmin(polar / (0.5f * kPi), 0.995f)};
            mesh.AddVertex({out * kSkyRadius, -out, uv, uv});
        }
    }
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            const int i = r * (segments + 1) + s, below = i + segments + 1;
            if (r > 0) mesh.AddTriangle(i, i + 1, below);
            mesh.AddTriangle(i + 1, below + 1, below);
        }
    Pointer<TextureEffect> effect = new (std::nothrow) TextureEffect();
    if (effect == nullptr) return nullptr;
    effect->SetTexture(assets.File("sky.jpg"));
    effect->depthWrite = false;
    return MakeShape(mesh, "Sky Dome", effect, false, false);
}

// The first stars of the evening: point sprites high in the eastern sky,
// away from the sunset.
Pointer<Points> Stars(ShowAssets& assets) {
    constexpr int32_t kCount = 160;
    ShowRandom random(17);
    Pointer<Points> stars = new (std::nothrow) Points(String("Stars"));
    Pointer<Vector3Buffer> positions = new (std::nothrow) Vector3Buffer(kCount, nullptr);
    Pointer<FloatBuffer> sizes = new (std::nothrow) FloatBuffer(kCount, nullptr);
    Pointer<ColorBuffer> colors = new (std::nothrow) ColorBuffer(kCount, nullptr);
    Pointer<Vector2Buffer> uv = new (std::nothrow) Vector2Buffer(kCount, nullptr);
    Pointer<IntBuffer> indices = new (std::nothrow) IntBuffer(kCount, nullptr);
    Pointer<SpriteEffect> effect = new (std::nothrow) SpriteEffect();
    if (stars == nullptr || positions == nullptr || sizes == nullptr || colors == nullptr || uv == nullptr ||
        indices == nullptr || effect == nullptr)
        return nullptr;
    for (int32_t i = 0; i < kCount; ++i) {
        const float azimuth = random.Range(-0.3f * kPi, 0.9f * kPi);
        const float polar = random.Range(0.05f, 1.0f);
        (*positions)[i] = Vector3{std::sin(polar) * std::cos(azimuth), std::cos(polar),
                                  std::sin(polar) * std::sin(azimuth)} * (kSkyRadius * 0.9f);
        (*sizes)[i] = random.Range(5.0f, 11.0f);
        const float fade = 0.35f + 0.65f * (1.0f - polar);
        (*colors)[i] = {0.85f, 0.9f, 1.0f, fade * random.Range(0.5f, 1.0f)};
        (*uv)[i] = {0.5f, 0.5f};
        (*indices)[i] = i;
    }
    stars->SetVertices(positions);
    stars->SetPointSizes(sizes);
    stars->SetColors(colors);
    stars->SetTexCoords(0, uv);
    stars->SetIndices(indices);
    MakeGlowing(*effect);
    effect->SetTexture(assets.File("glow.tga"));
    stars->SetEffect(effect);
    stars->UpdateModel(false, false);
    return stars;
}

Pointer<Flare> SunFlare(ShowAssets& assets) {
    Pointer<Flare> sun = new (std::nothrow) Flare();
    if (sun == nullptr) return nullptr;
    sun->SetName(String("Sun Flare"));
    sun->GetLocal().translation = SunDirection() * (kSkyRadius * 0.85f);
    sun->flareColor = {1.0f, 0.75f, 0.45f, 1.0f};
    sun->flareSize = 420.0f;
    auto* effect = CastTo<SpriteEffect>(sun->GetEffect());
    if (effect == nullptr) return nullptr;
    MakeGlowing(*effect);
    effect->SetTexture(assets.File("flare.tga"));
    return sun;
}

int BuildSky(ShowAssets& assets, ShowWorld& world) {
    world.sky = MakeGroup("Sky");
    // The sky keeps the film frame of the whole show: its own frame
    // effect restates the band the bloom effect above already set.
    Pointer<SceneNode> band = MakeGroup("Sky Band");
    Pointer<PostRenderEffect> film = new (std::nothrow) PostRenderEffect();
    if (world.sky == nullptr || band == nullptr || film == nullptr) return 1;
    film->SetFilm(true);
    if (band->AddEffect(film) != kOk) return 1;
    const bool ok = AddChild(world.sky, SkyDome(assets)) && AddChild(world.sky, Stars(assets)) && AddChild(world.sky, SunFlare(assets)) &&
                    AddChild(world.sky, band);
    return ok ? 0 : 1;
}

// The quay: stone walls with a baked light map and a normal map, a paved
// top lit by the sun, and a breakwater of rough blocks.
int BuildQuay(ShowAssets& assets, ShowWorld& world) {
    Texture* stoneNormals = assets.NormalMap("stone_h.tga", 3.0f);
    Texture* quayLight = assets.Painted("quay_lm.jpg", 64, 64, false, [](int, int y, int, int h) {
        // Darker towards the water line, where the wall is wet.
        const float t = static_cast<float>(y) / static_cast<float>(h - 1);
        const uint8_t v = static_cast<uint8_t>(255.0f * (0.95f - 0.45f * t * t));
        return Rgba{v, static_cast<uint8_t>(v * 0.96f), static_cast<uint8_t>(v * 0.92f), 255};
    });
    const float z0 = ShoreZ(0.0f) - 9.0f, z1 = ShoreZ(0.0f) + 1.0f;
    MeshBuilder walls;
    walls.AddQuad({kQuayWest, -4.0f, z0}, {kQuayEast, -4.0f, z0}, {kQuayEast, kQuayLevel, z0},
                  {kQuayWest, kQuayLevel, z0}, {0, 0, -1}, {(kQuayEast - kQuayWest) / 4.0f, 1.5f});
    walls.AddQuad({kQuayWest, -4.0f, z1}, {kQuayWest, -4.0f, z0}, {kQuayWest, kQuayLevel, z0},
                  {kQuayWest, kQuayLevel, z1}, {-1, 0, 0}, {2.5f, 1.5f});
    walls.AddQuad({kQuayEast, -4.0f, z0}, {kQuayEast, -4.0f, z1}, {kQuayEast, kQuayLevel, z1},
                  {kQuayEast, kQuayLevel, z0}, {1, 0, 0}, {2.5f, 1.5f});
    Pointer<NormalmapLightmapTextureEffect> wallEffect = new (std::nothrow) NormalmapLightmapTextureEffect();
    MeshBuilder top;
    top.AddQuad({kQuayWest, kQuayLevel, z0}, {kQuayEast, kQuayLevel, z0}, {kQuayEast, kQuayLevel, z1 + 4.0f},
                {kQuayWest, kQuayLevel, z1 + 4.0f}, {0, 1, 0}, {(kQuayEast - kQuayWest) / 3.0f, (z1 + 4.0f - z0) / 3.0f});
    Pointer<NormalmapTexture1DLEffect> topEffect = new (std::nothrow) NormalmapTexture1DLEffect();
    MeshBuilder rocks;
    ShowRandom random(5);
    for (int i = 0; i < kBreakwaterBlocks; ++i) {
        const float x = kQuayEast + kBreakwaterStart + i * kBreakwaterStepX + random.Range(-0.6f, 0.6f);
        const float z = ShoreZ(x) - kBreakwaterStart - i * kBreakwaterStepZ + random.Range(-1.0f, 1.0f);
        const float s = random.Range(1.2f, 2.2f);
        const int32_t first = rocks.GetVertexCount();
        rocks.AddBox({-s, -5.0f, -s}, {s, random.Range(0.8f, 1.8f), s}, 0.4f);
        rocks.Translate({x, 0.0f, z}, first);
    }
    Pointer<NormalmapTextureEffect> rockEffect = new (std::nothrow) NormalmapTextureEffect();
    if (wallEffect == nullptr || topEffect == nullptr || rockEffect == nullptr) return 1;
    wallEffect->SetTexture(assets.File("stone.jpg"));
    wallEffect->SetNormalmap(stoneNormals);
    wallEffect->SetNormalmapSet(0);
    wallEffect->SetLightmap(quayLight);
    wallEffect->SetLightmapSet(1);
    topEffect->SetTexture(assets.File("stone.jpg"));
    topEffect->SetNormalmap(stoneNormals);
    topEffect->SetNormalmapSet(0);
    topEffect->SetLight(assets.Sun());
    rockEffect->SetTexture(assets.File("rock.jpg"));
    rockEffect->SetNormalmap(stoneNormals);
    rockEffect->SetNormalmapSet(0);
    const bool ok = AddChild(world.shadowed, MakeShape(walls, "Quay Wall", wallEffect, true, true)) &&
                    AddChild(world.shadowed, MakeShape(top, "Quay Top", topEffect, false, true)) &&
                    AddChild(world.shadowed, MakeShape(rocks, "Breakwater", rockEffect, false, true));
    return ok ? 0 : 1;
}

// A row of plastered houses behind the quay with tiled roofs and chimneys,
// and their windows, which light up at dusk.
int BuildHouses(ShowAssets& assets, ShowWorld& world) {
    MeshBuilder walls, roofs, windows;
    for (const House& house : Houses()) {
        const Vector3 low = house.low, high = house.high;
        const float width = high.x - low.x, height = high.y - low.y;
        // Each facade shows the wall picture once: door and two windows.
        walls.AddQuad({low.x, low.y, low.z}, {high.x, low.y, low.z}, {high.x, high.y, low.z}, {low.x, high.y, low.z},
                      {0, 0, -1});
        walls.AddQuad({high.x, low.y, high.z}, {low.x, low.y, high.z}, {low.x, high.y, high.z},
                      {high.x, high.y, high.z}, {0, 0, 1});
        walls.AddQuad({low.x, low.y, high.z}, {low.x, low.y, low.z}, {low.x, high.y, low.z}, {low.x, high.y, high.z},
                      {-1, 0, 0});
        walls.AddQuad({high.x, low.y, low.z}, {high.x, low.y, high.z}, {high.x, high.y, high.z},
                      {high.x, high.y, low.z}, {1, 0, 0});
        roofs.AddGableRoof({low.x, high.y, low.z}, {high.x, high.y, high.z}, house.roof, 0.5f, 0.25f);
        const int32_t first = roofs.GetVertexCount();
        roofs.AddBox({-0.5f, 0.0f, -0.5f}, {0.5f, 3.2f, 0.5f}, 0.5f);
        roofs.Translate(house.chimney, first);
        // Warm panes just in front of the two painted windows.
        for (const float u : {0.2f, 0.62f}) {
            const float wx = low.x + width * u, wy = low.y + height * 0.55f;
            windows.AddQuad({wx, wy, low.z - 0.05f}, {wx + width * 0.18f, wy, low.z - 0.05f},
                            {wx + width * 0.18f, wy + height * 0.22f, low.z - 0.05f},
                            {wx, wy + height * 0.22f, low.z - 0.05f}, {0, 0, -1});
        }
    }
    Pointer<Texture1DLEffect> wallEffect = new (std::nothrow) Texture1DLEffect();
    Pointer<TextureEffect> roofEffect = new (std::nothrow) TextureEffect();
    Pointer<ColorEffect> windowEffect = new (std::nothrow) ColorEffect();
    world.windows = MakeGroup("Windows");
    Pointer<SceneNode> chimneyNode = MakeGroup("Chimney Top");
    if (wallEffect == nullptr || roofEffect == nullptr || windowEffect == nullptr || world.windows == nullptr ||
        chimneyNode == nullptr)
        return 1;
    wallEffect->SetTexture(assets.File("wall.jpg"));
    wallEffect->SetLight(assets.Sun());
    roofEffect->SetTexture(assets.File("roof.jpg"));
    windowEffect->SetColor({1.0f, 0.78f, 0.4f, 0.9f});
    MakeGlowing(*windowEffect);
    chimneyNode->GetLocal().translation = SmokingChimney();
    world.chimney = chimneyNode;
    const bool ok = AddChild(world.shadowed, MakeShape(walls, "House Walls", wallEffect, false, false)) &&
                    AddChild(world.shadowed, MakeShape(roofs, "Roofs", roofEffect, false, false)) &&
                    AddChild(world.windows, MakeShape(windows, "Window Panes", windowEffect, false, false)) &&
                    AddChild(world.glows, world.windows) && AddChild(world.shadowed, chimneyNode);
    return ok ? 0 : 1;
}

int BuildLighthouse(ShowAssets& assets, ShowWorld& world) {
    const Vector3 base = LighthouseBase();
    Texture* towerLight = assets.Painted("lighthouse_lm.jpg", 16, 128, false, [](int, int y, int, int h) {
        // Sky light falls off towards the foot of the tower.
        const float t = static_cast<float>(y) / static_cast<float>(h - 1);
        const uint8_t v = static_cast<uint8_t>(255.0f * (1.0f - 0.35f * t * t * t));
        return Rgba{v, v, v, 255};
    });
    MeshBuilder tower, gallery, glass;
    tower.AddCylinder(base + Vector3{0, -2.0f, 0}, 4.2f, 2.8f, kLighthouseHeight + 2.0f, 24, 1.0f / 6.5f, false);
    gallery.AddCylinder(base + Vector3{0, kLighthouseHeight, 0}, 3.6f, 3.6f, 0.6f, 24, 1.0f, true);
    gallery.AddCylinder(base + Vector3{0, kLighthouseHeight + 4.0f, 0}, 2.6f, 0.2f, 2.0f, 16, 1.0f, false);
    glass.AddCylinder(base + Vector3{0, kLighthouseHeight + 0.6f, 0}, 2.2f, 2.2f, 3.4f, 16, 1.0f, true);
    Pointer<LightmapTexture1DLEffect> towerEffect = new (std::nothrow) LightmapTexture1DLEffect();
    Pointer<ColorEffect> galleryEffect = new (std::nothrow) ColorEffect();
    Pointer<ColorEffect> glassEffect = new (std::nothrow) ColorEffect();
    if (towerEffect == nullptr || galleryEffect == nullptr || glassEffect == nullptr) return 1;
    towerEffect->SetTexture(assets.File("lighthouse.jpg"));
    towerEffect->SetLightmap(towerLight);
    towerEffect->SetLightmapSet(1);
    towerEffect->SetLight(assets.Sun());
    galleryEffect->SetColor({0.16f, 0.17f, 0.2f, 1.0f});
    // Lit glass that the lamp's flare shines through: blended, no depth.
    glassEffect->SetColor({1.0f, 0.9f, 0.6f, 0.55f});
    MakeGlowing(*glassEffect);
    Pointer<Triangles> glassNode = MakeShape(glass, "Lantern Glass", glassEffect, false, false);
    if (glassNode == nullptr) return 1;
    Pointer<Flare> lamp = new (std::nothrow) Flare();
    Pointer<LensFlares> lens = new (std::nothrow) LensFlares();
    if (lamp == nullptr || lens == nullptr) return 1;
    const Vector3 lampAt = base + Vector3{0, kLighthouseHeight + 2.3f, 0};
    lamp->SetName(String("Lighthouse Lamp"));
    lamp->GetLocal().translation = lampAt;
    lamp->flareColor = {1.0f, 0.9f, 0.65f, 1.0f};
    lamp->flareSize = 40.0f;
    auto* lampEffect = CastTo<SpriteEffect>(lamp->GetEffect());
    if (lampEffect == nullptr) return 1;
    MakeGlowing(*lampEffect);
    lampEffect->SetTexture(assets.File("flare.tga"));
    lens->SetName(String("Lighthouse Lens Flares"));
    lens->GetLocal().translation = lampAt;
    lens->glowSize = 2.0f;
    lens->glowColor = {1.0f, 0.9f, 0.7f, 0.1f};
    lens->elementScale = 0.6f;
    const char* elements[LensFlares::kElements] = {"lens_glow.tga", "lens_ring.tga", "lens_disc.tga", "lens_glow.tga",
                                                   "lens_disc.tga", "lens_ring.tga", "lens_disc.tga", "lens_glow.tga"};
    for (int32_t k = 0; k < LensFlares::kElements; ++k) lens->SetElementTexture(k, assets.File(elements[k]));
    // The glow, drawn at full strength while the lamp is in view, is a soft
    // spot rather than a flat square.
    auto* lensEffect = CastTo<SpriteEffect>(lens->GetEffect());
    if (lensEffect == nullptr) return 1;
    lensEffect->SetTexture(assets.File("lens_glow.tga"));
    world.lighthouseLamp = lamp;
    const bool ok = AddChild(world.shadowed, MakeShape(tower, "Lighthouse", towerEffect, true, false)) &&
                    AddChild(world.shadowed, MakeShape(gallery, "Lighthouse Gallery", galleryEffect, false, false)) &&
                    AddChild(world.shadowed, glassNode) && AddChild(world.glows, lamp) && AddChild(world.glows, lens);
    return ok ? 0 : 1;
}

int BuildWindmill(ShowAssets& assets, ShowWorld& world) {
    const Vector3 base = WindmillBase();
    MeshBuilder tower;
    tower.AddCylinder(base + Vector3{0, -1.0f, 0}, 4.0f, 2.6f, 13.0f, 20, 0.25f, true);
    tower.AddCylinder(base + Vector3{0, 12.0f, 0}, 3.0f, 0.3f, 3.5f, 20, 0.25f, false);
    Pointer<NormalmapLightmapTexture1DLEffect> effect = new (std::nothrow) NormalmapLightmapTexture1DLEffect();
    if (effect == nullptr) return 1;
    effect->SetTexture(assets.File("stone.jpg"));
    effect->SetNormalmap(assets.NormalMap("stone_h.tga", 3.0f));
    effect->SetNormalmapSet(0);
    effect->SetLightmap(assets.File("lighthouse_lm.jpg"));
    effect->SetLightmapSet(1);
    effect->SetLight(assets.Sun());
    world.windmillHead = MakeGroup("Windmill Head");
    if (world.windmillHead == nullptr) return 1;
    // The head sits at the top, facing the sea; the sails turn about its z.
    world.windmillHead->GetLocal().translation = base + Vector3{0, 12.5f, -3.4f};
    const bool ok = AddChild(world.shadowed, MakeShape(tower, "Windmill Tower", effect, true, true)) &&
                    AddChild(world.shadowed, world.windmillHead);
    return ok ? 0 : 1;
}

// Trees on the slopes and tufts of grass: crossed picture cards that sway
// in the wind, batched into a few nodes.
int BuildVegetation(ShowAssets& assets, ShowWorld& world) {
    ShowRandom random(23);
    MeshBuilder trunks, crowns, grass;
    auto crossed = [](MeshBuilder& mesh, const Vector3& at, float width, float height) {
        for (int k = 0; k < 2; ++k) {
            const float a = k * 0.5f * kPi + 0.4f;
            const Vector3 d{std::cos(a) * width * 0.5f, 0, std::sin(a) * width * 0.5f};
            const Vector3 n{-d.z, 0, d.x};
            mesh.AddQuad(at - d, at + d, at + d + Vector3{0, height, 0}, at - d + Vector3{0, height, 0},
                         Normalize(n));
            // Both sides: the picture cards are seen from everywhere.
            const int32_t v = mesh.GetVertexCount() - 4;
            for (int i = 0; i < 4; ++i) mesh.Vertex(v + i).uv.y = mesh.Vertex(v + i).uv.y == 0.0f ? 1.0f : 0.0f;
        }
    };
    int trees = 0;
    for (int attempt = 0; attempt < 1500 && trees < 130; ++attempt) {
        const float x = random.Range(-230.0f, 230.0f), z = random.Range(-40.0f, 230.0f);
        if (IsBuiltUp(x, z) || GroundHeight(x, z) < 3.0f || GroundNormal(x, z).y < 0.85f) continue;
        const Vector3 at{x, GroundSurface(x, z) - 0.3f, z};
        const float size = random.Range(0.8f, 1.3f);
        trunks.AddCylinder(at, 0.35f * size, 0.2f * size, 4.0f * size, 6, 0.5f, false);
        crossed(crowns, at + Vector3{0, 2.5f * size, 0}, 7.0f * size, 7.0f * size);
        ++trees;
    }
    int tufts = 0;
    for (int attempt = 0; attempt < 3000 && tufts < 500; ++attempt) {
        const float x = random.Range(-200.0f, 200.0f), z = random.Range(0.0f, 160.0f);
        if (IsBuiltUp(x, z) || GroundHeight(x, z) < 2.5f) continue;
        crossed(grass, {x, GroundSurface(x, z) - 0.05f, z}, random.Range(1.2f, 2.0f), random.Range(0.5f, 0.9f));
        ++tufts;
    }
    Pointer<TextureEffect> bark = new (std::nothrow) TextureEffect();
    Pointer<TextureEffect> leaves = new (std::nothrow) TextureEffect();
    Pointer<TextureEffect> blades = new (std::nothrow) TextureEffect();
    if (bark == nullptr || leaves == nullptr || blades == nullptr) return 1;
    bark->SetTexture(assets.File("bark.jpg"));
    for (TextureEffect* cards : {leaves.Get(), blades.Get()}) {
        cards->alphaTest = true;
        cards->alphaReference = 128;
        cards->cullEnable = false;
        cards->SetWave(true);
        cards->SetColor({0.85f, 0.8f, 0.75f, 1.0f});
    }
    leaves->SetTexture(assets.File("leaves.tga"));
    leaves->waveAmplitude = 0.12f;
    leaves->waveSpeed = 0.8f;
    blades->SetTexture(assets.File("grassblades.tga"));
    blades->waveAmplitude = 0.25f;
    blades->waveSpeed = 1.7f;
    const bool ok = AddChild(world.shadowed, MakeShape(trunks, "Tree Trunks", bark, false, false)) &&
                    AddChild(world.shadowed, MakeShape(crowns, "Tree Crowns", leaves, false, false)) &&
                    AddChild(world.shadowed, MakeShape(grass, "Grass", blades, false, false));
    return ok ? 0 : 1;
}

// The meadow by the pond where the fireflies rise: triangles the emitter
// picks points on, never drawn themselves.
int BuildMeadow(ShowWorld& world) {
    // A ring of ground around the pond, in separate triangles: the emitter
    // reads three positions per triangle and no indices.
    const Vector3 pond = PondCenter();
    MeshBuilder mesh;
    auto at = [&](float a, float r) {
        const float x = pond.x + std::cos(a) * r, z = pond.z + std::sin(a) * r;
        return Vector3{x, GroundSurface(x, z) + 0.6f, z};
    };
    auto triangle = [&](const Vector3& a, const Vector3& b, const Vector3& c) {
        const int32_t first = mesh.AddVertex({a, {0, 1, 0}, {}, {}});
        mesh.AddVertex({b, {0, 1, 0}, {}, {}});
        mesh.AddVertex({c, {0, 1, 0}, {}, {}});
        mesh.AddTriangle(first, first + 1, first + 2);
    };
    const float inner = kPondRadius + 1.0f, outer = kPondRadius + 9.0f;
    for (int k = 0; k < 8; ++k) {
        const float a0 = k * kPi / 4.0f, a1 = (k + 1) * kPi / 4.0f;
        triangle(at(a0, inner), at(a1, inner), at(a1, outer));
        triangle(at(a0, inner), at(a1, outer), at(a0, outer));
    }
    Pointer<Triangles> meadow = mesh.Build(String("Firefly Meadow"), false, false);
    // A plain geometry effect has no technique: the surface stays unseen.
    Pointer<GeometryNodeEffect> unseen = new (std::nothrow) GeometryNodeEffect();
    if (meadow == nullptr || unseen == nullptr) return 1;
    meadow->SetEffect(unseen);
    world.meadow = meadow;
    // Helper shapes live under a group whose plain scene-node effect has
    // no passes, so nothing below it is ever drawn; they are still updated.
    world.unseen = MakeGroup("Unseen");
    Pointer<SceneNodeEffect> hide = new (std::nothrow) SceneNodeEffect();
    // The base render-to-texture controller renders nothing; it stands in
    // the group's effect as the hook later ones would use.
    Pointer<PostUpdateController> idle = new (std::nothrow) PostUpdateController();
    if (world.unseen == nullptr || hide == nullptr || idle == nullptr || hide->AttachController(idle) != 0 ||
        world.unseen->AddEffect(hide) != 0)
        return 1;
    return AddChild(world.unseen, meadow) && AddChild(world.shadowed, world.unseen) ? 0 : 1;
}

// The off-screen images' sides: powers of two, at most 512. Every texel is
// drawn again each frame on a software rasteriser, and the images are
// sampled through ripples that blur them anyway, so half of the screen's
// size is enough for the sea's depths and the pond. The sea's mirror keeps
// 512: at 256 the sky's reflection just below the horizon shows as a band.
constexpr int kSeaReflectionSide = 512;
constexpr int kSeaRefractionSide = 256;
constexpr int kPondReflectionSide = 256;

Pointer<Texture> ScreenImage(ShowAssets& assets, const char* name, int side, Controller* controller) {
    Texture* texture = assets.Blank(name, side, side, Image::kFormatRGBA);
    if (texture == nullptr || controller == nullptr || texture->AttachController(controller) != 0) return nullptr;
    return texture;
}

}  // namespace

int BuildWorld(ShowAssets& assets, ShowWorld& world) {
    world.shadowed = MakeGroup("Harbour");
    world.water = MakeGroup("Water");
    world.glows = MakeGroup("Glows");
    if (world.shadowed == nullptr || world.water == nullptr || world.glows == nullptr) return 1;
    if (BuildGround(assets, world) != 0) return 1;
    if (BuildSky(assets, world) != 0 || !AddChild(world.shadowed, world.ground) || BuildQuay(assets, world) != 0 ||
        BuildHouses(assets, world) != 0 || BuildLighthouse(assets, world) != 0 || BuildWindmill(assets, world) != 0 ||
        BuildVegetation(assets, world) != 0 || BuildMeadow(world) != 0)
        return 1;
    return 0;
}

int BuildWater(ShowAssets& assets, ShowWorld& world) {
    Texture* waves = assets.NormalMap("water_h.tga", 2.0f);
    // The sea: reflection and refraction images of the harbour, blended by
    // a Fresnel table, rippled by the wave normal map.
    Pointer<RenderScreenspaceReflectTextureController> seaMirror =
        new (std::nothrow) RenderScreenspaceReflectTextureController();
    Pointer<RenderScreenspaceRefractTextureController> seaDepths =
        new (std::nothrow) RenderScreenspaceRefractTextureController();
    Pointer<FresnelTextureController> fresnel = new (std::nothrow) FresnelTextureController();
    Pointer<Texture> reflection = ScreenImage(assets, "Sea Reflection", kSeaReflectionSide, seaMirror);
    Pointer<Texture> refraction = ScreenImage(assets, "Sea Refraction", kSeaRefractionSide, seaDepths);
    Texture* fresnelMap = assets.Blank("Fresnel", 256, 1, Image::kFormatRGB);
    // Far beyond the sky dome: the sea, drawn after the dome, covers it below
    // the horizon, and the haze closes over the sea's edge.
    const std::vector<float> lines = SeaGridLines();
    MeshBuilder seaMesh;
    seaMesh.AddLevelGrid(lines, lines, 0.0f, 1.0f / 24.0f);
    Pointer<ReflectiveRefractiveQuietFlatWaterEffect> seaEffect =
        new (std::nothrow) ReflectiveRefractiveQuietFlatWaterEffect();
    if (reflection == nullptr || refraction == nullptr || fresnelMap == nullptr || fresnel == nullptr ||
        seaEffect == nullptr || waves == nullptr || fresnelMap->AttachController(fresnel) != 0)
        return 1;
    // Denser than water: a fifth of the sky is mirrored even straight
    // down, so from high cameras the sea keeps the evening's colour.
    fresnel->indexA = 1.0f;
    fresnel->indexB = 2.6f;
    seaEffect->SetTexture(waves);
    seaEffect->SetNormalmap(waves);
    seaEffect->SetNormalmapSet(0);
    seaEffect->SetReflectionMap(reflection);
    seaEffect->SetRefractionMap(refraction);
    seaEffect->SetFresnelMap(fresnelMap);
    seaEffect->ripple.scale = {1.0f, 1.0f};
    seaEffect->ripple.radius = 0.08f;
    seaEffect->ripple.angularSpeed = 0.15f;
    seaEffect->reflectionDistortion = 0.04f;
    seaEffect->refractionDistortion = 0.03f;
    Pointer<Triangles> sea = MakeShape(seaMesh, "Sea", seaEffect, false, true);
    // The pond: a quiet mirror of the hills and the sky.
    Pointer<RenderScreenspaceReflectTextureController> pondMirror =
        new (std::nothrow) RenderScreenspaceReflectTextureController();
    Pointer<Texture> pondImage = ScreenImage(assets, "Pond Reflection", kPondReflectionSide, pondMirror);
    const Vector3 center = PondCenter();
    MeshBuilder pondMesh;
    const float r = kPondRadius + 2.0f;
    pondMesh.AddQuad({-r, 0, -r}, {r, 0, -r}, {r, 0, r}, {-r, 0, r}, {0, 1, 0}, {4.0f, 4.0f});
    Pointer<ReflectiveQuietFlatWaterEffect> pondEffect = new (std::nothrow) ReflectiveQuietFlatWaterEffect();
    if (sea == nullptr || pondImage == nullptr || pondEffect == nullptr) return 1;
    pondEffect->SetTexture(waves);
    pondEffect->SetNormalmap(waves);
    pondEffect->SetNormalmapSet(0);
    pondEffect->SetReflectionMap(pondImage);
    pondEffect->ripple.radius = 0.05f;
    pondEffect->ripple.angularSpeed = 0.1f;
    pondEffect->distortion = 0.02f;
    Pointer<Triangles> pond = MakeShape(pondMesh, "Pond", pondEffect, false, true);
    if (pond == nullptr) return 1;
    pond->GetLocal().translation = {center.x, PondLevel(), center.z};
    seaMirror->SetWaterNode(sea);
    seaDepths->SetWaterNode(sea);
    pondMirror->SetWaterNode(pond);
    // What the water shows: the sky and the whole harbour above it; below
    // the sea, the ground.
    for (auto* mirror : {seaMirror.Get(), pondMirror.Get()})
        if (mirror->GetNodes().Add(world.sky) != kOk || mirror->GetNodes().Add(world.shadowed) != kOk) return 1;
    // Deep water beyond the ground's edge: the refraction shows a dark
    // floor there instead of nothing.
    // A grid like the sea's, so its haze too is right near the camera. It
    // lies just under the ground's deepest level in the ground's deep
    // colour as the sun lights it there (the ground's light map gives a
    // level floor 0.47), so the ground's edge leaves no line in the
    // refraction.
    MeshBuilder floorMesh;
    floorMesh.AddLevelGrid(lines, lines, -14.4f, 0.0f);
    Pointer<ColorEffect> deep = new (std::nothrow) ColorEffect();
    if (deep == nullptr) return 1;
    deep->SetColor({0.056f, 0.103f, 0.112f, 1.0f});
    Pointer<Triangles> seaFloor = MakeShape(floorMesh, "Sea Floor", deep, false, false);
    if (seaFloor == nullptr || !AddChild(world.unseen, seaFloor) || !AddChild(world.unseen, world.seabed)) return 1;
    for (Node* seen : std::initializer_list<Node*>{world.ground, world.seabed, seaFloor})
        if (seaDepths->GetNodes().Add(seen) != kOk) return 1;
    return AddChild(world.water, sea) && AddChild(world.water, pond) ? 0 : 1;
}

}  // namespace zel
