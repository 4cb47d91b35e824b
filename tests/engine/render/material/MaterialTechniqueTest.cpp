// Which technique each material effect runs on devices described by their
// capabilities, and where it falls back to its parents' looks.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/core/Pointer.h"
#include "engine/render/material/ColorEffect.h"
#include "engine/render/material/LightmapTexture1DLEffect.h"
#include "engine/render/material/LightmapTextureEffect.h"
#include "engine/render/material/MaterialPass.h"
#include "engine/render/material/NormalmapLightmapTexture1DLEffect.h"
#include "engine/render/material/NormalmapLightmapTextureEffect.h"
#include "engine/render/material/NormalmapTexture1DLEffect.h"
#include "engine/render/material/NormalmapTextureEffect.h"
#include "engine/render/material/Texture1DLEffect.h"
#include "engine/render/material/TextureEffect.h"
#include "engine/render/water/ReflectiveQuietFlatWaterEffect.h"
#include "engine/render/water/ReflectiveRefractiveQuietFlatWaterEffect.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Triangles.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

using test::RecordingRenderer;
using Level = int32_t;
constexpr Level k1x = RendererCapabilities::kShaderLevel1x;
constexpr Level k20 = RendererCapabilities::kShaderLevel20;
constexpr Level k30 = RendererCapabilities::kShaderLevel30;
constexpr Level kNone = RendererCapabilities::kShaderLevelNone;

struct Device {
    const char* what;
    Level vertex;
    Level pixel;
    int32_t textures;
    int32_t lights;
};

const Device kFull{"3.0, 8 stages, 8 lights", k30, k30, 8, 8};
const Device kLevel1x{"1.x, 8 stages, 8 lights", k1x, k1x, 8, 8};
const Device kPixel1x{"vertex 2.0, pixel 1.x", k20, k1x, 8, 8};
const Device kShadersTwoStagesNoLight{"2.0, 2 stages, no light", k20, k20, 2, 0};
const Device kShadersTwoStages{"2.0, 2 stages, 8 lights", k20, k20, 2, 8};
const Device kShadersOneStage{"2.0, 1 stage", k20, k20, 1, 8};
const Device kFixedFull{"no shaders, 8 stages, 8 lights", kNone, kNone, 8, 8};
const Device kFixedOneStage{"no shaders, 1 stage, no light", kNone, kNone, 1, 0};
const Device kFixedNoStage{"no shaders, no stage", kNone, kNone, 0, 0};

using Make = std::function<Pointer<ColorEffect>()>;

template <class E>
Make Maker() {
    return [] { return Pointer<ColorEffect>(new E()); };
}

struct TechniqueCase {
    const char* effect;
    Make make;
    const Device& device;
    // Index in the effect's technique list (0: the class's own shader
    // technique, then its own fixed-function one, then the parents').
    int32_t technique;
    int32_t passes;
};

// Technique lists, first tried first:
//   ColorEffect               0 shader, 1 fixed
//   TextureEffect             0 shader, 1 fixed, then ColorEffect's (2, 3)
//   LightmapTextureEffect     0, 1, then TextureEffect's (2-5)
//   Texture1DLEffect          0, 1, then TextureEffect's (2-5)
//   NormalmapTexture1DLEffect 0, 1, then TextureEffect's (2-5)
//   LightmapTexture1DLEffect, NormalmapLightmapTexture1DLEffect
//                             0, 1, then LightmapTextureEffect's (2-7)
//   the water effects         0 shader, then TextureEffect's (1-4)
const TechniqueCase kTechniqueCases[] = {
    {"colour", Maker<ColorEffect>(), kFull, 0, 1},
    {"colour", Maker<ColorEffect>(), kFixedNoStage, 1, 1},
    {"texture", Maker<TextureEffect>(), kLevel1x, 0, 1},
    {"texture", Maker<TextureEffect>(), kFixedOneStage, 1, 1},
    {"texture", Maker<TextureEffect>(), kFixedNoStage, 3, 1},
    {"light map", Maker<LightmapTextureEffect>(), kFull, 0, 1},
    {"light map", Maker<LightmapTextureEffect>(), kFixedFull, 1, 1},
    {"light map", Maker<LightmapTextureEffect>(), kShadersOneStage, 2, 1},
    {"light map", Maker<LightmapTextureEffect>(), kFixedOneStage, 3, 1},
    {"normal map", Maker<NormalmapTextureEffect>(), kFull, 0, 1},
    {"normal and light map", Maker<NormalmapLightmapTextureEffect>(), kFull, 0, 1},
    {"lit", Maker<Texture1DLEffect>(), kFull, 0, 1},
    {"lit", Maker<Texture1DLEffect>(), kLevel1x, 0, 1},
    {"lit", Maker<Texture1DLEffect>(), kFixedFull, 1, 1},
    {"lit", Maker<Texture1DLEffect>(), kShadersTwoStagesNoLight, 2, 1},
    {"lit", Maker<Texture1DLEffect>(), kFixedOneStage, 3, 1},
    {"lit normal map", Maker<NormalmapTexture1DLEffect>(), kFull, 0, 1},
    {"lit normal map", Maker<NormalmapTexture1DLEffect>(), kShadersTwoStages, 1, 1},
    {"lit normal map", Maker<NormalmapTexture1DLEffect>(), kShadersTwoStagesNoLight, 2, 1},
    {"lit light map", Maker<LightmapTexture1DLEffect>(), kFull, 0, 1},
    {"lit light map", Maker<LightmapTexture1DLEffect>(), kFixedFull, 1, 2},
    {"lit light map", Maker<LightmapTexture1DLEffect>(), kShadersTwoStagesNoLight, 2, 1},
    {"lit light map", Maker<LightmapTexture1DLEffect>(), kFixedOneStage, 5, 1},
    {"lit normal and light map", Maker<NormalmapLightmapTexture1DLEffect>(), kFull, 0, 1},
    {"lit normal and light map", Maker<NormalmapLightmapTexture1DLEffect>(), kFixedFull, 1, 2},
    {"quiet water", Maker<ReflectiveQuietFlatWaterEffect>(), kFull, 0, 1},
    {"quiet water", Maker<ReflectiveQuietFlatWaterEffect>(), kPixel1x, 1, 1},
    {"quiet water", Maker<ReflectiveQuietFlatWaterEffect>(), kLevel1x, 1, 1},
    {"quiet water", Maker<ReflectiveQuietFlatWaterEffect>(), kFixedOneStage, 2, 1},
    {"refractive water", Maker<ReflectiveRefractiveQuietFlatWaterEffect>(), kFull, 0, 1},
    {"refractive water", Maker<ReflectiveRefractiveQuietFlatWaterEffect>(), kLevel1x, 1, 1},
};

void Describe(RecordingRenderer& renderer, const Device& device) {
    RendererCapabilities& caps = renderer.Capabilities();
    caps.vertexShaderLevel = device.vertex;
    caps.pixelShaderLevel = device.pixel;
    caps.simultaneousTextures = device.textures;
    caps.maxActiveLights = device.lights;
}

TEST(MaterialTechnique, EachClassChoosesItsTechniqueByTheDevice) {
    for (const TechniqueCase& c : kTechniqueCases) {
        SCOPED_TRACE(std::string(c.effect) + " on " + c.device.what);
        Pointer<RecordingRenderer> renderer = new RecordingRenderer();
        Describe(*renderer, c.device);
        Pointer<ColorEffect> effect = c.make();
        EXPECT_EQ(effect->GetPassCount(*renderer), c.passes);
        ASSERT_NE(effect->GetActiveTechnique(), nullptr);
        EXPECT_EQ(effect->GetActiveTechnique(), effect->GetTechnique(c.technique));
    }
}

// The two fallbacks drawn: a lit texture without programs and with one
// stage is the unlit texture (no light enabled); a water surface on a
// level-1.x pixel device is TextureEffect's texture × colour program.
TEST(MaterialTechnique, FallbacksDrawAsTheParent) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<Camera> camera = new Camera(String("camera"));
    camera->Update(0, false);
    renderer->SetCamera(camera);
    Pointer<Triangles> node = new Triangles(String("mesh"));
    node->SetVertices(new Vector3Buffer(3, nullptr));

    Pointer<Texture1DLEffect> lit = new Texture1DLEffect();
    lit->SetLight(new Light(Light::kDirectional));
    node->SetEffect(lit);
    renderer->SetFixedFunction(1, 0);
    node->Draw(*renderer);
    EXPECT_EQ(renderer->Count("EnableLight"), 0);
    EXPECT_EQ(renderer->Count("SetColorBuffer"), 1);
    EXPECT_EQ(renderer->Count("SetTexture"), 1);

    Pointer<ReflectiveQuietFlatWaterEffect> water = new ReflectiveQuietFlatWaterEffect();
    node->SetEffect(water);
    Describe(*renderer, kPixel1x);
    ASSERT_EQ(water->GetPassCount(*renderer), 1);
    const auto* pass = static_cast<MaterialShaderPass*>(water->GetPass(0));
    EXPECT_STREQ(pass->GetVertexShader()->GetProgram().CStr(), kTexturePrograms.basic.level1x.vertex);
    EXPECT_STREQ(pass->GetPixelShader()->GetProgram().CStr(), kTexturePrograms.basic.level1x.pixel);
}

}  // namespace
}  // namespace zel
