#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Log.h"
#include "engine/core/Stream.h"
#include "engine/render/Pass.h"
#include "engine/render/sprite/SpriteEffect.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Points.h"
#include "support/RecordingOutput.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

using test::RecordingRenderer;

struct SpriteEffectDrawing : ::testing::Test {
    SpriteEffectDrawing() {
        camera->Update(0, false);
        renderer->SetCamera(camera);
        node->SetVertices(Named(new Vector3Buffer(2, nullptr), "positions"));
        node->SetPointSizes(Named(new FloatBuffer(2, nullptr), "sizes"));
        node->SetColors(Named(new ColorBuffer(2, nullptr), "colours"));
        node->SetTexCoords(0, Named(new Vector2Buffer(2, nullptr), "coordinates"));
        node->SetEffect(effect);
    }

    template <class B>
    static B* Named(B* buffer, const char* name) {
        buffer->SetName(String(name));
        return buffer;
    }

    RenderStateBlock& Block() { return *effect->GetPass(0)->GetRenderStateBlock(); }

    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<Camera> camera = new Camera(String("camera"));
    Pointer<Points> node = new Points(String("sprites"));
    Pointer<SpriteEffect> effect = new SpriteEffect();
};

TEST_F(SpriteEffectDrawing, NeedsOneTextureStage) {
    renderer->SetFixedFunction(0, 0);
    EXPECT_EQ(effect->GetPassCount(*renderer), 0);
    Pointer<SpriteEffect> other = new SpriteEffect();
    renderer->SetFixedFunction(1, 0);
    EXPECT_EQ(other->GetPassCount(*renderer), 1);
}

TEST_F(SpriteEffectDrawing, PassTurnsPointSpritesOnAndBlendedDepthWritesOff) {
    ASSERT_EQ(effect->GetPassCount(*renderer), 1);
    EXPECT_TRUE(Block().pointSprites);
    EXPECT_TRUE(Block().depthWrite);
    effect->blendEnable = true;
    effect->RefreshPasses();
    EXPECT_TRUE(Block().blendEnable);
    EXPECT_FALSE(Block().depthWrite);
    EXPECT_TRUE(effect->GetPass(0)->GetBinding().IsDirty());
    effect->blendEnable = false;
    effect->RefreshPasses();
    EXPECT_TRUE(Block().depthWrite);
}

TEST_F(SpriteEffectDrawing, DrawBindsStreamsTextureAndWorldSpaceMatrices) {
    Pointer<Texture> texture = new Texture(nullptr, String("glow"));
    effect->SetTexture(texture);
    node->SetLocal(Transform::Make({2, 2, 2}, Quaternion(), {5, 5, 5}));
    node->Update(0, false);
    node->Draw(*renderer);
    const std::vector<std::string> expected = {
        "BeginPass()",           "SetVertexShader(null)",     "SetPixelShader(null)",
        "SetPositionBuffer(positions)", "SetPointSizeBuffer(sizes)", "SetColorBuffer(colours)",
        "SetTexCoordBuffer(coordinates, 0)", "SetTexture(glow, 0)", "SetProjectionMatrix()",
        "SetViewMatrix()",       "SetWorldMatrix()",          "DrawIndexed(sprites)"};
    EXPECT_EQ(renderer->calls, expected);
    Matrix4 world, view, projection;
    renderer->GetWorldMatrix(world);
    renderer->GetViewMatrix(view);
    renderer->GetProjectionMatrix(projection);
    EXPECT_EQ(world, Matrix4::Identity());  // the node's transform is not used
    EXPECT_EQ(view, camera->GetView());
    EXPECT_EQ(projection, camera->GetProjection());
}

TEST_F(SpriteEffectDrawing, MissingStreamsAreNotBound) {
    node->SetPointSizes(nullptr);
    node->Draw(*renderer);
    EXPECT_EQ(renderer->Count("SetPointSizeBuffer"), 0);
    EXPECT_EQ(renderer->Count("SetTexture(null, 0)"), 1);
}

TEST_F(SpriteEffectDrawing, WithoutCameraNothingIsDrawn) {
    renderer->SetCamera(nullptr);
    node->Draw(*renderer);
    EXPECT_EQ(renderer->Count("BeginPass"), 1);
    EXPECT_EQ(renderer->Count("DrawIndexed"), 0);
}

TEST(SpriteEffect, RoundTripKeepsTheTextureAndMaterial) {
    Pointer<SpriteEffect> effect = new SpriteEffect();
    effect->SetTexture(new Texture(nullptr, String("smoke")));
    effect->blendEnable = true;
    effect->destinationFactor = RenderStateBlock::kOne;
    Stream stream(0, 256);
    ASSERT_EQ(stream.WriteLink(effect), 0);
    stream.Rewind();
    Pointer<SpriteEffect> loaded;
    ASSERT_EQ(stream.ReadLinkAs(loaded), 0);
    ASSERT_NE(loaded->GetTexture(), nullptr);
    EXPECT_EQ(std::string(loaded->GetTexture()->GetName().CStr()), "smoke");
    EXPECT_TRUE(loaded->blendEnable);
    EXPECT_EQ(loaded->destinationFactor, RenderStateBlock::kOne);
    EXPECT_EQ(loaded->FindByName(String("smoke")), loaded->GetTexture());
}

TEST(SpriteEffect, MissingTextureLinkIsReported) {
    Pointer<SpriteEffect> effect = new SpriteEffect();
    effect->SetName(String("fx"));
    Stream stream(0, 256);
    ASSERT_EQ(effect->Save(stream), 0);
    Stream cut(stream.GetPosition() - 1, 1);
    cut.Write(stream.GetBuffer(), stream.GetPosition() - 1);
    cut.Rewind();
    test::LogCapture capture;
    Pointer<SpriteEffect> loaded = new SpriteEffect();
    EXPECT_EQ(loaded->Load(cut), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить текстуру. ID["));
    EXPECT_TRUE(capture->Contains(kLogError, "Имя[fx]"));
}

}  // namespace
}  // namespace zel
