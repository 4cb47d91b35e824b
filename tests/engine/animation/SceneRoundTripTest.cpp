// A scene holding every animation, controller, sound node, particle and
// skinning class saves and loads back with the same behaviour: both copies, run for
// the same frames from the same random seed, keep equal transforms, flags,
// shots, sounds and particles frame by frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/animation/CameraActivateAnimationController.h"
#include "engine/animation/NodeAnimationController.h"
#include "engine/animation/ScreensaverController.h"
#include "engine/animation/SkeletonAnimationController.h"
#include "engine/animation/SkinController.h"
#include "engine/animation/SoundNodeAnimation.h"
#include "engine/animation/SoundNodeAnimationController.h"
#include "engine/animation/TargetCameraController.h"
#include "engine/animation/TargetLightController.h"
#include "engine/animation/particles/NodeParticleSystem.h"
#include "engine/animation/particles/SphereVolumeEmitter.h"
#include "engine/animation/particles/SpriteParticleSystem.h"
#include "engine/core/Buffer.h"
#include "engine/core/SceneFile.h"
#include "engine/core/Stream.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/Triangles.h"
#include "engine/sound/SoundNode.h"
#include "engine/sound/SoundNode2.h"
#include "support/AnimationTestSupport.h"
#include "support/CurrentRenderer.h"
#include "support/FakeSoundLibrary.h"
#include "support/SoundTestFiles.h"

namespace zel {
namespace {

using test::MakeBoolAnimation;
using test::MakeFrame;

Pointer<NodeAnimation> Path(const char* name, float reach) {
    Pointer<NodeAnimation> animation = new NodeAnimation();
    animation->SetName(String(name));
    const double times[] = {0.0, 0.3, 0.7};
    for (int i = 0; i < 3; ++i) {
        NodeKeyframe* key = new NodeKeyframe();
        key->time = times[i];
        key->translation = {reach * i, reach * (i % 2), -reach * i};
        key->rotation = Quaternion::FromAxisAngle({0, 1, 0}, 1.1f * static_cast<float>(i));
        key->scale = {1.0f + 0.5f * i, 1, 1};
        EXPECT_EQ(animation->AddKey(key), kOk);
    }
    return animation;
}

// Attaches a node animation controller with two overlapping frames.
NodeAnimationController* Animate(Node* node, double period, float reach) {
    Pointer<NodeAnimationController> controller = new NodeAnimationController();
    Pointer<NodeAnimation> a = Path("a", reach);
    Pointer<NodeAnimation> b = Path("b", -reach);
    EXPECT_EQ(controller->AddAnimation(a), kOk);
    EXPECT_EQ(controller->AddAnimation(b), kOk);
    EXPECT_EQ(controller->AddFrame(MakeFrame(a, 0.0, 0.6, AnimationFrame::kModeLoop, 2.0)), kOk);
    EXPECT_EQ(controller->AddFrame(MakeFrame(b, 0.4, 1.0, AnimationFrame::kModePingPong, 1.5, 0.1)), kOk);
    controller->SetTrackPeriod(period);
    node->AttachController(controller);
    return controller;
}

Transform NodeAt(const Vector3& t) { return Transform::Make({1, 1, 1}, Quaternion::Identity(), t); }

// A body whose skeleton controller drives two bones, and a triangle mesh
// skinned by them, each vertex split between the bones.
void AddSkinnedBody(SceneNode* root) {
    Pointer<SceneNode> body = new SceneNode(String("body"), 0, 2);
    Pointer<SkeletonAnimationController> skeleton = new SkeletonAnimationController();
    skeleton->SetTrackPeriod(2.0);
    Pointer<SkinController> skin = new SkinController();
    for (int i = 0; i < 2; ++i) {
        Pointer<SceneNode> bone = new SceneNode(String(i == 0 ? "hip" : "knee"), 0, 1);
        NodeAnimationController* track = Animate(bone, 1.5 + i, 0.5f + i);
        track->SetActive(false);  // run by the skeleton only
        EXPECT_EQ(skeleton->AddBoneController(track), kOk);
        body->AppendChild(bone);
        EXPECT_EQ(skin->AddBone(bone, Transform::Make({1, 1, 1}, Quaternion::Identity(), {-1.0f * i, 0, 0})), kOk);
    }
    body->AttachController(skeleton);

    const int32_t count = 4;
    Pointer<Vector3Buffer> bind = new Vector3Buffer(count, nullptr);
    Pointer<Vector3Buffer> positions = new Vector3Buffer(count, nullptr);
    Pointer<Vector4Buffer> weights = new Vector4Buffer(count, nullptr);
    Pointer<Vector4Buffer> indices = new Vector4Buffer(count, nullptr);
    Pointer<IntBuffer> triangles = new IntBuffer(6, nullptr);
    for (int32_t i = 0; i < count; ++i) {
        (*bind)[i] = (*positions)[i] = Vector3{static_cast<float>(i % 2), static_cast<float>(i / 2), 0};
        (*weights)[i] = Vector4{0.25f * (i + 1), 1.0f - 0.25f * (i + 1), 0, 0};
        (*indices)[i] = Vector4{0, 1, 0, 0};
    }
    const int32_t order[6] = {0, 1, 2, 2, 1, 3};
    for (int32_t i = 0; i < 6; ++i) (*triangles)[i] = order[i];
    Pointer<Triangles> mesh = new Triangles(String("mesh"));
    mesh->SetVertices(positions);
    mesh->SetIndices(triangles);
    skin->SetBindVertices(bind);
    skin->SetWeights(weights);
    skin->SetBoneIndices(indices);
    mesh->AttachController(skin);

    EXPECT_EQ(root->AppendChild(body), kOk);
    EXPECT_EQ(root->AppendChild(mesh), kOk);
}

Pointer<SceneNode> BuildAnimatedScene() {
    Pointer<SceneNode> root = new SceneNode(String("root"), 0, 4);

    Pointer<SceneNode> target = new SceneNode(String("target"), 0, 1);
    Animate(target, 5.0, 3.0f);
    Pointer<SceneNode> door = new SceneNode(String("door"), 0, 1);
    NodeAnimationController* doorTrack = Animate(door, 1.0, 1.0f);

    Pointer<Camera> a = new Camera(String("A"));
    a->SetLocal(NodeAt({0, 5, -20}));
    NodeAnimationController* aTrack = Animate(a, 3.0, 4.0f);
    Pointer<CameraActivateAnimationController> activate = new CameraActivateAnimationController();
    Pointer<BoolAnimation> doorKeys = MakeBoolAnimation("door", {{0.0, false}, {0.4, true}, {0.8, false}});
    EXPECT_EQ(activate->AddAnimation(doorKeys), kOk);
    EXPECT_EQ(activate->AddFrame(MakeFrame(doorKeys, 0.0, 1.0)), kOk);
    activate->SetTrackPeriod(3.0);
    activate->SetCameraController(aTrack);
    activate->SetTargetController(target->GetController(0) != nullptr
                                      ? CastTo<AnimationController>(target->GetController(0))
                                      : nullptr);
    EXPECT_EQ(activate->AddLinkedController(doorTrack), kOk);
    a->AttachController(activate);
    Pointer<TargetCameraController> aim = new TargetCameraController();
    aim->SetTarget(target);
    a->AttachController(aim);

    Pointer<Camera> b = new Camera(String("B"));
    Animate(b, 2.0, 2.0f);
    Pointer<Camera> c = new Camera(String("C"));  // a still shot

    Pointer<Light> lamp = new Light(Light::kSpot, String("lamp"));
    lamp->SetLocal(NodeAt({3, 10, 3}));
    Pointer<TargetLightController> follow = new TargetLightController();
    follow->SetTarget(target);
    lamp->AttachController(follow);

    Pointer<SoundNode> engine = new SoundNode(String("engine"));
    engine->SetLoop(true);
    engine->SetMinDistance(4.0f);
    engine->LoadSound(FindMountedFile(String("engine.ogg")), true);
    Pointer<SoundNodeAnimationController> sound = new SoundNodeAnimationController();
    Pointer<SoundNodeAnimation> soundKeys =
        MakeBoolAnimation<SoundNodeAnimation>("sound", {{0.0, true}, {0.5, false}});
    EXPECT_EQ(sound->AddAnimation(soundKeys), kOk);
    EXPECT_EQ(sound->AddFrame(MakeFrame(soundKeys, 0.0, 1.0)), kOk);
    sound->SetTrackPeriod(1.7);
    engine->AttachController(sound);
    Animate(engine, 4.0, 2.0f);

    Pointer<SoundNode2> thunder = new SoundNode2(String("thunder"));
    thunder->SetFileNames(String("thunder1.ogg"), String("thunder2.ogg"));
    thunder->SetInterval(0.7f, 0.4f);
    thunder->Set3D(true);
    thunder->LoadSounds();

    Pointer<SpriteParticleSystem> sparks = new SpriteParticleSystem(String("sparks"));
    Pointer<SphereVolumeEmitter> sphere = new SphereVolumeEmitter();
    sphere->SetRadius(2.0f);
    sparks->SetEmitter(sphere);
    sparks->SetMaxParticles(200);
    sparks->emissionPeriod = 0.3f;
    sparks->emissionPeriodSpread = 0.1f;
    sparks->particlesPerBurst = 6;
    sparks->burstSpread = 3;
    sparks->lifetime = 1.5f;
    sparks->lifetimeSpread = 0.5f;
    sparks->speedSpread = 0.5f;
    sparks->acceleration = {0, -9.8f, 0};
    Animate(sparks, 6.0, 1.0f);

    Pointer<NodeParticleSystem> smoke = new NodeParticleSystem(String("smoke"));
    smoke->SetMaxParticles(50);
    smoke->particlesPerBurst = 2;
    smoke->emissionPeriod = 0.5f;
    smoke->startSizeSpread = 0.5f;

    for (Node* child : std::vector<Node*>{a, b, c, target, door, lamp, engine, thunder, sparks, smoke})
        EXPECT_EQ(root->AppendChild(child), kOk);

    AddSkinnedBody(root);

    Pointer<ScreensaverController> director = new ScreensaverController();
    EXPECT_EQ(director->AddSet(a, 0.5, 1.0), kOk);
    EXPECT_EQ(director->AddSet(b, 0.25, 1.0), kOk);
    EXPECT_EQ(director->AddSet(c, 0.0, 1.3), kOk);
    root->AttachController(director);
    return root;
}

void CollectNodes(Node* node, std::vector<Node*>& nodes) {
    nodes.push_back(node);
    if (SceneNode* scene = CastTo<SceneNode>(node))
        for (int32_t i = 0; i < scene->GetChildCount(); ++i)
            if (Node* child = scene->GetChild(i)) CollectNodes(child, nodes);
}

// Everything observable after one frame, as text lines (floats exactly).
std::vector<std::string> Snapshot(SceneNode* root, Renderer* renderer) {
    std::vector<std::string> lines;
    auto number = [](double v) {
        char text[40];
        std::snprintf(text, sizeof text, "%.9g", v);
        return std::string(text);
    };
    auto transform = [&](const Transform& t) {
        return number(t.translation.x) + " " + number(t.translation.y) + " " + number(t.translation.z) + " " +
               number(t.rotation.x) + " " + number(t.rotation.y) + " " + number(t.rotation.z) + " " +
               number(t.rotation.w) + " " + number(t.scale.x) + " " + number(t.scale.y) + " " +
               number(t.scale.z) + (t.isIdentity ? " I" : " -") + (t.noRotation ? "N" : "-");
    };
    std::vector<Node*> nodes;
    CollectNodes(root, nodes);
    for (Node* node : nodes) {
        std::string line = std::string(node->GetName().CStr()) + ": " + transform(node->GetLocal()) + " | " +
                           transform(node->GetWorld()) + (node->GetUpdateWorldTransform() ? " U" : " -");
        for (int32_t i = 0; i < node->GetControllerCount(); ++i) {
            Controller* controller = node->GetController(i);
            line += controller->IsActive() ? " on" : " off";
            if (AnimationController* track = CastTo<AnimationController>(controller))
                line += "@" + number(track->GetPhase()) + "/" + std::to_string(track->GetStageCount());
        }
        if (SoundNode* sound = CastTo<SoundNode>(node))
            line += " sound " + std::to_string(sound->IsPlaying()) + " " + number(sound->GetPlayingTime());
        if (SoundNode2* pair = CastTo<SoundNode2>(node))
            line += " pair " + std::to_string(pair->GetCurrentStream() == pair->GetStream(1)) + " " +
                    number(pair->GetTimer()) + " " + number(pair->GetNextInterval());
        if (ParticleSystem* particles = CastTo<ParticleSystem>(node)) {
            line += " particles " + std::to_string(particles->GetActiveCount());
            if (const ParticleSystem::Particle* p = particles->GetFirstParticle())
                line += " " + number(p->position.x) + " " + number(p->position.y) + " " + number(p->size);
        }
        if (Triangles* mesh = CastTo<Triangles>(node))
            if (Vector3Buffer* positions = mesh->GetPositions3())
                for (int32_t i = 0; i < positions->GetCount(); ++i)
                    line += " v " + number((*positions)[i].x) + " " + number((*positions)[i].y);
        lines.push_back(line);
    }
    ScreensaverController* director = CastTo<ScreensaverController>(root->GetController(0));
    lines.push_back("shot " + std::to_string(director->GetCurrent()) + " " + number(director->GetElapsed()) + " " +
                    (renderer->GetCamera() != nullptr ? renderer->GetCamera()->GetName().CStr() : "none"));
    return lines;
}

struct Recording {
    std::vector<std::vector<std::string>> frames;
    std::vector<std::string> soundCalls;  // without stream numbers
};

Recording Play(SceneNode* root, Renderer* renderer, int frames) {
    Recording run;
    test::FakeSoundLibrary::calls.clear();
    std::srand(20240601);
    CastTo<ScreensaverController>(root->GetController(0))->Reset();
    for (int i = 0; i < frames; ++i) {
        root->Update(0.1, true);
        run.frames.push_back(Snapshot(root, renderer));
    }
    for (const std::string& call : test::FakeSoundLibrary::calls)
        run.soundCalls.push_back(call.substr(0, call.find('(')));
    return run;
}

TEST(SceneRoundTrip, EveryAnimationClassBehavesTheSameAfterSavingAndLoading) {
    test::FakeSoundLibrary fake;
    test::MountedSoundFiles files;
    files.Add("engine.ogg", "engine-sound");
    files.Add("thunder1.ogg", "boom");
    files.Add("thunder2.ogg", "crack");
    test::CurrentRenderer renderer;

    Pointer<SceneNode> original = BuildAnimatedScene();
    Stream stream(0, 4096);
    ASSERT_EQ(WriteSceneFile(stream, original), 0);
    const int32_t savedLength = stream.GetPosition();
    stream.Rewind();
    Pointer<Object> read;
    ASSERT_EQ(ReadSceneFile(stream, read), 0);
    Pointer<SceneNode> copy = CastTo<SceneNode>(read);
    ASSERT_NE(copy, nullptr);
    // The loaded director chose its first shot while loading; the original
    // makes its first choice now, so both hold a history before the runs.
    ScreensaverController* copyDirector = CastTo<ScreensaverController>(copy->GetController(0));
    ASSERT_NE(copyDirector, nullptr);
    EXPECT_NE(copyDirector->GetCurrent(), -1);
    CastTo<ScreensaverController>(original->GetController(0))->ChooseNextSet();
    // Loading clears the cached flags of every local transform (they are
    // not streamed); the original starts from the same flags.
    std::vector<Node*> nodes;
    CollectNodes(original, nodes);
    for (Node* node : nodes) node->GetLocal().ClearFlags();

    const int kFrames = 150;
    const Recording first = Play(original, renderer.operator->(), kFrames);
    const Recording second = Play(copy, renderer.operator->(), kFrames);
    ASSERT_EQ(first.frames.size(), second.frames.size());
    for (int i = 0; i < kFrames; ++i) {
        ASSERT_EQ(first.frames[i].size(), second.frames[i].size());
        for (size_t j = 0; j < first.frames[i].size(); ++j)
            ASSERT_EQ(first.frames[i][j], second.frames[i][j]) << "frame " << i;
    }
    EXPECT_EQ(first.soundCalls, second.soundCalls);

    // The run did exercise the pieces: shots changed, sounds and particles ran.
    std::vector<std::string> shots;
    for (const auto& frame : first.frames)
        if (shots.empty() || shots.back() != frame.back().substr(0, 6)) shots.push_back(frame.back().substr(0, 6));
    EXPECT_GE(shots.size(), 4u);
    int plays = 0, stops = 0;
    for (const std::string& call : first.soundCalls) {
        plays += call == "ChannelPlay";
        stops += call == "ChannelStop";
    }
    EXPECT_GT(plays, 0);
    EXPECT_GT(stops, 0);
    EXPECT_NE(first.frames.back()[1], first.frames.front()[1]);  // camera A moved
    EXPECT_NE(first.frames.back().end()[-2], first.frames.front().end()[-2]);  // the skin moved

    // Saving the copy gives a file of the same size.
    Stream again(0, 4096);
    ASSERT_EQ(WriteSceneFile(again, copy), 0);
    EXPECT_EQ(again.GetPosition(), savedLength);
}

}  // namespace
}  // namespace zel
