// Effects on Wine's device, read back from the frame: the film frame
// letterboxes, the bloom brightens the surroundings of a bright square and
// leaves a black screen black; a lens flare's alpha follows how much of its
// glow the scene hides; a square held above a plane in light from above
// darkens the plane beneath it.
#include "PassTestScene.h"

#include "support/StreamRoundTrip.h"

#include "engine/core/Log.h"
#include "engine/render/material/ColorEffect.h"
#include "engine/render/post/Bloom5PostRenderEffect.h"
#include "engine/render/shadow/RenderShadowmapEffectController.h"
#include "engine/render/shadow/ShadowmapEffect.h"
#include "engine/render/sprite/Flare.h"
#include "engine/render/sprite/LensFlares.h"
#include "engine/render/sprite/SpriteEffect.h"
#include "engine/render/water/RenderScreenspaceReflectTextureController.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/Triangles.h"

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

class D3D9EffectsTest : public ClipSpaceTest {
protected:
    void SetUp() override {
        ClipSpaceTest::SetUp();
        if (IsSkipped()) return;
        UseVertexColour(*pass_->GetRenderStateBlock());
    }

    // A frame cleared to `clear` with `quad` drawn under `effect`; the scene
    // stays open so the back buffer can be read.
    void DrawUnder(SceneNodeEffect* effect, GeometryNode* quad, const ColorRGBA& clear) {
        Pointer<SceneNode> root = new SceneNode(String("root"), 1, 1);
        if (effect != nullptr) {
            EXPECT_EQ(root->AddEffect(effect), kOk);
        }
        if (quad != nullptr) root->AppendChild(new PassNode(pass_, quad));
        ASSERT_EQ(renderer_->BeginScene(), 0);
        renderer_->Clear(Renderer::kClearColor | Renderer::kClearDepth, clear, 1.0f, 0);
        root->Draw(*renderer_);
    }

    // The brightest of the three colour channels.
    static int Brightness(Rgba pixel) { return std::max(pixel.r, std::max(pixel.g, pixel.b)); }
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
        ASSERT_EQ(renderer_->BeginFrame(), 0);
        renderer_->Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0, 0, 0, 1}, 1.0f, 0);
        if (hidden) {
            renderer_->SetWorldMatrix(Matrix4::Identity());
            renderer_->SetViewMatrix(Matrix4::Identity());
            renderer_->SetProjectionMatrix(Matrix4::Identity());
            const ColorRGBA grey{0.5f, 0.5f, 0.5f, 1};
            PassNode(pass_, Quad(-1, -1, 1, 1, 0.1f, grey, grey)).Draw(*renderer_);
        }
        lens_->Draw(*renderer_);
        renderer_->EndFrame();
    }

    // Frames until the glow's alpha meets `done`: the count comes a frame or
    // more late, when the rasterizer has it. False when it never does.
    template <typename Done>
    bool DrawUntil(bool hidden, Done done) {
        for (int frame = 0; frame < 200; ++frame) {
            DrawFrame(hidden);
            if (done(lens_->glowColor.a)) return true;
            Sleep(5);
        }
        return false;
    }

    Pointer<Camera> camera_;
    Pointer<LensFlares> lens_;
};

// Wine's device has no large point sprites, so a flare is a quad facing the
// camera, its texture spread over it: white where it stands, the clear
// colour beside it. Also for a flare a content tool made without a renderer
// and the screensaver loaded from its scene file.
TEST_F(D3D9LensFlareTest, AFlareGlowsWhereItStands) {
    for (const bool loaded : {false, true}) {
        if (loaded) SetCurrentRenderer(nullptr);
        Pointer<Flare> flare = new Flare();
        flare->GetLocal().translation = {0.0f, 0.0f, 10.0f};
        flare->flareSize = 1.0f;
        flare->flareColor = {1, 1, 1, 1};
        auto* effect = CastTo<SpriteEffect>(flare->GetEffect());
        ASSERT_NE(effect, nullptr);
        // Opaque white in the middle, clear at the rim: the texture
        // coordinates must span the quad for its centre to light up.
        Image* spot = new Image(String("spot"), Image::kFormatRGBA, 4, 4);
        for (int32_t i = 0; i < 16; ++i) {
            const bool middle = (i % 4 == 1 || i % 4 == 2) && (i / 4 == 1 || i / 4 == 2);
            for (int32_t c = 0; c < 4; ++c) spot->GetData()[i * 4 + c] = middle || c < 3 ? 255 : 0;
        }
        effect->blendEnable = true;
        effect->destinationFactor = RenderStateBlock::kOne;
        if (loaded) {
            flare = RoundTrip(flare.Get());
            ASSERT_NE(flare, nullptr);
            SetCurrentRenderer(renderer_);
        }
        // Pictures without a file keep no pixels in a stream: set after it.
        CastTo<SpriteEffect>(flare->GetEffect())->SetTexture(new Texture(spot, String("spot")));
        for (int frame = 0; frame < 3; ++frame) {
            flare->Update(0.1, false);
            if (frame > 0) renderer_->EndScene();
            ASSERT_EQ(renderer_->BeginScene(), 0);
            renderer_->Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0, 0, 0, 1}, 1.0f, 0);
            flare->Draw(*renderer_);
            renderer_->FlushDeferred();
        }
        EXPECT_GT(Brightness(ReadBackBuffer(kWidth / 2, kHeight / 2)), 200) << (loaded ? "loaded" : "made");
        EXPECT_LT(Brightness(ReadBackBuffer(4, 4)), 10) << (loaded ? "loaded" : "made");
        renderer_->EndScene();
    }
}

TEST_F(D3D9LensFlareTest, AFullyVisibleGlowGivesAlphaNearOne) {
    EXPECT_TRUE(DrawUntil(false, [](float alpha) { return alpha != 0.0f; }));
    EXPECT_GT(lens_->glowColor.a, 0.8f);
    EXPECT_LT(lens_->glowColor.a, 1.25f);
}

TEST_F(D3D9LensFlareTest, AGlowThatBecomesHiddenFadesToAlphaZero) {
    ASSERT_TRUE(DrawUntil(false, [](float alpha) { return alpha > 0.8f; }));
    EXPECT_TRUE(DrawUntil(true, [](float alpha) { return alpha == 0.0f; }));
}

TEST_F(D3D9LensFlareTest, WithoutOcclusionQueriesNothingIsDrawn) {
    RendererCapabilities caps = renderer_->GetCapabilities();
    caps.occlusionQueries = false;
    renderer_->OverrideCapabilities(caps);
    lens_->glowColor = {1, 1, 1, 1};
    for (int32_t k = 0; k < LensFlares::kElements; ++k)
        lens_->SetElementTexture(k, new Texture(SolidImage(4, 4, 255, 255, 255), String("white")));
    // Not presented: the back buffer is read.
    ASSERT_EQ(renderer_->BeginScene(), 0);
    renderer_->Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0, 0, 0, 1}, 1.0f, 0);
    lens_->Draw(*renderer_);
    renderer_->FlushDeferred();
    for (UINT x : {2u, UINT(kWidth / 2), UINT(kWidth - 2)})
        EXPECT_TRUE(Near(ReadBackBuffer(x, kHeight / 2), Rgba{0, 0, 0, 255}));
}

// On the point-sprite path (which Wine's device never takes by itself) a
// flare 200 pixels across, on a device whose point-size clamp was left at
// the 64 a fresh device on Windows has: the renderer raises the clamp to the
// device's largest point, so the sprite spans the 128-pixel frame.
TEST_F(D3D9LensFlareTest, APointSpriteFlareKeepsItsSizeOverTheDevicesClamp) {
    RendererCapabilities caps = renderer_->GetCapabilities();
    caps.pointSprites = true;
    renderer_->OverrideCapabilities(caps);
    device_->SetRenderState(D3DRS_POINTSIZE_MAX, std::bit_cast<DWORD>(64.0f));
    Pointer<Flare> flare = new Flare();
    ASSERT_EQ(flare->GetPrimitiveType(), GeometryNode::kPoints);
    const float distance = 10.0f;
    flare->GetLocal().translation = {0.0f, 0.0f, distance};
    // A point sprite's pixel size is the viewport height × size / distance.
    flare->flareSize = 200.0f * distance / kHeight;
    flare->flareColor = {1, 1, 1, 1};
    auto* effect = CastTo<SpriteEffect>(flare->GetEffect());
    ASSERT_NE(effect, nullptr);
    effect->SetTexture(new Texture(SolidImage(4, 4, 255, 255, 255), String("white")));
    effect->blendEnable = true;
    effect->destinationFactor = RenderStateBlock::kOne;
    flare->Update(0.1, false);
    ASSERT_EQ(renderer_->BeginScene(), 0);
    renderer_->Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0, 0, 0, 1}, 1.0f, 0);
    flare->Draw(*renderer_);
    renderer_->FlushDeferred();
    int lit = 0;
    for (UINT x = 0; x < UINT(kWidth); ++x) lit += Brightness(ReadBackBuffer(x, kHeight / 2)) > 128;
    EXPECT_GT(lit, 120);
}

// A white (or `color`) square of half-width `half` at height `y`, drawn in
// a flat colour.
Pointer<Triangles> Square(float half, float y, const ColorRGBA& color = {1, 1, 1, 1}) {
    Pointer<Triangles> node = new Triangles();
    auto* positions = new Vector3Buffer(4, nullptr);
    (*positions)[0] = Vector3{-half, y, -half};
    (*positions)[1] = Vector3{half, y, -half};
    (*positions)[2] = Vector3{half, y, half};
    (*positions)[3] = Vector3{-half, y, half};
    auto* indices = new IntBuffer(6, nullptr);
    const int32_t order[] = {0, 2, 1, 0, 3, 2};
    for (int32_t i = 0; i < 6; ++i) (*indices)[i] = order[i];
    node->SetVertices(positions);
    node->SetIndices(indices);
    ColorEffect* effect = new ColorEffect();
    effect->SetColor(color);
    effect->cullEnable = false;
    node->SetEffect(effect);
    node->UpdateModel(false, false);
    node->Update(0.0, false);
    return node;
}

// A 10 × 10 plane at y = 0 and a 2 × 2 square at y = 2 above its centre,
// lit straight from above; the camera looks down on them from the side.
class D3D9SceneTest : public D3D9EffectsTest {
protected:
    void SetUp() override {
        D3D9EffectsTest::SetUp();
        if (IsSkipped()) return;
        SetCurrentRenderer(renderer_);
        camera_ = new Camera(String("camera"));
        camera_->GetLocal().translation = {0.0f, 9.0f, -6.0f};
        camera_->LookAlong(Normalize(Vector3{0.0f, -9.0f, 6.0f}));
        camera_->Update(0.0, false);
        renderer_->SetCamera(camera_);
        Pointer<Light> light = new Light(Light::kDirectional, String("sun"));
        light->GetLocal().rotation = Quaternion::LookAlong(Normalize(Vector3{0.0f, -1.0f, 0.001f}));
        light->Update(0.0, false);
        effect_ = new ShadowmapEffect();
        effect_->SetLight(light);
        effect_->SetShadowmap(new Texture(new Image(String("depth"), Image::kFormatNone, 256, 256), String("map")));
        effect_->shadowColor = {0.0f, 0.0f, 0.0f, 0.5f};
        effect_->slopeScaleBias = 2.0f;
        effect_->depthBias = 4.0f;
        controller_ = new RenderShadowmapEffectController();
        effect_->AttachController(controller_);
        root_ = new SceneNode(String("root"), 2, 1);
        EXPECT_EQ(root_->AddEffect(effect_), kOk);
        plane_ = Square(5.0f, 0.0f);
        caster_ = Square(1.0f, 2.0f);
        root_->AppendChild(plane_);
        root_->AppendChild(caster_);
        EXPECT_EQ(effect_->GetNodes().Add(plane_), kOk);
        EXPECT_EQ(effect_->GetNodes().Add(caster_), kOk);
        root_->Update(0.0, false);
    }

    void TearDown() override {
        SetCurrentRenderer(nullptr);
        D3D9EffectsTest::TearDown();
    }

    void DrawShadowedFrame() {
        ASSERT_EQ(renderer_->BeginScene(), 0);
        renderer_->Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0, 0, 1, 1}, 1.0f, 0);
        controller_->Render(*renderer_);
        root_->Draw(*renderer_);
    }

    // The pixel where a world point lands.
    Rgba PixelAt(const Vector3& point) {
        const Vector3 clip = camera_->GetViewProjection().TransformCoord(point);
        const UINT x = static_cast<UINT>((clip.x + 1.0f) * 0.5f * kWidth);
        const UINT y = static_cast<UINT>((1.0f - clip.y) * 0.5f * kHeight);
        return ReadBackBuffer(x, y);
    }

    Pointer<Camera> camera_;
    Pointer<ShadowmapEffect> effect_;
    Pointer<RenderShadowmapEffectController> controller_;
    Pointer<SceneNode> root_;
    Pointer<Triangles> plane_;
    Pointer<Triangles> caster_;
};

// The plane under the square's front edge (seen past the square) and three
// lit points around it.
constexpr Vector3 kShadowed{0.0f, 0.0f, -0.5f};
constexpr Vector3 kLit[] = {{0.0f, 0.0f, -3.5f}, {3.5f, 0.0f, 0.0f}, {-3.5f, 0.0f, 2.0f}};

TEST_F(D3D9SceneTest, ThePlaneIsDarkenedUnderTheSquareOnly) {
    for (bool soft : {false, true}) {
        SCOPED_TRACE(soft ? "soft" : "hard");
        effect_->softShadows = soft;
        DrawShadowedFrame();
        // White half covered by the shadow colour's black at alpha 0.5; the
        // frame's alpha blends the same way: 0.5 · 0.5 + 1 · 0.5.
        EXPECT_TRUE(Near(PixelAt(kShadowed), Rgba{128, 128, 128, 191}, 12));
        for (const Vector3& lit : kLit) EXPECT_TRUE(Near(PixelAt(lit), Rgba{255, 255, 255, 255}, 8));
        EXPECT_TRUE(shownMessages.empty());
        renderer_->GetDevice()->EndScene();
    }
}

TEST_F(D3D9SceneTest, WithoutHardwareShadowMapsNothingIsDarkened) {
    RendererCapabilities caps = renderer_->GetCapabilities();
    caps.hardwareShadowMaps = false;
    renderer_->OverrideCapabilities(caps);
    test::LogCapture log;
    DrawShadowedFrame();
    EXPECT_TRUE(Near(PixelAt(kShadowed), Rgba{255, 255, 255, 255}, 8));
    EXPECT_TRUE(shownMessages.empty());
    for (const LoggedLine& line : log->lines) EXPECT_LT(line.level, kLogError) << line.text;
}

// A red square 2.5 above the water and a green one 1 above it, seen from a
// camera 1.75 above the water and 12 away looking slightly down, both
// mirror images in view.
TEST_F(D3D9SceneTest, ReflectionTextureHoldsTheMirrorImage) {
    Pointer<Texture> reflection =
        new Texture(SolidImage(kWidth, kHeight, 0, 0, 0), String("reflection"));
    Pointer<RenderScreenspaceReflectTextureController> controller = new RenderScreenspaceReflectTextureController();
    reflection->AttachController(controller);
    Pointer<Triangles> red = Square(0.5f, 2.5f, {1, 0, 0, 1});
    Pointer<Triangles> green = Square(0.5f, 1.0f, {0, 1, 0, 1});
    EXPECT_EQ(controller->GetNodes().Add(red), kOk);
    EXPECT_EQ(controller->GetNodes().Add(green), kOk);
    camera_->GetLocal().translation = {0.0f, 1.75f, -12.0f};
    camera_->LookAlong(Normalize(Vector3{0.0f, -0.1f, 1.0f}));
    camera_->Update(0.0, false);
    ASSERT_EQ(renderer_->BeginScene(), 0);
    controller->Render(*renderer_);
    auto* handle = static_cast<IDirect3DTexture9*>(reflection->GetBinding().GetHandle());
    ASSERT_NE(handle, nullptr);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_TRUE(SUCCEEDED(handle->GetSurfaceLevel(0, &surface)));
    // Where the mirrored squares land for the unmirrored camera.
    auto at = [&](const Vector3& point) {
        const Vector3 clip = camera_->GetViewProjection().TransformCoord(point);
        return ReadPixel(surface, static_cast<UINT>((clip.x + 1.0f) * 0.5f * kWidth),
                         static_cast<UINT>((1.0f - clip.y) * 0.5f * kHeight));
    };
    EXPECT_TRUE(Near(at({0.0f, -2.5f, 0.0f}), Rgba{255, 0, 0, 255}, 8));
    EXPECT_TRUE(Near(at({0.0f, -1.0f, 0.0f}), Rgba{0, 255, 0, 255}, 8));
    ReleaseCom(surface);
    EXPECT_FALSE(renderer_->IsMirrored());
}

}  // namespace
}  // namespace zel
