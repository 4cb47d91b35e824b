// Flares and lens flares: the two forms of a flare, the camera-facing quad,
// the element chain in clip space, the alpha from the occlusion count, the
// draw without queries, loading of negative sizes and the streamed fields.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/Stream.h"
#include "engine/render/sprite/FacingQuad.h"
#include "engine/render/sprite/Flare.h"
#include "engine/render/sprite/LensFlares.h"
#include "engine/render/sprite/SpriteEffect.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "support/CurrentRenderer.h"
#include "support/MathExpect.h"
#include "support/StreamRoundTrip.h"

namespace zel {
namespace {

struct FlareScene : ::testing::Test {
    FlareScene() {
        camera->Update(0.0, false);
        renderer->SetCamera(camera);
    }

    test::RecordingRenderer& R() { return *renderer.operator->(); }

    test::CurrentRenderer renderer;
    Pointer<Camera> camera = new Camera(String("camera"));
};

TEST_F(FlareScene, PointSpriteFormHoldsOneVertexOfTheFlaresColourAndSize) {
    renderer->Capabilities().pointSprites = true;
    Pointer<Flare> flare = new Flare();
    flare->GetLocal().translation = {1.0f, 2.0f, 3.0f};
    flare->flareColor = {0.5f, 0.25f, 1.0f, 1.0f};
    flare->flareSize = 0.2f;
    flare->Update(0.0, false);
    ASSERT_TRUE(flare->IsPointSprite());
    EXPECT_EQ(flare->GetPrimitiveType(), GeometryNode::kPoints);
    EXPECT_TRUE(test::Near((*flare->GetPositions3())[0], {1.0f, 2.0f, 3.0f}));
    EXPECT_EQ((*flare->GetColors())[0], flare->flareColor);
    EXPECT_EQ((*flare->GetPointSizes())[0], 0.2f);
}

TEST_F(FlareScene, WithoutPointSpritesAOnePointFlareBecomesAQuadOnItsFirstUpdate) {
    renderer->Capabilities().pointSprites = true;
    Pointer<Flare> flare = new Flare();
    ASSERT_EQ(flare->GetVertices()->GetCount(), 1);
    renderer->Capabilities().pointSprites = false;
    flare->Update(0.0, false);
    EXPECT_FALSE(flare->IsPointSprite());
    EXPECT_EQ(flare->GetPrimitiveType(), GeometryNode::kTriangleList);
    EXPECT_EQ(flare->GetVertices()->GetCount(), 6);
    EXPECT_EQ(flare->GetColors()->GetCount(), 6);
}

TEST_F(FlareScene, QuadCornersLieHalfTheSizeFromTheCentreFacingTheCamera) {
    renderer->Capabilities().pointSprites = false;
    Pointer<Flare> flare = new Flare();
    flare->GetLocal().translation = {0.0f, 1.0f, 5.0f};
    flare->flareSize = 2.0f;
    flare->Update(0.0, false);
    const Vector3Buffer& positions = *flare->GetPositions3();
    for (int32_t i = 0; i < 6; ++i) {
        const Vector3 offset = positions[i] - Vector3{0.0f, 1.0f, 5.0f};
        EXPECT_NEAR(Length(offset), 1.0f, 1e-5f);
        // In the camera's plane.
        EXPECT_NEAR(Dot(offset, camera->GetDirection()), 0.0f, 1e-5f);
    }
    const Vector2Buffer& uv = *CastTo<Vector2Buffer>(flare->GetTexCoords(0));
    EXPECT_EQ(uv[0], (Vector2{0.0f, 1.0f}));
    EXPECT_EQ(uv[4], (Vector2{1.0f, 0.0f}));
}

TEST_F(FlareScene, DrawsOnePointOrTwoTrianglesPerPass) {
    for (bool sprites : {true, false}) {
        renderer->Capabilities().pointSprites = sprites;
        Pointer<Flare> flare = new Flare();
        flare->Update(0.0, false);
        renderer->ClearCalls();
        flare->Draw(R());
        EXPECT_EQ(renderer->Filter({"DrawUnindexed"}),
                  std::vector<std::string>{sprites ? "DrawUnindexed(1)" : "DrawUnindexed(2)"});
    }
}

TEST(Flare, NegativeSizeLoadsAsZeroAndTheBoundFollowsTheSize) {
    Pointer<Flare> flare = new Flare();
    flare->flareSize = -3.0f;
    flare->flareColor = {0.1f, 0.2f, 0.3f, 0.4f};
    Pointer<Flare> read = test::RoundTrip(flare.Get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->flareSize, 0.0f);
    EXPECT_EQ(read->flareColor, flare->flareColor);

    flare->flareSize = 0.01f;
    read = test::RoundTrip(flare.Get());
    ASSERT_NE(read, nullptr);
    read->ComputeModelBound();
    EXPECT_NEAR(CastTo<SphereBoundingVolume>(read->GetModelBound())->GetRadius(), 50.0f, 1e-3f);
}

TEST(LensFlares, ElementsOfALightAtTheCentreAllSitAtTheCentre) {
    for (int32_t k = 0; k < LensFlares::kElements; ++k)
        EXPECT_TRUE(test::Near(LensFlares::ElementCenter({0.0f, 0.0f, 0.7f}, k), {0.0f, 0.0f, 0.0f}));
    // Elsewhere the chain runs through the centre: the last element mirrors the light.
    EXPECT_TRUE(test::Near(LensFlares::ElementCenter({0.4f, -0.2f, 0.9f}, 7), {-0.4f, 0.2f, 0.0f}));
    EXPECT_TRUE(test::Near(LensFlares::ElementCenter({0.4f, -0.2f, 0.9f}, 0), {0.52f, -0.26f, 0.0f}));
}

TEST(LensFlares, VisibilityIsTheCountOverTheArea) {
    EXPECT_EQ(LensFlares::Visibility(0, 400.0f), 0.0f);
    EXPECT_EQ(LensFlares::Visibility(400, 400.0f), 1.0f);
    EXPECT_EQ(LensFlares::Visibility(100, 400.0f), 0.25f);
    EXPECT_EQ(LensFlares::Visibility(100, 0.0f), 0.0f);
}

struct LensFlareScene : FlareScene {
    LensFlareScene() {
        lens->GetLocal().translation = {0.0f, 0.0f, 10.0f};
        lens->glowSize = 2.0f;
        lens->Update(0.0, false);
        for (int32_t k = 0; k < LensFlares::kElements; ++k) {
            Texture* texture = new Texture(nullptr, String(("element " + std::to_string(k)).c_str()));
            lens->SetElementTexture(k, texture);
        }
    }

    Pointer<LensFlares> lens = new LensFlares();
};

TEST_F(LensFlareScene, GlowIsMeasuredThenTheEightElementsAreDrawn) {
    renderer->ClearCalls();
    lens->DrawDeferred(R());
    // The glow with the effect's own texture (none here).
    std::vector<std::string> expected = {"BeginOcclusionQuery()", "SetTexture(null, 0)", "DrawUnindexed(2)",
                                         "EndOcclusionQuery()"};
    for (int32_t k = 0; k < LensFlares::kElements; ++k) {
        expected.push_back("SetTexture(element " + std::to_string(k) + ", 0)");
        expected.push_back("DrawUnindexed(2)");
    }
    EXPECT_EQ(renderer->Filter({"BeginOcclusionQuery", "EndOcclusionQuery", "DrawUnindexed", "SetTexture"}),
              expected);
}

TEST_F(LensFlareScene, AlphaFollowsTheVisiblePixels) {
    lens->DrawDeferred(R());
    const float hidden = lens->glowColor.a;
    EXPECT_EQ(hidden, 0.0f);
    renderer->visiblePixels = 1000000;
    lens->DrawDeferred(R());
    const float bright = lens->glowColor.a;
    renderer->visiblePixels = 500000;
    lens->DrawDeferred(R());
    EXPECT_NEAR(lens->glowColor.a, bright / 2.0f, 1e-4f);
    // The element colours carry the measured alpha.
    EXPECT_EQ((*lens->GetColors())[0].a, lens->glowColor.a);
}

// Each pass of a frame (a reflection, then the screen) counts in a query of
// its own, so one pass's visibility never stands for another's; the next
// frame uses them again in the same order.
TEST_F(LensFlareScene, EachPassOfAFrameHasItsOwnQuery) {
    const int32_t counts[] = {111, 222, 333, 444, 555};
    for (const int32_t frame : {0, 1}) {
        ASSERT_EQ(R().BeginFrame(), 0);
        for (const int32_t count : counts) {
            renderer->visiblePixels = count + frame;
            lens->DrawDeferred(R());
        }
        R().EndFrame();
        for (int32_t use = 0; use < LensFlares::kQueries - 1; ++use)
            EXPECT_EQ(lens->GetQuery(use)->GetVisiblePixels(), counts[use] + frame) << "frame " << frame;
        // Passes beyond the last query share it.
        EXPECT_EQ(lens->GetQuery(LensFlares::kQueries - 1)->GetVisiblePixels(), counts[4] + frame);
    }
}

TEST_F(LensFlareScene, CameraMatricesComeBackAfterTheClipSpaceElements) {
    const Matrix4 view = camera->GetView(), projection = camera->GetProjection();
    lens->DrawDeferred(R());
    EXPECT_TRUE(test::NearMatrix(camera->GetView(), view));
    EXPECT_TRUE(test::NearMatrix(camera->GetProjection(), projection));
}

TEST_F(LensFlareScene, WithoutOcclusionQueriesNothingIsDrawn) {
    renderer->Capabilities().occlusionQueries = false;
    renderer->ClearCalls();
    lens->DrawDeferred(R());
    lens->Draw(R());
    renderer->FlushDeferred();
    EXPECT_EQ(renderer->Count("DrawUnindexed"), 0);
    EXPECT_EQ(renderer->Count("BeginOcclusionQuery"), 0);
}

TEST_F(LensFlareScene, DrawJoinsTheDeferredList) {
    renderer->ClearCalls();
    lens->Draw(R());
    EXPECT_EQ(renderer->Count("DrawUnindexed"), 0);
    EXPECT_EQ(renderer->GetDeferredCount(), 1);
    renderer->FlushDeferred();
    EXPECT_EQ(renderer->Count("DrawUnindexed(2)"), 9);
}

TEST(LensFlares, RoundTripKeepsTheFieldsAndNegativeGlowSizesLoadAsZero) {
    Pointer<LensFlares> lens = new LensFlares();
    lens->glowSize = -1.0f;
    lens->glowColor = {0.2f, 0.3f, 0.4f, 0.5f};
    lens->elementScale = 1.5f;
    lens->SetElementTexture(3, new Texture(nullptr, String("ring")));
    Pointer<LensFlares> read = test::RoundTrip(lens.Get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->glowSize, 0.0f);
    EXPECT_EQ(read->glowColor, lens->glowColor);
    EXPECT_EQ(read->elementScale, 1.5f);
    ASSERT_NE(read->GetElementTexture(3), nullptr);
    EXPECT_EQ(read->FindByName(String("ring")), read->GetElementTexture(3));
    EXPECT_EQ(read->GetElementTexture(2), nullptr);
}

}  // namespace
}  // namespace zel
