// The film frame and the bloom through the recording renderer: the band's
// viewport, the bloom's targets and their sizes, the composite's constants,
// the fallback on low shader levels and the streamed fields.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/render/Pass.h"
#include "engine/render/post/Bloom5PostRenderEffect.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneNode.h"
#include "support/RecordingRenderer.h"
#include "support/StreamRoundTrip.h"

namespace zel {
namespace {

using test::RecordingRenderer;

// Pushes minus pops, a pop on an empty stack counting as nothing; false
// when the stack is not empty at the end.
bool TargetsBalanced(const std::vector<std::string>& calls) {
    int32_t depth = 0;
    for (const std::string& call : calls) {
        if (call.rfind("SetRenderTarget(", 0) != 0) continue;
        if (call == "SetRenderTarget(null)") depth = depth > 0 ? depth - 1 : 0;
        else ++depth;
    }
    return depth == 0;
}

struct PostRendering : ::testing::Test {
    PostRendering() {
        camera->Update(0.0, false);
        renderer->SetCamera(camera);
        EXPECT_EQ(root->AddEffect(effect), kOk);
    }

    // The size of a texture's image as "w x h".
    static std::string SizeOf(const Texture* texture) {
        if (texture == nullptr || texture->GetImage() == nullptr) return "none";
        return std::to_string(texture->GetImage()->GetWidth()) + " x " +
               std::to_string(texture->GetImage()->GetHeight());
    }

    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<Camera> camera = new Camera(String("camera"));
    Pointer<SceneNode> root = new SceneNode(String("root"), 0, 1);
    Pointer<Bloom5PostRenderEffect> effect = new Bloom5PostRenderEffect();
};

TEST_F(PostRendering, FilmFrameDrawsTheChildrenInTheMiddleBand) {
    effect->SetFilm(true);
    renderer->Capabilities().pixelShaderLevel = RendererCapabilities::kShaderLevel1x;
    ASSERT_EQ(effect->GetPassCount(*renderer), 2);
    effect->GetPass(0)->Draw(*renderer);
    EXPECT_TRUE(renderer->IsFilmFrame());
    EXPECT_EQ(renderer->Filter({"SetViewport"}), std::vector<std::string>{"SetViewport(0, 75, 800, 450)"});
    effect->GetPass(1)->Draw(*renderer);
    EXPECT_EQ(renderer->Filter({"SetViewport"}),
              (std::vector<std::string>{"SetViewport(0, 75, 800, 450)", "SetViewport(0, 0, 800, 600)"}));
}

TEST_F(PostRendering, WithoutTheFilmFlagTheViewportStaysAndTheFlagIsCleared) {
    renderer->SetFilmFrame(true);
    effect->ApplyFilm(*renderer);
    effect->RestoreViewport(*renderer);
    EXPECT_FALSE(renderer->IsFilmFrame());
    EXPECT_EQ(renderer->Count("SetViewport"), 0);
}

TEST_F(PostRendering, LowShaderLevelsGiveTheFilmFrameOnly) {
    renderer->Capabilities().vertexShaderLevel = RendererCapabilities::kShaderLevel1x;
    root->Draw(*renderer);
    EXPECT_EQ(renderer->Count("SetRenderTarget"), 0);
    EXPECT_EQ(renderer->Count("DrawUnindexed(0)"), 2);
    EXPECT_EQ(renderer->Count("DrawUnindexed(2)"), 0);
}

TEST_F(PostRendering, BloomCapturesShrinksBlursAndComposites) {
    root->Draw(*renderer);
    EXPECT_EQ(renderer->Filter({"SetRenderTarget", "DrawUnindexed", "Clear"}),
              (std::vector<std::string>{
                  "SetRenderTarget(Screen Texture)", "Clear(3)", "DrawUnindexed(0)", "SetRenderTarget(null)",
                  "SetRenderTarget(Downsample Bloom Texture)", "DrawUnindexed(2)", "SetRenderTarget(null)",
                  "SetRenderTarget(Blur Bloom Texture)", "DrawUnindexed(2)", "SetRenderTarget(null)",
                  "SetRenderTarget(Downsample Bloom Texture)", "DrawUnindexed(2)", "SetRenderTarget(null)",
                  "SetRenderTarget(null)", "DrawUnindexed(2)"}));
    EXPECT_TRUE(TargetsBalanced(renderer->calls));
    EXPECT_EQ(SizeOf(effect->GetScreenTexture()), "800 x 600");
    EXPECT_EQ(SizeOf(effect->GetDownsampleTexture()), "200 x 150");
    EXPECT_EQ(SizeOf(effect->GetBlurTexture()), "200 x 150");
}

TEST_F(PostRendering, CompositeWeightsAndTintGoToThePixelProgram) {
    effect->sceneWeight = 0.7f;
    effect->bloomWeight = 0.3f;
    effect->bloomAlphaWeight = 0.9f;
    effect->bloomTint = {0.5f, 0.6f, 0.7f, 0.8f};
    root->Draw(*renderer);
    EXPECT_FLOAT_EQ(renderer->pixelConstants.at(0)[0], 0.7f);
    EXPECT_FLOAT_EQ(renderer->pixelConstants.at(1)[0], 0.3f);
    EXPECT_FLOAT_EQ(renderer->pixelConstants.at(2)[0], 0.9f);
    EXPECT_FLOAT_EQ(renderer->pixelConstants.at(3)[2], 0.7f);
    // The vertical blur's step: spread over the blur texture's height.
    EXPECT_FLOAT_EQ(renderer->vertexConstants.at(0)[1], 1.5f / 150);
}

TEST_F(PostRendering, ResizingRecreatesTheScreenAndBloomTextures) {
    root->Draw(*renderer);
    Texture* screen = effect->GetScreenTexture();
    Texture* downsample = effect->GetDownsampleTexture();
    root->Draw(*renderer);
    EXPECT_EQ(effect->GetScreenTexture(), screen);
    EXPECT_EQ(effect->GetDownsampleTexture(), downsample);
    renderer->viewportWidth = 400;
    renderer->viewportHeight = 200;
    root->Draw(*renderer);
    EXPECT_EQ(SizeOf(effect->GetScreenTexture()), "400 x 200");
    EXPECT_EQ(SizeOf(effect->GetDownsampleTexture()), "100 x 50");
}

TEST_F(PostRendering, FilmBloomCapturesTheBand) {
    effect->SetFilm(true);
    root->Draw(*renderer);
    EXPECT_EQ(SizeOf(effect->GetScreenTexture()), "800 x 450");
    EXPECT_EQ(renderer->Filter({"SetViewport"}).front(), "SetViewport(0, 75, 800, 450)");
}

TEST_F(PostRendering, HostileDownsampleScaleMakesNoHugeTextures) {
    for (float scale : {1e9f, -1.0f, 0.0f}) {
        Pointer<Bloom5PostRenderEffect> bloom = new Bloom5PostRenderEffect();
        bloom->downsampleScale = scale;
        Pointer<SceneNode> node = new SceneNode();
        EXPECT_EQ(node->AddEffect(bloom), kOk);
        node->Draw(*renderer);
        const Texture* downsample = bloom->GetDownsampleTexture();
        if (downsample != nullptr) {
            EXPECT_LE(downsample->GetImage()->GetWidth(), 800);
        }
        EXPECT_TRUE(TargetsBalanced(renderer->calls));
    }
}

TEST(Bloom5PostRenderEffect, DefaultsAndRoundTrip) {
    Pointer<Bloom5PostRenderEffect> effect = new Bloom5PostRenderEffect();
    EXPECT_EQ(effect->luminanceCap, 0.5f);
    EXPECT_EQ(effect->bloomAlphaWeight, 1.0f);
    EXPECT_EQ(effect->blurSpread, 1.5f);
    EXPECT_EQ(effect->bloomWeight, 0.5f);
    EXPECT_EQ(effect->sceneWeight, 0.5f);
    EXPECT_EQ(effect->downsampleScale, 0.25f);
    effect->SetFilm(true);
    effect->luminanceCap = 0.1f;
    effect->bloomAlphaWeight = 0.2f;
    effect->blurSpread = 0.3f;
    effect->bloomWeight = 0.4f;
    effect->sceneWeight = 0.6f;
    effect->bloomTint = {0.7f, 0.8f, 0.9f, 1.0f};
    effect->downsampleScale = 0.5f;
    Pointer<Bloom5PostRenderEffect> read = test::RoundTrip(effect.Get());
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->GetFilm());
    EXPECT_EQ(read->luminanceCap, 0.1f);
    EXPECT_EQ(read->bloomAlphaWeight, 0.2f);
    EXPECT_EQ(read->blurSpread, 0.3f);
    EXPECT_EQ(read->bloomWeight, 0.4f);
    EXPECT_EQ(read->sceneWeight, 0.6f);
    EXPECT_EQ(read->bloomTint, effect->bloomTint);
    EXPECT_EQ(read->downsampleScale, 0.5f);
}

}  // namespace
}  // namespace zel
