// Material effects drawn through the engine on Wine's device, at the
// device's own shader level, with 1.x programs and without shaders (the
// capabilities overridden before the effect picks its technique), and the
// pixel at the centre of the frame read back.
#include "D3D9TestFixture.h"

#include <functional>

#include "engine/render/material/ColorEffect.h"
#include "engine/render/material/Texture1DLEffect.h"
#include "engine/render/material/TextureEffect.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Light.h"
#include "engine/scene/Triangles.h"

namespace zel {
namespace {

using namespace test;

// A 4 × 4 quad facing the camera 5 units ahead, both windings, with
// normals towards the camera and texture coordinates.
Pointer<Triangles> FacingQuad() {
    Pointer<Triangles> node = new Triangles();
    auto* positions = new Vector3Buffer(4, nullptr);
    auto* normals = new Vector3Buffer(4, nullptr);
    auto* uv = new Vector2Buffer(4, nullptr);
    const Vector2 corners[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int32_t i = 0; i < 4; ++i) {
        (*positions)[i] = Vector3{corners[i].x * 4 - 2, corners[i].y * 4 - 2, 0};
        (*normals)[i] = Vector3{0, 0, -1};
        (*uv)[i] = corners[i];
    }
    auto* indices = new IntBuffer(12, nullptr);
    const int32_t order[] = {0, 1, 2, 0, 2, 3, 0, 2, 1, 0, 3, 2};
    for (int32_t i = 0; i < 12; ++i) (*indices)[i] = order[i];
    node->SetVertices(positions);
    node->SetNormals(normals);
    node->SetTexCoords(0, uv);
    node->SetIndices(indices);
    node->SetLocal(Transform::Make({1, 1, 1}, Quaternion(), {0, 0, 5}));
    node->Update(0, false);
    return node;
}

enum class Level { kDevice, kOne, kNone };

class MaterialPixelTest : public D3D9RendererTest {
protected:
    void ForceLevel(Level level) {
        RendererCapabilities caps = renderer_->GetCapabilities();
        if (level == Level::kOne) caps.vertexShaderLevel = caps.pixelShaderLevel = RendererCapabilities::kShaderLevel1x;
        if (level == Level::kNone)
            caps.vertexShaderLevel = caps.pixelShaderLevel = RendererCapabilities::kShaderLevelNone;
        renderer_->OverrideCapabilities(caps);
    }

    // Draws `effect` on the quad in one frame and reads the centre pixel
    // before the frame is presented.
    Rgba DrawCentre(GeometryNodeEffect* effect) {
        effect->cullEnable = false;
        Pointer<Triangles> quad = FacingQuad();
        quad->SetEffect(effect);
        Pointer<Camera> camera = new Camera(String("camera"));
        camera->Update(0, false);
        renderer_->SetCamera(camera);
        if (renderer_->BeginFrame() != 0) return Rgba{-1, -1, -1, -1};
        renderer_->Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0, 0, 0, 1}, 1.0f, 0);
        quad->Draw(*renderer_);
        const Rgba centre = ReadBackBuffer(kWidth / 2, kHeight / 2);
        renderer_->EndFrame();
        renderer_->SetCamera(nullptr);
        return centre;
    }
};

Texture* GreenTexture() { return new Texture(SolidImage(8, 8, 0, 255, 0)); }

TEST_F(MaterialPixelTest, FlatAndTexturedColoursAtEveryLevel) {
    const struct {
        const char* name;
        std::function<GeometryNodeEffect*()> make;
        Rgba expected;
    } effects[] = {
        {"colour",
         [] {
             auto* effect = new ColorEffect();
             effect->SetColor(ColorRGBA{1, 0, 0, 1});
             return effect;
         },
         Rgba{255, 0, 0, 255}},
        {"texture times colour",
         [] {
             auto* effect = new TextureEffect();
             effect->SetTexture(GreenTexture());
             effect->SetColor(ColorRGBA{0.5f, 1, 1, 1});
             return effect;
         },
         Rgba{0, 255, 0, 255}},
    };
    for (Level level : {Level::kDevice, Level::kOne, Level::kNone}) {
        for (const auto& effect : effects) {
            ForceLevel(level);
            SCOPED_TRACE(std::string(effect.name) + " at level " + std::to_string(int(level)));
            EXPECT_TRUE(Near(DrawCentre(effect.make()), effect.expected, 3));
        }
    }
}

// A light shining into the quad's face lights it; one shining from behind
// leaves the ambient term only.
TEST_F(MaterialPixelTest, LitTextureFollowsTheLight) {
    for (Level level : {Level::kDevice, Level::kOne, Level::kNone}) {
        SCOPED_TRACE(int(level));
        int green[2] = {};
        for (int side = 0; side < 2; ++side) {
            ForceLevel(level);
            Pointer<Light> light = new Light(Light::kDirectional);
            // The light's direction axis is its rotation's third column.
            light->SetLocal(Transform::Make({1, 1, 1}, Quaternion::LookAlong({0, 0, side == 0 ? 1.0f : -1.0f}),
                                            {0, 0, 0}));
            light->SetDiffuse(ColorRGBA{1, 1, 1, 1});
            light->SetAmbient(ColorRGBA{0.2f, 0.2f, 0.2f, 1});
            light->Update(0, false);
            auto* effect = new Texture1DLEffect();
            effect->SetTexture(new Texture(SolidImage(8, 8, 255, 255, 255)));
            effect->SetLight(light);
            const Rgba centre = DrawCentre(effect);
            EXPECT_EQ(centre.r, centre.g);
            green[side] = centre.g;
        }
        EXPECT_GT(green[0], 150);
        EXPECT_LT(green[1], 80);
    }
}

}  // namespace
}  // namespace zel
