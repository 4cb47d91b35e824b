#include "tools/content/TestScene.h"

#include <new>

#include "engine/animation/ScreensaverController.h"
#include "engine/core/Buffer.h"
#include "engine/render/ColorEffect.h"
#include "engine/render/Texture.h"
#include "engine/render/TextureEffect.h"
#include "engine/resources/Image.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/Triangles.h"
#include "engine/sound/SoundNode.h"

namespace zel {

namespace {

// A 2 × 2 panel facing −z, centred on `at`.
Pointer<Triangles> MakePanel(const char* name, ColorEffect* effect, const Vector3& at) {
    static const Vector3 kCorners[4] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    static const Vector2 kTexCoords[4] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    static const int32_t kIndices[6] = {0, 2, 1, 0, 3, 2};
    Pointer<Triangles> panel = new (std::nothrow) Triangles(String(name));
    Pointer<Vector3Buffer> positions = new (std::nothrow) Vector3Buffer(4, nullptr);
    Pointer<Vector2Buffer> texCoords = new (std::nothrow) Vector2Buffer(4, nullptr);
    Pointer<IntBuffer> indices = new (std::nothrow) IntBuffer(6, nullptr);
    if (panel == nullptr || positions == nullptr || texCoords == nullptr || indices == nullptr ||
        positions->GetData() == nullptr || texCoords->GetData() == nullptr || indices->GetData() == nullptr)
        return nullptr;
    for (int32_t i = 0; i < 4; ++i) {
        (*positions)[i] = kCorners[i];
        (*texCoords)[i] = kTexCoords[i];
    }
    for (int32_t i = 0; i < 6; ++i) (*indices)[i] = kIndices[i];
    effect->cullEnable = false;
    panel->SetVertices(positions);
    panel->SetTexCoords(0, texCoords);
    panel->SetIndices(indices);
    panel->SetEffect(effect);
    panel->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), at));
    panel->UpdateModel(false, false);
    return panel;
}

Pointer<ColorEffect> Colored(float r, float g, float b) {
    Pointer<ColorEffect> effect = new (std::nothrow) ColorEffect();
    if (effect != nullptr) effect->SetColor({r, g, b, 1.0f});
    return effect;
}

Pointer<TextureEffect> Textured() {
    Pointer<Image> image = new (std::nothrow) Image();
    Pointer<TextureEffect> effect = new (std::nothrow) TextureEffect();
    if (image == nullptr || effect == nullptr) return nullptr;
    image->SetName(String(kTestSceneTexture));
    image->SetFileName(String(kTestSceneTexture));
    Pointer<Texture> texture = new (std::nothrow) Texture(image, String(kTestSceneTexture));
    if (texture == nullptr) return nullptr;
    effect->SetTexture(texture);
    effect->SetColor({1, 1, 1, 1});
    return effect;
}

Pointer<Camera> MakeCamera(const char* name, const Vector3& at, const Vector3& direction) {
    Pointer<Camera> camera = new (std::nothrow) Camera(String(name));
    if (camera == nullptr) return nullptr;
    camera->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), at));
    camera->LookAlong(direction);
    return camera;
}

}  // namespace

Pointer<SceneNode> BuildTestScene() {
    Pointer<SceneNode> root = new (std::nothrow) SceneNode(String("Root"), 0, 8);
    Pointer<Camera> front = MakeCamera("Camera01", {0, 0, -7}, {0, 0, 1});
    Pointer<Camera> side = MakeCamera("Camera11", {5, 2, -5}, {-5, -2, 5});
    Pointer<ScreensaverController> director = new (std::nothrow) ScreensaverController();
    Pointer<SoundNode> music = new (std::nothrow) SoundNode(String("Music"));
    Pointer<SoundNode> car = new (std::nothrow) SoundNode(String("Car"));
    Pointer<ColorEffect> red = Colored(0.9f, 0.2f, 0.1f), green = Colored(0.2f, 0.8f, 0.3f),
                         blue = Colored(0.2f, 0.4f, 0.9f);
    Pointer<TextureEffect> checker = Textured();
    if (root == nullptr || front == nullptr || side == nullptr || director == nullptr || music == nullptr ||
        car == nullptr || red == nullptr || green == nullptr || blue == nullptr || checker == nullptr)
        return nullptr;
    Pointer<Triangles> panels[4] = {MakePanel("Red", red, {-2.2f, 1.1f, 0}), MakePanel("Green", green, {0, 1.1f, 0}),
                                    MakePanel("Blue", blue, {2.2f, 1.1f, 0}),
                                    MakePanel("Checker", checker, {0, -1.1f, 0})};
    for (const Pointer<Triangles>& panel : panels)
        if (panel == nullptr || root->AppendChild(panel) != 0) return nullptr;
    if (root->AppendChild(front) != 0 || root->AppendChild(side) != 0 || root->AppendChild(music) != 0 ||
        root->AppendChild(car) != 0)
        return nullptr;
    // Shots of four seconds that start fading in half a second after the
    // change.
    if (director->AddSet(front, 0.5, 4.0) != 0 || director->AddSet(side, 0.5, 4.0) != 0 ||
        root->AttachController(director) != 0)
        return nullptr;
    root->Update(0, true);
    return root;
}

}  // namespace zel
