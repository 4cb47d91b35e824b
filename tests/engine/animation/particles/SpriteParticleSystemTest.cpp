#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ParticleTestSupport.h"
#include "engine/animation/particles/SpriteParticleSystem.h"
#include "engine/render/sprite/SpriteEffect.h"
#include "engine/scene/Camera.h"
#include "support/AnimationTestSupport.h"
#include "support/MathExpect.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

using test::Near;
using test::Particles;

// A sprite system with a named texture, whose particles rest where they
// are born, made while `renderer` is current.
Pointer<SpriteParticleSystem> MakeSprites(int32_t maximum, int32_t perBurst = 3) {
    Pointer<SpriteParticleSystem> system = new SpriteParticleSystem(String("sprites"));
    system->particlesPerBurst = perBurst;
    system->speed = 0.0f;
    system->lifetime = 10.0f;
    system->SetMaxParticles(maximum);
    return system;
}

// A current recording renderer with a camera at the origin.
struct SpriteSystem : ::testing::Test {
    SpriteSystem() {
        SetCurrentRenderer(renderer);
        camera->Update(0, false);
        renderer->SetCamera(camera);
    }
    ~SpriteSystem() override { SetCurrentRenderer(nullptr); }

    Pointer<test::RecordingRenderer> renderer = new test::RecordingRenderer();
    Pointer<Camera> camera = new Camera(String("camera"));
};

// --- Buffers --------------------------------------------------------------

TEST_F(SpriteSystem, MaximumZeroHasNoBuffersAndDrawsNothing) {
    Pointer<SpriteParticleSystem> system = MakeSprites(0);
    system->Update(1.0, false);
    EXPECT_EQ(system->GetVertices(), nullptr);
    EXPECT_EQ(system->GetColors(), nullptr);
    EXPECT_EQ(system->GetTexCoords(0), nullptr);
    EXPECT_EQ(system->GetPrimitiveCount(), 0);
    system->Draw(*renderer);
    EXPECT_TRUE(renderer->calls.empty());
}

TEST_F(SpriteSystem, PointSpritesGetOneElementPerParticle) {
    Pointer<SpriteParticleSystem> system = MakeSprites(5);
    ASSERT_TRUE(system->UsesPointSprites());
    EXPECT_EQ(system->GetPrimitiveType(), GeometryNode::kPoints);
    EXPECT_EQ(system->GetPositions3()->GetCount(), 5);
    EXPECT_EQ(system->GetTexCoords(0)->GetCount(), 5);
    EXPECT_EQ(system->GetPointSizes()->GetCount(), 5);
    EXPECT_EQ(system->GetColors()->GetCount(), 5);
}

TEST_F(SpriteSystem, WithoutPointSpritesSixVerticesPerParticle) {
    renderer->Capabilities().pointSprites = false;
    Pointer<SpriteParticleSystem> system = MakeSprites(4);
    ASSERT_FALSE(system->UsesPointSprites());
    EXPECT_EQ(system->GetPrimitiveType(), GeometryNode::kTriangleList);
    EXPECT_EQ(system->GetPositions3()->GetCount(), 24);
    EXPECT_EQ(system->GetColors()->GetCount(), 24);
    EXPECT_EQ(system->GetPointSizes(), nullptr);
    auto* coordinates = CastTo<Vector2Buffer>(system->GetTexCoords(0));
    ASSERT_NE(coordinates, nullptr);
    ASSERT_EQ(coordinates->GetCount(), 24);
    const Vector2 pattern[6] = {{0, 1}, {0, 0}, {1, 1}, {0, 0}, {1, 0}, {1, 1}};
    for (int32_t i = 0; i < 24; ++i) EXPECT_EQ((*coordinates)[i], pattern[i % 6]) << i;
    EXPECT_TRUE(coordinates->GetBinding().IsDirty());
}

TEST(SpriteParticleSystem, WithoutRendererTheSixVertexLayoutIsUsed) {
    SetCurrentRenderer(nullptr);
    Pointer<SpriteParticleSystem> system = MakeSprites(2);
    EXPECT_FALSE(system->UsesPointSprites());
    EXPECT_EQ(system->GetPositions3()->GetCount(), 12);
}

TEST_F(SpriteSystem, ConstructionInstallsASpriteEffect) {
    Pointer<SpriteParticleSystem> system = MakeSprites(1);
    ASSERT_NE(CastTo<SpriteEffect>(system->GetEffect()), nullptr);
    EXPECT_EQ(system->GetEffect()->GetOwnerNode(), system.Get());
}

// --- Writing the particles ------------------------------------------------

TEST_F(SpriteSystem, PointSpritesCarryPositionColourAndSizeInListOrder) {
    Pointer<SpriteParticleSystem> system = MakeSprites(8);
    system->startSize = 2.0f;
    system->endSize = 2.0f;
    system->startColor = {0.25f, 0.5f, 0.75f, 1.0f};
    system->endColor = system->startColor;
    system->SetLocal(Transform::Make({1, 1, 1}, Quaternion(), {1, 2, 3}));
    system->Update(0.5, false);
    system->GetPositions3()->GetBinding().SetDirty(false);
    system->Update(0.75, false);  // a second burst, at the same place
    ASSERT_EQ(system->GetActiveCount(), 6);
    EXPECT_EQ(system->GetPrimitiveCount(), 6);
    int32_t i = 0;
    for (const ParticleSystem::Particle* p : Particles(*system)) {
        EXPECT_EQ((*system->GetPositions3())[i], p->position);
        EXPECT_EQ((*system->GetColors())[i], p->color);
        EXPECT_EQ((*system->GetPointSizes())[i], p->size);
        ++i;
    }
    EXPECT_TRUE(system->GetPositions3()->GetBinding().IsDirty());
}

TEST_F(SpriteSystem, SquaresFaceTheCameraWithCornersAtHalfTheSize) {
    renderer->Capabilities().pointSprites = false;
    camera->SetLocal(Transform::Make({1, 1, 1}, Quaternion::FromAxisAngle({0, 1, 0}, 0.7f), {0, 0, -10}));
    camera->Update(0, false);
    Pointer<SpriteParticleSystem> system = MakeSprites(3, 1);
    system->SetLocal(Transform::Make({1, 1, 1}, Quaternion(), {4, 5, 6}));
    system->startSize = 2.0f;
    system->endSize = 2.0f;
    system->Update(0.5, false);
    ASSERT_EQ(system->GetPrimitiveCount(), 2);
    const Vector3 p{4, 5, 6};
    const Vector3 a = Normalize(camera->GetRight() + camera->GetUp()) * 0.5f * 2.0f;
    const Vector3 b = Normalize(camera->GetUp() - camera->GetRight()) * 0.5f * 2.0f;
    const Vector3 expected[6] = {p - a, p + b, p - b, p + b, p + a, p - b};
    for (int32_t k = 0; k < 6; ++k) {
        const Vector3 v = (*system->GetPositions3())[k];
        EXPECT_TRUE(Near(v, expected[k])) << k;
        EXPECT_NEAR(Length(v - p), 1.0f, 1e-5f);                   // half the size
        EXPECT_NEAR(Dot(v - p, camera->GetDirection()), 0.0f, 1e-5f);  // in the view plane
        EXPECT_EQ((*system->GetColors())[k], system->GetFirstParticle()->color);
    }
}

TEST_F(SpriteSystem, SquaresNeedACamera) {
    renderer->Capabilities().pointSprites = false;
    Pointer<SpriteParticleSystem> system = MakeSprites(3);
    renderer->SetCamera(nullptr);
    system->Update(0.5, false);
    EXPECT_EQ(system->GetActiveCount(), 3);
    EXPECT_EQ(system->GetPrimitiveCount(), 0);
}

// --- Drawing --------------------------------------------------------------

TEST_F(SpriteSystem, DrawsThroughTheSpriteEffectWithoutIndices) {
    Pointer<SpriteParticleSystem> system = MakeSprites(8);
    Pointer<Texture> texture = new Texture(nullptr, String("spark"));
    static_cast<SpriteEffect*>(system->GetEffect())->SetTexture(texture);
    system->GetVertices()->SetName(String("positions"));
    system->GetPointSizes()->SetName(String("sizes"));
    system->GetColors()->SetName(String("colours"));
    system->GetTexCoords(0)->SetName(String("coordinates"));
    system->Update(0.5, false);
    renderer->ClearCalls();
    system->DrawVisible(*renderer);
    const std::vector<std::string> expected = {
        "BeginPass()",          "SetVertexShader(null)",     "SetPixelShader(null)",
        "SetPositionBuffer(positions)", "SetPointSizeBuffer(sizes)", "SetColorBuffer(colours)",
        "SetTexCoordBuffer(coordinates, 0)", "SetTexture(spark, 0)", "SetProjectionMatrix()",
        "SetViewMatrix()",          "SetWorldMatrix()",          "DrawUnindexed(3)"};
    EXPECT_EQ(renderer->calls, expected);
}

TEST_F(SpriteSystem, BlendedSpritesAreDrawnWithTheDeferredNodes) {
    Pointer<SpriteParticleSystem> system = MakeSprites(8);
    system->GetEffect()->blendEnable = true;
    system->Update(0.5, false);
    renderer->ClearCalls();
    system->Draw(*renderer);
    EXPECT_EQ(renderer->Count("DrawUnindexed"), 0);
    EXPECT_EQ(renderer->GetDeferredCount(), 1);
    renderer->FlushDeferred();
    EXPECT_EQ(renderer->Count("DrawUnindexed(3)"), 1);
}

TEST_F(SpriteSystem, NoTextureStageNoDrawing) {
    renderer->SetFixedFunction(0, 0);
    Pointer<SpriteParticleSystem> system = MakeSprites(8);
    system->Update(0.5, false);
    renderer->ClearCalls();
    system->Draw(*renderer);
    EXPECT_EQ(renderer->Count("DrawUnindexed"), 0);
}

// --- Streaming ------------------------------------------------------------

TEST_F(SpriteSystem, SaveLeavesTheBuffersOutAndLoadRebuildsThem) {
    Pointer<SpriteParticleSystem> system = MakeSprites(6);
    system->Update(0.5, false);
    Buffer* positions = system->GetVertices();
    Stream stream(0, 1024);
    ASSERT_EQ(stream.WriteLink(system), 0);
    EXPECT_FALSE(test::StreamNamesType(stream, "Zel.Vector3Buffer"));
    EXPECT_FALSE(test::StreamNamesType(stream, "Zel.ColorBuffer"));
    EXPECT_TRUE(test::StreamNamesType(stream, "Zel.SpriteEffect"));
    // The saved system keeps its own buffers.
    EXPECT_EQ(system->GetVertices(), positions);
    EXPECT_NE(system->GetPointSizes(), nullptr);
    EXPECT_NE(system->GetTexCoords(0), nullptr);

    stream.Rewind();
    Pointer<SpriteParticleSystem> loaded;
    ASSERT_EQ(stream.ReadLinkAs(loaded), 0);
    ASSERT_NE(loaded->GetPositions3(), nullptr);
    EXPECT_EQ(loaded->GetPositions3()->GetCount(), 6);
    EXPECT_NE(CastTo<SpriteEffect>(loaded->GetEffect()), nullptr);
    EXPECT_EQ(loaded->GetEffect()->GetOwnerNode(), loaded.Get());
    loaded->Update(0.5, false);
    EXPECT_EQ(loaded->GetPrimitiveCount(), 3);
}

TEST_F(SpriteSystem, TruncatedStreamsFail) {
    Pointer<SpriteParticleSystem> system = MakeSprites(6);
    test::ExpectEveryTruncationFails(system);
}

}  // namespace
}  // namespace zel
