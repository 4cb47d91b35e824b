#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/animation/ScreensaverController.h"
#include "engine/animation/SkinController.h"
#include "engine/animation/TargetCameraController.h"
#include "engine/animation/TargetLightController.h"
#include "engine/core/ObjectGraph.h"
#include "engine/core/SceneFile.h"
#include "engine/core/Stream.h"
#include "engine/render/material/TextureEffect.h"
#include "engine/render/shadow/ShadowmapEffect.h"
#include "engine/render/texture/Texture.h"
#include "engine/render/water/RenderScreenspaceReflectTextureController.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/Triangles.h"

namespace zel {
namespace {

// Each graph holds a cycle of counted links, of a kind a scene file can
// express.
Pointer<Object> SelfAttachedController() {
    Pointer<TargetCameraController> aim = new TargetCameraController();
    aim->AttachController(aim);
    return aim.Get();
}

// root → camera → its target controller → root.
Pointer<Object> CameraAimedAtItsParent() {
    Pointer<SceneNode> root = new SceneNode(String("Root"), 0, 4);
    Pointer<Camera> camera = new Camera(String("Camera01"));
    root->AppendChild(camera);
    Pointer<TargetCameraController> aim = new TargetCameraController();
    aim->SetTarget(root);
    camera->AttachController(aim);
    return root.Get();
}

// camera → director → its set → camera.
Pointer<Object> DirectorOnItsCamera() {
    Pointer<Camera> camera = new Camera(String("Camera01"));
    Pointer<ScreensaverController> director = new ScreensaverController();
    EXPECT_EQ(director->AddSet(camera, 0.0, 1.0), kOk);
    camera->AttachController(director);
    return camera.Get();
}

// water → effect → reflection texture → its controller → water.
Pointer<Object> WaterSeenInItsOwnTexture() {
    Pointer<Triangles> water = new Triangles(String("Water"));
    Pointer<Texture> reflection = new Texture();
    Pointer<RenderScreenspaceReflectTextureController> mirror = new RenderScreenspaceReflectTextureController();
    mirror->SetWaterNode(water);
    EXPECT_EQ(mirror->GetNodes().Add(water), kOk);
    reflection->AttachController(mirror);
    Pointer<TextureEffect> effect = new TextureEffect();
    effect->SetTexture(reflection);
    water->SetEffect(effect);
    return water.Get();
}

// skin → effect → skin controller → its bone, the skin itself.
Pointer<Object> SkinItsOwnBone() {
    Pointer<Triangles> skin = new Triangles(String("Skin"));
    Pointer<SkinController> controller = new SkinController();
    EXPECT_EQ(controller->AddBone(skin, Transform()), kOk);
    Pointer<TextureEffect> effect = new TextureEffect();
    effect->SetSkinController(controller);
    skin->SetEffect(effect);
    return skin.Get();
}

// root → shadow effect → light → its target controller → root.
Pointer<Object> ShadowLightAimedAtItsCaster() {
    Pointer<SceneNode> root = new SceneNode(String("Root"), 0, 4);
    Pointer<Light> light = new Light(Light::kSpot);
    Pointer<TargetLightController> aim = new TargetLightController();
    aim->SetTarget(root);
    light->AttachController(aim);
    Pointer<ShadowmapEffect> shadow = new ShadowmapEffect();
    shadow->SetLight(light);
    EXPECT_EQ(root->AddEffect(shadow), kOk);
    return root.Get();
}

// A node named only by its child's parent link (read for the layout, then
// let go): the file's root is the child, so the root reaches nothing that
// holds the node, which holds itself through a controller.
Pointer<Object> ParentNamedOnlyByItsChild() {
    Pointer<SceneNode> parent = new SceneNode(String("Parent"), 0, 4);
    Pointer<Camera> camera = new Camera(String("Camera01"));
    parent->AppendChild(camera);
    Pointer<TargetCameraController> aim = new TargetCameraController();
    aim->SetTarget(parent);
    parent->AttachController(aim);
    return camera.Get();
}

const struct {
    const char* name;
    Pointer<Object> (*make)();
} kCycles[] = {
    {"controller attached to itself", SelfAttachedController},
    {"camera aimed at its parent", CameraAimedAtItsParent},
    {"director on its camera", DirectorOnItsCamera},
    {"water seen in its own texture", WaterSeenInItsOwnTexture},
    {"skin its own bone", SkinItsOwnBone},
    {"shadow light aimed at its caster", ShadowLightAimedAtItsCaster},
    {"parent named only by its child", ParentNamedOnlyByItsChild},
};

std::string SceneBytes(Object* root) {
    Stream stream(0, 256);
    EXPECT_EQ(WriteSceneFile(stream, root), 0);
    return std::string(reinterpret_cast<const char*>(stream.GetBuffer()), stream.GetPosition());
}

// Reads scene bytes and tears down what was read; true when the read
// succeeded.
bool ReadAndTearDown(const std::string& bytes) {
    Stream stream(static_cast<int32_t>(bytes.size()), 0);
    stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.Rewind();
    Pointer<Object> root;
    const bool read = ReadSceneFile(stream, root) == kOk;
    BreakObjectLinks(root);
    return read;
}

// Every cycle can be searched and updated, and goes with its last outside
// reference: built in code (torn down from the root and from its parent),
// read whole from its file, and read from a file cut short.
TEST(ObjectGraphTest, BreakingLinksFreesEveryCycle) {
    for (const auto& cycle : kCycles) {
        SCOPED_TRACE(cycle.name);
        const int32_t before = Object::GetLiveCount();
        std::string bytes;
        {
            Pointer<Object> root = cycle.make();
            // Searches through the cycle end, having seen each object.
            EXPECT_EQ(root->FindByName(String("Nowhere")), nullptr);
            ObjectArray all;
            root->CollectByType(Object::TYPE, all);
            EXPECT_GE(all.Count(), 2);
            root->UpdateControllers(0.5);
            if (Node* node = CastTo<Node>(root.Get())) node->Update(0.5, true);
            bytes = SceneBytes(root);
            Node* node = CastTo<Node>(root.Get());
            if (node != nullptr && node->GetParent() != nullptr) BreakObjectLinks(node->GetParent());
            BreakObjectLinks(root);
        }
        EXPECT_EQ(Object::GetLiveCount(), before);
        EXPECT_TRUE(ReadAndTearDown(bytes));
        EXPECT_EQ(Object::GetLiveCount(), before);
        EXPECT_FALSE(ReadAndTearDown(bytes.substr(0, bytes.size() - 1)));
        EXPECT_EQ(Object::GetLiveCount(), before);
    }
}

// The file the scene fuzz target found: a camera controller that lists
// itself among its controllers.
TEST(ObjectGraphTest, TheSelfControlledFileLeavesNoObject) {
    const std::string hex =
        "0a0a0a000000000000bababa000000001a0000005a656c2e54617267657443616d657261436f6e74726f6c6c6572"
        "0600000000bc00000000050000000000000000000000000a00020000000000000000";
    std::string file;
    for (size_t i = 0; i < hex.size(); i += 2) file += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    const int32_t before = Object::GetLiveCount();
    ReadAndTearDown(file);
    EXPECT_EQ(Object::GetLiveCount(), before);
}

TEST(ObjectGraphTest, NullRootCutsNothing) { EXPECT_EQ(BreakObjectLinks(nullptr), 0); }

}  // namespace
}  // namespace zel
