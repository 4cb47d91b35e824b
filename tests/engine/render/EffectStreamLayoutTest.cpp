// Byte layout of the geometry, scene-node, shadow-map, post-render, bloom and
// sprite effects: each class writes exactly its own fields, in a fixed
// order, after its parent's data. Stored scenes rely on this order; a round
// trip alone passes a change made the same way on both sides. Every field
// holds a value of its own, so two swapped fields show.
#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <vector>

#include "engine/core/Stream.h"
#include "engine/render/GeometryNodeEffect.h"
#include "engine/render/SceneNodeEffect.h"
#include "engine/render/post/Bloom5PostRenderEffect.h"
#include "engine/render/shadow/ShadowmapEffect.h"
#include "engine/render/sprite/SpriteEffect.h"
#include "engine/render/texture/Texture.h"
#include "engine/render/texture/TextureStage.h"
#include "engine/scene/Light.h"
#include "engine/scene/Triangles.h"
#include "support/TestObjects.h"

namespace zel {
namespace {

// Little-endian words and bytes as the stream writes them.
struct SavedBytes {
    std::vector<uint8_t> data;

    SavedBytes& U8(uint8_t value) {
        data.push_back(value);
        return *this;
    }
    SavedBytes& U32(uint32_t value) {
        for (int32_t shift = 0; shift < 32; shift += 8) data.push_back(static_cast<uint8_t>(value >> shift));
        return *this;
    }
    SavedBytes& I32(int32_t value) { return U32(static_cast<uint32_t>(value)); }
    SavedBytes& F32(float value) { return U32(std::bit_cast<uint32_t>(value)); }
    SavedBytes& Color(const ColorRGBA& c) { return F32(c.r).F32(c.g).F32(c.b).F32(c.a); }
    SavedBytes& Link(const Object* object) { return I32(object != nullptr ? object->GetId() : -1); }
};

std::vector<uint8_t> Written(const Stream& stream, int32_t start) {
    return std::vector<uint8_t>(stream.GetBuffer() + start, stream.GetBuffer() + stream.GetPosition());
}

// The linked objects go into the stream first, so the effect's links are
// written as their IDs alone. P's Save, called on the same object, gives the
// parent's data with the same IDs; E's Save must be that followed by `own`.
template <class P, class E>
void ExpectEffectLayout(E& effect, const std::vector<Object*>& linked, const SavedBytes& own) {
    Stream stream(0, 1024);
    for (Object* object : linked) ASSERT_EQ(stream.WriteLink(object), 0);
    int32_t start = stream.GetPosition();
    ASSERT_EQ(effect.P::Save(stream), 0);
    std::vector<uint8_t> expected = Written(stream, start);
    expected.insert(expected.end(), own.data.begin(), own.data.end());
    start = stream.GetPosition();
    ASSERT_EQ(effect.Save(stream), 0);
    EXPECT_EQ(Written(stream, start), expected);
}

// Fills every streamed field of the geometry effect; its bytes after the
// effect's data.
SavedBytes FillGeometry(GeometryNodeEffect& e, Controller* skin) {
    e.stageAddressModes[0] = e.stageAddressModes[2] = TextureStage::kClamp;
    e.diffuse = {0.11f, 0.12f, 0.13f, 0.14f};
    e.ambient = {0.21f, 0.22f, 0.23f, 0.24f};
    e.specular = {0.31f, 0.32f, 0.33f, 0.34f};
    e.emissive = {0.41f, 0.42f, 0.43f, 0.44f};
    e.power = 5.0f;
    e.alphaTest = true;
    e.alphaReference = 7;
    e.blendEnable = true;
    e.cullEnable = false;
    e.sourceFactor = 9;
    e.destinationFactor = 10;
    e.SetFogEnable(true);
    e.fogColor = {0.51f, 0.52f, 0.53f, 0.54f};
    e.fogDensity = 0.25f;
    e.fogExponent = 3.0f;
    e.SetWave(true);
    e.waveAmplitude = 0.5f;
    e.waveSpeed = 1.5f;
    e.SetSkinController(skin);
    SavedBytes own;
    own.U8(0x05).Color(e.diffuse).Color(e.ambient).Color(e.specular).Color(e.emissive).F32(5.0f);
    own.U8(1).I32(7).U8(0x11).I32(9).I32(10);                       // alpha test, blend and cull flags, factors
    own.U8(1).Color(e.fogColor).F32(0.25f).F32(3.0f);               // fog
    own.U8(1).F32(0.5f).F32(1.5f).Link(skin);                       // wave, skin
    return own;
}

struct LayoutCase {
    const char* what;
    std::function<void()> check;
};

const LayoutCase kCases[] = {
    {"geometry effect",
     [] {
         Pointer<Controller> skin = new test::TestController();
         Pointer<GeometryNodeEffect> e = new GeometryNodeEffect();
         const SavedBytes own = FillGeometry(*e, skin);
         ExpectEffectLayout<Effect>(*e, {skin}, own);
     }},
    {"scene-node effect adds nothing",
     [] {
         Pointer<SceneNodeEffect> e = new SceneNodeEffect();
         e->SetName(String("fx"));
         ExpectEffectLayout<Effect>(*e, {}, SavedBytes{});
     }},
    {"shadow map",
     [] {
         Pointer<Light> light = new Light(Light::kDirectional, String("sun"));
         Pointer<Texture> map = new Texture(nullptr, String("map"));
         Pointer<GeometryNode> a = new Triangles(), b = new Triangles();
         Pointer<ShadowmapEffect> e = new ShadowmapEffect();
         e->SetLight(light);
         e->SetShadowmap(map);
         e->shadowColor = {0.1f, 0.2f, 0.3f, 0.4f};
         e->softShadows = true;
         e->depthBias = 0.125f;
         e->slopeScaleBias = 2.5f;
         e->fitThreshold = 0.75f;
         ASSERT_EQ(e->GetNodes().Add(a), kOk);
         ASSERT_EQ(e->GetNodes().Add(b), kOk);
         SavedBytes own;
         own.Link(light).Link(map).Color(e->shadowColor).U8(0x02).F32(0.125f).F32(2.5f).F32(0.75f);
         own.I32(2).Link(a).Link(b);
         ExpectEffectLayout<SceneNodeEffect>(*e, {light, map, a, b}, own);
         e->softShadows = false;
         e->fitToCamera = true;
         SavedBytes fit;
         fit.Link(light).Link(map).Color(e->shadowColor).U8(0x01).F32(0.125f).F32(2.5f).F32(0.75f);
         fit.I32(2).Link(a).Link(b);
         ExpectEffectLayout<SceneNodeEffect>(*e, {light, map, a, b}, fit);
     }},
    {"post-render film flag",
     [] {
         Pointer<PostRenderEffect> e = new PostRenderEffect();
         e->SetFilm(true);
         ExpectEffectLayout<SceneNodeEffect>(*e, {}, SavedBytes{}.U8(1));
     }},
    {"bloom",
     [] {
         Pointer<Bloom5PostRenderEffect> e = new Bloom5PostRenderEffect();
         e->SetFilm(true);
         e->luminanceCap = 0.5f;
         e->bloomAlphaWeight = 0.25f;
         e->blurSpread = 3.0f;
         e->bloomWeight = 0.75f;
         e->sceneWeight = 1.25f;
         e->bloomTint = {0.6f, 0.7f, 0.8f, 0.9f};
         e->downsampleScale = 0.125f;
         SavedBytes own;
         own.F32(0.5f).F32(0.25f).F32(3.0f).F32(0.75f).F32(1.25f).Color(e->bloomTint).F32(0.125f);
         ExpectEffectLayout<PostRenderEffect>(*e, {}, own);
     }},
    {"sprite",
     [] {
         Pointer<Texture> texture = new Texture(nullptr, String("spark"));
         Pointer<SpriteEffect> e = new SpriteEffect();
         e->SetTexture(texture);
         ExpectEffectLayout<GeometryNodeEffect>(*e, {texture}, SavedBytes{}.Link(texture));
     }},
};

TEST(EffectStreamLayout, EachClassWritesItsOwnFieldsInOrderAfterItsParents) {
    for (const LayoutCase& c : kCases) {
        SCOPED_TRACE(c.what);
        c.check();
    }
}

}  // namespace
}  // namespace zel
