#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/core/Stream.h"
#include "engine/render/GeometryNodeEffect.h"
#include "engine/render/texture/TextureStage.h"
#include "support/RecordingEffect.h"
#include "support/RecordingOutput.h"
#include "support/RecordingRenderer.h"
#include "support/StreamRoundTrip.h"
#include "support/TestObjects.h"

namespace zel {
namespace {

using test::RecordingEffect;
using test::RecordingPass;
using test::RecordingRenderer;
using test::RecordingTechnique;

// Technique choice.

TEST(Effect, TheNewestTechniqueTheRendererCanRunIsChosenOnce) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<RecordingEffect> effect = new RecordingEffect();
    RecordingTechnique* basic = static_cast<RecordingTechnique*>(effect->GetTechnique(0));
    RecordingTechnique* middle = effect->AddRecordingTechnique("middle", 2, 4);
    RecordingTechnique* best = effect->AddRecordingTechnique("best", 3, 16);
    EXPECT_EQ(effect->GetTechnique(0), best);
    EXPECT_EQ(effect->GetActiveTechnique(), nullptr);

    EXPECT_EQ(effect->GetPassCount(*renderer), 2);
    EXPECT_EQ(effect->GetActiveTechnique(), middle);
    EXPECT_EQ(best->initCalls, 1);
    EXPECT_EQ(middle->initCalls, 1);
    EXPECT_EQ(basic->initCalls, 0);
    EXPECT_EQ(effect->GetRecordingPass(1)->refreshes, 1);

    // The choice stays, whatever the renderer says later.
    renderer->Capabilities().simultaneousTextures = 32;
    EXPECT_EQ(effect->GetPassCount(*renderer), 2);
    EXPECT_EQ(best->initCalls, 1);
    EXPECT_EQ(effect->GetPass(2), nullptr);
}

// An effect with one technique that needs four texture stages.
class PickyEffect : public Effect {
public:
    PickyEffect() : technique(new RecordingTechnique(this, "needs4", 1, 4)) { EXPECT_EQ(AddTechnique(technique), kOk); }
    RecordingTechnique* technique;
};

TEST(Effect, NoRunnableTechniqueMeansNoPassesAndNoError) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    renderer->SetFixedFunction(1, 0);
    test::LogCapture capture;
    Pointer<RecordingEffect> fallback = new RecordingEffect();
    fallback->AddRecordingTechnique("needs2", 1, 2);
    EXPECT_EQ(fallback->GetPassCount(*renderer), 1);
    EXPECT_EQ(static_cast<RecordingTechnique*>(fallback->GetActiveTechnique())->name, "tech");

    Pointer<PickyEffect> picky = new PickyEffect();
    EXPECT_EQ(picky->GetPassCount(*renderer), 0);
    EXPECT_EQ(picky->GetPass(0), nullptr);
    EXPECT_EQ(picky->GetActiveTechnique(), nullptr);
    // Without a choice the techniques are asked again at the next draw.
    renderer->Capabilities().simultaneousTextures = 4;
    EXPECT_EQ(picky->GetPassCount(*renderer), 1);
    EXPECT_EQ(picky->technique->initCalls, 2);
    EXPECT_EQ(Pointer<Effect>(new Effect())->GetPassCount(*renderer), 0);
    for (const auto& line : capture->lines) EXPECT_EQ(line.level, kLogInfo) << line.text;
}

TEST(Effect, UpdateRunsControllersAndAccumulatesTime) {
    Pointer<RecordingEffect> effect = new RecordingEffect();
    test::TestController* controller = new test::TestController();
    effect->AttachController(controller);
    effect->UpdateEffect(0.25);
    effect->UpdateEffect(0.5);
    EXPECT_EQ(controller->updates, 2);
    EXPECT_FLOAT_EQ(effect->effectTime, 0.75f);
    effect->Disable();
    EXPECT_FALSE(effect->IsEnabled());
    effect->Enable();
    EXPECT_TRUE(effect->IsEnabled());
}

// Refresh.

struct FogCase {
    float exponent;
    int32_t mode;
};

TEST(GeometryNodeEffect, RefreshCopiesTheParametersIntoTheBlock) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<RecordingEffect> effect = new RecordingEffect();
    ASSERT_EQ(effect->GetPassCount(*renderer), 1);
    RecordingPass* pass = effect->GetRecordingPass(0);
    RenderStateBlock& block = *pass->GetRenderStateBlock();

    effect->diffuse = {0.1f, 0.2f, 0.3f, 0.4f};
    effect->power = 7;
    effect->alphaTest = true;
    effect->alphaReference = 99;
    effect->blendEnable = true;
    effect->sourceFactor = RenderStateBlock::kOne;
    effect->destinationFactor = RenderStateBlock::kZero;
    effect->fogDensity = 0.5f;
    effect->cullEnable = false;
    effect->depthWrite = false;
    effect->wireframe = true;
    effect->stageAddressModes[3] = TextureStage::kClamp;
    effect->stageAddressModes[7] = TextureStage::kBorder;
    pass->GetBinding().SetDirty(false);
    effect->SetFogEnable(true);

    EXPECT_TRUE(pass->GetBinding().IsDirty());
    EXPECT_EQ(block.diffuse, effect->diffuse);
    EXPECT_EQ(block.power, 7);
    EXPECT_TRUE(block.alphaTestEnable);
    EXPECT_EQ(block.alphaReference, 99);
    EXPECT_EQ(block.alphaFunction, RenderStateBlock::kGreaterEqual);
    EXPECT_TRUE(block.blendEnable);
    EXPECT_EQ(block.sourceFactor, RenderStateBlock::kOne);
    EXPECT_EQ(block.destinationFactor, RenderStateBlock::kZero);
    EXPECT_TRUE(block.fogEnable);
    EXPECT_EQ(block.fogDensity, 0.5f);
    EXPECT_FALSE(block.tableFog);
    EXPECT_FALSE(block.cullEnable);
    EXPECT_FALSE(block.depthWrite);
    EXPECT_TRUE(block.depthTest);
    EXPECT_TRUE(block.wireframe);
    EXPECT_EQ(block.stages[3].addressU, TextureStage::kClamp);
    EXPECT_EQ(block.stages[3].addressW, TextureStage::kClamp);
    EXPECT_EQ(block.stages[7].addressV, TextureStage::kBorder);
    EXPECT_EQ(block.stages[0].addressU, TextureStage::kWrap);
    // What the effect does not own keeps the block's defaults.
    EXPECT_EQ(block.fogStart, 0.0f);
    EXPECT_EQ(block.fogEnd, 1000.0f);
    EXPECT_EQ(block.depthFunction, RenderStateBlock::kLessEqual);
    EXPECT_EQ(block.shadeMode, RenderStateBlock::kGouraud);
    EXPECT_EQ(block.cullFace, RenderStateBlock::kCullBack);
    EXPECT_EQ(block.stages[0].mode, TextureStage::kModulate);
    EXPECT_EQ(block.stages[0].minificationFilter, TextureStage::kLinearMipLinear);

    const FogCase fogCases[] = {{2.0f, RenderStateBlock::kFogExponential},
                                {2.5f, RenderStateBlock::kFogSquaredExponential},
                                {1.0f, RenderStateBlock::kFogExponential}};
    for (const FogCase& c : fogCases) {
        effect->fogExponent = c.exponent;
        effect->SetWave(true);
        EXPECT_EQ(block.fogMode, c.mode) << c.exponent;
    }
}

struct DepthWriteCase {
    bool blend;
    bool depthWrite;
    bool written;
};

// Depth writes are not streamed, so every loaded effect asks for them; a
// blended one still writes no depth, or a lantern's glass would hide the
// lamp's glow inside it.
TEST(GeometryNodeEffect, BlendedPassesWriteNoDepth) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<RecordingEffect> effect = new RecordingEffect();
    ASSERT_EQ(effect->GetPassCount(*renderer), 1);
    const RenderStateBlock& block = *effect->GetRecordingPass(0)->GetRenderStateBlock();
    const DepthWriteCase cases[] = {{false, true, true}, {true, true, false}, {false, false, false}};
    for (const DepthWriteCase& c : cases) {
        effect->blendEnable = c.blend;
        effect->depthWrite = c.depthWrite;
        effect->RefreshPasses();
        EXPECT_EQ(block.depthWrite, c.written) << c.blend << c.depthWrite;
    }
}

// Streaming.

using test::RoundTrip;

TEST(GeometryNodeEffect, StreamedFieldsSurviveAndTheRestDoesNot) {
    Pointer<GeometryNodeEffect> effect = new GeometryNodeEffect();
    effect->SetName(String("material"));
    effect->ambient = {0.5f, 0.25f, 0.125f, 1};
    effect->specular = {1, 1, 1, 0.5f};
    effect->emissive = {0, 0, 1, 1};
    effect->power = 12;
    effect->alphaTest = true;
    effect->alphaReference = 128;
    effect->blendEnable = true;
    effect->cullEnable = false;
    effect->sourceFactor = 6;
    effect->destinationFactor = 0;
    effect->SetFogEnable(true);
    effect->fogColor = {0.3f, 0.3f, 0.3f, 1};
    effect->fogDensity = 0.02f;
    effect->fogExponent = 2.5f;
    effect->SetWave(true);
    effect->waveAmplitude = 0.2f;
    effect->waveSpeed = 3;
    effect->stageAddressModes[0] = TextureStage::kClamp;
    effect->stageAddressModes[5] = TextureStage::kClamp;
    effect->stageAddressModes[6] = TextureStage::kBorder;  // not representable: loads as wrap
    effect->depthWrite = false;                             // not streamed
    effect->effectTime = 9;                                 // not streamed

    Pointer<GeometryNodeEffect> loaded = RoundTrip(effect.Get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->ambient, effect->ambient);
    EXPECT_EQ(loaded->specular, effect->specular);
    EXPECT_EQ(loaded->emissive, effect->emissive);
    EXPECT_EQ(loaded->power, 12);
    EXPECT_TRUE(loaded->alphaTest);
    EXPECT_EQ(loaded->alphaReference, 128);
    EXPECT_TRUE(loaded->blendEnable);
    EXPECT_FALSE(loaded->cullEnable);
    EXPECT_EQ(loaded->sourceFactor, 6);
    EXPECT_EQ(loaded->destinationFactor, 0);
    EXPECT_TRUE(loaded->GetFogEnable());
    EXPECT_EQ(loaded->fogColor, effect->fogColor);
    EXPECT_EQ(loaded->fogDensity, 0.02f);
    EXPECT_EQ(loaded->fogExponent, 2.5f);
    EXPECT_TRUE(loaded->GetWave());
    EXPECT_EQ(loaded->waveAmplitude, 0.2f);
    EXPECT_EQ(loaded->waveSpeed, 3);
    const int32_t expectedModes[8] = {0, 1, 1, 1, 1, 0, 1, 1};
    for (int32_t i = 0; i < 8; ++i) EXPECT_EQ(loaded->stageAddressModes[i], expectedModes[i]) << i;
    EXPECT_TRUE(loaded->depthWrite);
    EXPECT_EQ(loaded->effectTime, 0);
}

struct FlagsCase {
    uint8_t flags;
    bool blend;
    bool cull;
};

TEST(GeometryNodeEffect, FlagsByteRules) {
    // The alpha reference is a marker: the flags byte follows it.
    Pointer<GeometryNodeEffect> effect = new GeometryNodeEffect();
    effect->alphaReference = 0x5A6B7C8D;
    Stream stream(0, 512);
    ASSERT_EQ(stream.WriteLink(effect), 0);
    std::vector<uint8_t> bytes(stream.GetBuffer(), stream.GetBuffer() + stream.GetPosition());
    const uint8_t marker[4] = {0x8D, 0x7C, 0x6B, 0x5A};
    size_t at = 0;
    while (at + 4 < bytes.size() && std::memcmp(&bytes[at], marker, 4) != 0) ++at;
    ASSERT_LT(at + 4, bytes.size());
    const size_t flagsAt = at + 4;
    EXPECT_EQ(bytes[flagsAt], 0x00);

    const FlagsCase cases[] = {{0x10, false, false}, {0x01, true, true}, {0x02, true, true}, {0x08, true, true},
                               {0x11, true, false}, {0x00, false, true}, {0x20, false, false}, {0xFF, true, false}};
    for (const FlagsCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.flags));
        bytes[flagsAt] = c.flags;
        Stream patched(static_cast<int32_t>(bytes.size()), 1);
        patched.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
        patched.Rewind();
        Pointer<GeometryNodeEffect> loaded;
        ASSERT_EQ(patched.ReadLinkAs(loaded), 0);
        EXPECT_EQ(loaded->blendEnable, c.blend);
        EXPECT_EQ(loaded->cullEnable, c.cull);
    }
}

TEST(GeometryNodeEffect, TruncatedDataFailsWithOneMessage) {
    Pointer<GeometryNodeEffect> effect = new GeometryNodeEffect();
    Stream full(0, 512);
    ASSERT_EQ(full.WriteLink(effect), 0);
    test::LogCapture capture;
    for (int32_t cut = 40; cut < full.GetPosition(); cut += 7) {
        Stream part(cut, 1);
        part.Write(full.GetBuffer(), cut);
        part.Rewind();
        Pointer<Object> read;
        EXPECT_NE(part.ReadLink(read), 0) << cut;
    }
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить данные эффекта."));
}

// Skin controller.

std::vector<std::string> gSkinCalls;

void RecordSkinning(Controller* controller, bool on) {
    gSkinCalls.push_back(std::string(controller->GetName().CStr()) + (on ? ":cpu" : ":gpu"));
}

void RecordUnbounded(Controller* controller) { gSkinCalls.push_back(std::string(controller->GetName().CStr()) + ":inf"); }

struct SkinHooks : ::testing::Test {
    SkinHooks() {
        gSkinCalls.clear();
        SkinControllerHooks hooks;
        hooks.setProcessorSkinning = &RecordSkinning;
        hooks.makeTargetUnbounded = &RecordUnbounded;
        GeometryNodeEffect::SetSkinControllerHooks(hooks);
        SetCurrentRenderer(renderer);
    }
    ~SkinHooks() override {
        GeometryNodeEffect::SetSkinControllerHooks(SkinControllerHooks());
        SetCurrentRenderer(nullptr);
    }
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
};

TEST_F(SkinHooks, DeviceSkinningNeedsVertexProgramsOfLevelTwo) {
    Pointer<RecordingEffect> effect = new RecordingEffect();
    Pointer<test::TestController> first = new test::TestController(), second = new test::TestController();
    first->SetName(String("first"));
    second->SetName(String("second"));
    effect->SetSkinController(first);
    effect->SetSkinController(second);
    EXPECT_EQ(gSkinCalls, (std::vector<std::string>{"first:cpu", "first:inf", "first:cpu", "second:cpu",
                                                    "second:inf"}));
    gSkinCalls.clear();
    effect->UpdateEffect(0.1);
    EXPECT_EQ(gSkinCalls, (std::vector<std::string>{"second:gpu"}));
    EXPECT_EQ(effect->FindByName(String("second")), second.Get());

    renderer->Capabilities().vertexShaderLevel = RendererCapabilities::kShaderLevel1x;
    gSkinCalls.clear();
    effect->UpdateEffect(0.1);
    EXPECT_TRUE(gSkinCalls.empty());
    EXPECT_EQ(effect->GetSkinController(), nullptr);
}

// Passes.

TEST(Pass, DestroyingAPassReleasesItOnlyFromTheRendererHoldingIt) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    { Pointer<RecordingPass> unused = new RecordingPass(nullptr, "unused"); }
    SetCurrentRenderer(renderer);
    {
        Pointer<RecordingPass> drawn = new RecordingPass(nullptr, "drawn");
        static int device = 0;
        drawn->GetBinding().SetHandle(&device, GetCurrentRenderer());
        EXPECT_EQ(drawn->GetBinding().GetHolder(), renderer.Get());
    }
    SetCurrentRenderer(nullptr);
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"ReleasePass(drawn)"}));
}

}  // namespace
}  // namespace zel
