// Post-render effects on Wine's device, read back from the frame: the film
// frame letterboxes, the bloom brightens the surroundings of a bright square
// and leaves a black screen black; a lens flare's alpha follows how much of
// its glow the scene hides.
#include "D3D9TestFixture.h"
#include "PassTestScene.h"

#include "engine/render/Bloom5PostRenderEffect.h"
#include "engine/render/LensFlares.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneNode.h"

namespace zel {
namespace {

using namespace test;

// Draws one geometry node through a pass, as a child of the effect's node.
class PassNode : public Node {
public:
    PassNode(Pass* pass, GeometryNode* geometry) : pass_(pass), geometry_(geometry) {}

    void Draw(Renderer& renderer) override {
        renderer.SetCurrentGeometry(geometry_);
        renderer.BeginPass(pass_);
        if (pass_->Draw(renderer) == 0) renderer.DrawIndexed();
    }

private:
    Pointer<Pass> pass_;
    Pointer<GeometryNode> geometry_;
};

class D3D9EffectsTest : public D3D9RendererTest {
protected:
    void SetUp() override {
        D3D9RendererTest::SetUp();
        if (IsSkipped()) return;
        renderer_->SetWorldMatrix(Matrix4::Identity());
        renderer_->SetViewMatrix(Matrix4::Identity());
        renderer_->SetProjectionMatrix(Matrix4::Identity());
        pass_ = new StreamPass();
        pass_->GetRenderStateBlock()->cullEnable = false;
        UseVertexColour(*pass_->GetRenderStateBlock());
    }

    void TearDown() override {
        if (renderer_ != nullptr && renderer_->GetDevice() != nullptr) renderer_->GetDevice()->EndScene();
        D3D9RendererTest::TearDown();
    }

    // A frame cleared to `clear` with `quad` drawn under `effect`; the scene
    // stays open so the back buffer can be read.
    void DrawUnder(SceneNodeEffect* effect, GeometryNode* quad, const ColorRGBA& clear) {
        Pointer<SceneNode> root = new SceneNode(String("root"), 1, 1);
        if (effect != nullptr) root->AddEffect(effect);
        if (quad != nullptr) root->AppendChild(new PassNode(pass_, quad));
        ASSERT_EQ(renderer_->BeginScene(), 0);
        renderer_->Clear(Renderer::kClearColor | Renderer::kClearDepth, clear, 1.0f, 0);
        root->Draw(*renderer_);
    }

    // The brightest of the three colour channels.
    static int Brightness(Rgba pixel) { return std::max(pixel.r, std::max(pixel.g, pixel.b)); }

    Pointer<StreamPass> pass_;
};

TEST_F(D3D9EffectsTest, FilmFrameKeepsTheTopAndBottomEighthsAtTheClearColour) {
    Pointer<PostRenderEffect> film = new PostRenderEffect();
    film->SetFilm(true);
    const ColorRGBA white{1, 1, 1, 1};
    DrawUnder(film, Quad(-1, -1, 1, 1, 0.5f, white, white), ColorRGBA{1, 0, 0, 1});
    EXPECT_TRUE(Near(ReadBackBuffer(kWidth / 2, 2), Rgba{255, 0, 0, 255}));
    EXPECT_TRUE(Near(ReadBackBuffer(kWidth / 2, kHeight / 8 - 2), Rgba{255, 0, 0, 255}));
    EXPECT_TRUE(Near(ReadBackBuffer(kWidth / 2, kHeight / 8 + 2), Rgba{255, 255, 255, 255}));
    EXPECT_TRUE(Near(ReadBackBuffer(kWidth / 2, kHeight / 2), Rgba{255, 255, 255, 255}));
    EXPECT_TRUE(Near(ReadBackBuffer(kWidth / 2, kHeight - 2), Rgba{255, 0, 0, 255}));
    EXPECT_TRUE(shownMessages.empty());
}

TEST_F(D3D9EffectsTest, BloomBrightensAroundABrightSquare) {
    const ColorRGBA white{1, 1, 1, 1};
    // A white square in the middle, a quarter of the screen wide.
    DrawUnder(nullptr, Quad(-0.25f, -0.25f, 0.25f, 0.25f, 0.5f, white, white), ColorRGBA{0, 0, 0, 1});
    const int plainNear = Brightness(ReadBackBuffer(kWidth / 2 + kWidth / 8 + 4, kHeight / 2));
    renderer_->GetDevice()->EndScene();
    Pointer<Bloom5PostRenderEffect> bloom = new Bloom5PostRenderEffect();
    DrawUnder(bloom, Quad(-0.25f, -0.25f, 0.25f, 0.25f, 0.5f, white, white), ColorRGBA{0, 0, 0, 1});
    const int bloomNear = Brightness(ReadBackBuffer(kWidth / 2 + kWidth / 8 + 4, kHeight / 2));
    EXPECT_LE(plainNear, 2);
    EXPECT_GT(bloomNear, plainNear + 8);
    // Far from the square the screen stays black.
    EXPECT_LE(Brightness(ReadBackBuffer(2, 2)), 2);
    EXPECT_TRUE(shownMessages.empty());
}

TEST_F(D3D9EffectsTest, BloomLeavesABlackScreenBlack) {
    Pointer<Bloom5PostRenderEffect> bloom = new Bloom5PostRenderEffect();
    DrawUnder(bloom, nullptr, ColorRGBA{0, 0, 0, 1});
    for (UINT y : {2u, UINT(kHeight / 2), UINT(kHeight - 2)})
        EXPECT_LE(Brightness(ReadBackBuffer(kWidth / 2, y)), 1);
}

// A lens flare 10 ahead of the camera; its glow measured in one frame,
// behind a near occluder or not.
class D3D9LensFlareTest : public D3D9EffectsTest {
protected:
    void SetUp() override {
        D3D9EffectsTest::SetUp();
        if (IsSkipped()) return;
        SetCurrentRenderer(renderer_);
        camera_ = new Camera(String("camera"));
        camera_->Update(0.0, false);
        renderer_->SetCamera(camera_);
        lens_ = new LensFlares();
        lens_->GetLocal().translation = {0.0f, 0.0f, 10.0f};
        lens_->glowSize = 2.0f;
        lens_->Update(0.0, false);
    }

    void TearDown() override {
        SetCurrentRenderer(nullptr);
        D3D9EffectsTest::TearDown();
    }

    // One frame: the occluder (when asked) in clip space at depth 0.1, then
    // the lens flare from the deferred list.
    void DrawFrame(bool hidden) {
        ASSERT_EQ(renderer_->BeginScene(), 0);
        renderer_->Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0, 0, 0, 1}, 1.0f, 0);
        if (hidden) {
            renderer_->SetWorldMatrix(Matrix4::Identity());
            renderer_->SetViewMatrix(Matrix4::Identity());
            renderer_->SetProjectionMatrix(Matrix4::Identity());
            const ColorRGBA grey{0.5f, 0.5f, 0.5f, 1};
            PassNode(pass_, Quad(-1, -1, 1, 1, 0.1f, grey, grey)).Draw(*renderer_);
        }
        lens_->Draw(*renderer_);
        renderer_->FlushDeferred();
    }

    Pointer<Camera> camera_;
    Pointer<LensFlares> lens_;
};

TEST_F(D3D9LensFlareTest, AFullyVisibleGlowGivesAlphaNearOne) {
    DrawFrame(false);
    EXPECT_GT(lens_->glowColor.a, 0.8f);
    EXPECT_LT(lens_->glowColor.a, 1.25f);
}

TEST_F(D3D9LensFlareTest, AHiddenGlowGivesAlphaZero) {
    DrawFrame(true);
    EXPECT_EQ(lens_->glowColor.a, 0.0f);
}

TEST_F(D3D9LensFlareTest, WithoutOcclusionQueriesNothingIsDrawn) {
    RendererCapabilities caps = renderer_->GetCapabilities();
    caps.occlusionQueries = false;
    renderer_->OverrideCapabilities(caps);
    lens_->glowColor = {1, 1, 1, 1};
    for (int32_t k = 0; k < LensFlares::kElements; ++k)
        lens_->SetElementTexture(k, new Texture(SolidImage(4, 4, 255, 255, 255), String("white")));
    DrawFrame(false);
    for (UINT x : {2u, UINT(kWidth / 2), UINT(kWidth - 2)})
        EXPECT_TRUE(Near(ReadBackBuffer(x, kHeight / 2), Rgba{0, 0, 0, 255}));
}

}  // namespace
}  // namespace zel
