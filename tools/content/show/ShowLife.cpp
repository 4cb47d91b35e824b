#include "tools/content/show/ShowLife.h"

#include <cmath>
#include <new>

#include "engine/animation/NodeAnimation.h"
#include "engine/animation/NodeAnimationController.h"
#include "engine/animation/SkeletonAnimationController.h"
#include "engine/animation/SkinController.h"
#include "engine/animation/SoundNodeAnimation.h"
#include "engine/animation/SoundNodeAnimationController.h"
#include "engine/animation/TargetLightController.h"
#include "engine/animation/particles/NodeParticleSystem.h"
#include "engine/animation/particles/PointEmitter.h"
#include "engine/animation/particles/SphereVolumeEmitter.h"
#include "engine/animation/particles/SpriteParticleSystem.h"
#include "engine/animation/particles/TrianglesEmitter.h"
#include "engine/core/Buffer.h"
#include "engine/math/MathConstants.h"
#include "engine/render/material/ColorEffect.h"
#include "engine/render/material/Texture1DLEffect.h"
#include "engine/render/sprite/SpriteEffect.h"
#include "engine/scene/Light.h"
#include "engine/scene/Lines.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/StripLines.h"
#include "engine/scene/Triangles.h"
#include "engine/sound/SoundNode.h"
#include "engine/sound/SoundNode2.h"
#include "tools/content/show/HarbourLayout.h"
#include "tools/content/show/MeshBuilder.h"
#include "tools/content/show/ShowAssets.h"
#include "tools/content/show/ShowMotion.h"
#include "tools/content/show/ShowNodes.h"
#include "tools/content/show/ShowWorld.h"

namespace zel {

namespace {

using namespace harbour;

Quaternion Yaw(float angle) { return Quaternion::FromAxisAngle({0, 1, 0}, angle); }

// The car drives east along the road in the right-hand lane and back in the
// other, once a minute.
int BuildCar(ShowAssets& assets, ShowWorld& world, ShowLife& life) {
    Pointer<SceneNode> car = MakeGroup("Car Body");
    MeshBuilder body, wheels;
    body.AddBox({-0.85f, 0.35f, -2.1f}, {0.85f, 1.0f, 2.1f}, 0.5f);
    body.AddBox({-0.75f, 1.0f, -1.0f}, {0.75f, 1.55f, 1.1f}, 0.5f);
    for (const float x : {-0.9f, 0.75f})
        for (const float z : {-1.35f, 1.35f}) {
            const int32_t first = wheels.GetVertexCount();
            wheels.AddBox({0.0f, 0.0f, -0.35f}, {0.15f, 0.7f, 0.35f}, 1.0f);
            wheels.Translate({x, 0.0f, z}, first);
        }
    Pointer<TextureEffect> paint = new (std::nothrow) TextureEffect();
    if (car == nullptr || paint == nullptr) return 1;
    paint->SetTexture(assets.File("car.jpg"));
    std::vector<Pose> poses;
    std::vector<Vector3> road = RoadPoints();
    std::vector<Vector3> route;
    // On the drawn ground of each lane.
    auto lane = [](const Vector3& p, float dz) { return Vector3{p.x, GroundSurface(p.x, p.z + dz) + 0.05f, p.z + dz}; };
    for (const Vector3& p : road) route.push_back(lane(p, -1.6f));
    for (auto p = road.rbegin(); p != road.rend(); ++p) route.push_back(lane(*p, 1.6f));
    for (size_t i = 0; i < route.size(); ++i) {
        const Vector3 ahead = route[(i + 1) % route.size()] - route[i];
        poses.push_back({route[i], Quaternion::LookAlong(Normalize(Vector3{ahead.x, 0.0f, ahead.z}))});
    }
    std::vector<double> times;
    for (size_t i = 0; i < route.size(); ++i) times.push_back(static_cast<double>(i) / route.size());
    Pointer<SoundNode> engine = new (std::nothrow) SoundNode(String("Car"));
    if (engine == nullptr) return 1;
    engine->SetFileName(String("car.ogg"));
    engine->Set3D(true);
    engine->SetLoop(true);
    engine->SetMinDistance(8.0f);
    engine->SetVolume(100);
    // Headlights: two small glows ahead of the bonnet.
    Pointer<SceneNode> lamps = MakeGroup("Car Lamps");
    MeshBuilder lampMesh;
    for (const float x : {-0.6f, 0.6f})
        lampMesh.AddQuad({x - 0.15f, 0.6f, 2.12f}, {x + 0.15f, 0.6f, 2.12f}, {x + 0.15f, 0.8f, 2.12f},
                         {x - 0.15f, 0.8f, 2.12f}, {0, 0, 1});
    Pointer<ColorEffect> lampGlow = PlainColor({1.0f, 0.95f, 0.8f, 1.0f});
    if (lamps == nullptr || lampGlow == nullptr) return 1;
    const bool ok = AddChild(car, MakeShape(body, "Car Shell", paint)) &&
                    AddChild(car, MakeShape(wheels, "Car Wheels", PlainColor({0.08f, 0.08f, 0.09f, 1.0f}))) &&
                    AddChild(car, MakeShape(lampMesh, "Car Headlights", lampGlow)) && AddChild(car, engine) &&
                    AnimateNode(*car, "Coast Road", poses, 60.0, times) != nullptr && AddChild(world.shadowed, car);
    life.car = car;
    return ok ? 0 : 1;
}

// A fishing boat on a slow round of the bay, rocking on the swell, lit by
// the lighthouse's searchlight, which follows it.
int BuildBoat(ShowAssets& assets, ShowWorld& world, ShowLife& life) {
    Pointer<SceneNode> boat = MakeGroup("Boat");
    MeshBuilder hull, mast;
    hull.AddBox({-1.4f, -0.6f, -4.0f}, {1.4f, 0.9f, 3.2f}, 0.5f);
    hull.AddGableRoof({-1.4f, -0.6f, 3.2f}, {1.4f, 0.9f, 4.6f}, 0.0f, 0.0f, 0.5f);
    hull.AddBox({-0.9f, 0.9f, -2.5f}, {0.9f, 2.4f, -0.3f}, 0.5f);
    mast.AddCylinder({0, 0.9f, 1.2f}, 0.09f, 0.06f, 6.0f, 6, 1.0f, true);
    Pointer<Light> searchlight = new (std::nothrow) Light(Light::kDirectional, String("Searchlight"));
    Pointer<TargetLightController> follow = new (std::nothrow) TargetLightController();
    Pointer<Texture1DLEffect> planks = new (std::nothrow) Texture1DLEffect();
    if (boat == nullptr || searchlight == nullptr || follow == nullptr || planks == nullptr) return 1;
    searchlight->GetLocal().translation = LighthouseBase() + Vector3{0, kLighthouseHeight + 2.3f, 0};
    searchlight->SetDiffuse({1.0f, 0.9f, 0.7f, 1.0f});
    searchlight->SetAmbient({0.6f, 0.52f, 0.55f, 1.0f});
    follow->SetTarget(boat);
    searchlight->AttachController(follow);
    planks->SetTexture(assets.File("wood.jpg"));
    planks->SetLight(searchlight);
    std::vector<Pose> poses;
    const int steps = 24;
    for (int i = 0; i < steps; ++i) {
        const float a = 2.0f * kPi * i / steps;
        const Vector3 at{25.0f + 60.0f * std::cos(a), 0.25f * std::sin(a * 7.0f), -70.0f + 28.0f * std::sin(a)};
        // Heading along the ellipse's tangent, rolling with the swell.
        const Vector3 ahead{-60.0f * std::sin(a), 0.0f, 28.0f * std::cos(a)};
        const Quaternion roll = Quaternion::FromAxisAngle({0, 0, 1}, 0.06f * std::sin(a * 9.0f));
        poses.push_back({at, Quaternion::LookAlong(Normalize(ahead)) * roll});
    }
    const bool ok = AddChild(boat, MakeShape(hull, "Boat Hull", planks)) &&
                    AddChild(boat, MakeShape(mast, "Boat Mast", PlainColor({0.3f, 0.22f, 0.15f, 1.0f}))) &&
                    AnimateNode(*boat, "Round Of The Bay", poses, 48.0) != nullptr && AddChild(world.shadowed, boat) &&
                    AddChild(world.shadowed, searchlight);
    life.boat = boat;
    return ok ? 0 : 1;
}

int BuildSails(ShowWorld& world) {
    MeshBuilder sails;
    for (int k = 0; k < 4; ++k) {
        const int32_t first = sails.GetVertexCount();
        sails.AddBox({-0.7f, 0.6f, -0.1f}, {0.7f, 8.5f, 0.1f}, 0.3f);
        for (int32_t i = first; i < sails.GetVertexCount(); ++i) {
            MeshVertex& v = sails.Vertex(i);
            const float a = k * 0.5f * kPi, c = std::cos(a), s = std::sin(a);
            v.position = {c * v.position.x - s * v.position.y, s * v.position.x + c * v.position.y, v.position.z};
            v.normal = {c * v.normal.x - s * v.normal.y, s * v.normal.x + c * v.normal.y, v.normal.z};
        }
    }
    sails.AddCylinder({0, 0, 0}, 0.6f, 0.6f, 0.4f, 8, 1.0f, true);
    std::vector<Pose> turn;
    const Vector3 at = world.windmillHead->GetLocal().translation;
    for (int k = 0; k < 3; ++k) turn.push_back({at, Quaternion::FromAxisAngle({0, 0, 1}, -2.0f * kPi * k / 3.0f)});
    return AddChild(world.windmillHead, MakeShape(sails, "Windmill Sails", PlainColor({0.62f, 0.55f, 0.45f, 1.0f}))) &&
                   AnimateNode(*world.windmillHead, "Sails Turning", turn, 14.0) != nullptr
               ? 0
               : 1;
}

// A flag on the quay's mast, skinned to a chain of four bones that wave
// one after another.
int BuildFlag(ShowAssets& assets, ShowWorld& world, ShowLife& life) {
    constexpr int kBones = 4;
    constexpr float kLength = 3.2f, kHeight = 1.9f, kBoneSpacing = kLength / kBones;
    const Vector3 pole{kQuayEast - 4.0f, kQuayLevel, ShoreZ(kQuayEast) - 3.0f};
    const Vector3 top = pole + Vector3{0, 9.0f, 0};
    Pointer<SceneNode> root = MakeGroup("Flag");
    Pointer<SkeletonAnimationController> skeleton = new (std::nothrow) SkeletonAnimationController();
    Pointer<SkinController> skin = new (std::nothrow) SkinController();
    if (root == nullptr || skeleton == nullptr || skin == nullptr) return 1;
    root->GetLocal().translation = top;
    SceneNode* parent = root;
    Pointer<SceneNode> bones[kBones];
    for (int i = 0; i < kBones; ++i) {
        bones[i] = MakeGroup("Flag Bone");
        if (bones[i] == nullptr || !AddChild(parent, bones[i])) return 1;
        const Vector3 offset{i == 0 ? 0.0f : kBoneSpacing, 0, 0};
        bones[i]->GetLocal().translation = offset;
        std::vector<Pose> wave;
        for (int k = 0; k < 4; ++k) {
            const float angle = (i == 0 ? 0.12f : 0.3f) * std::sin(0.5f * kPi * k + 0.9f * i);
            wave.push_back({offset, Yaw(angle)});
        }
        Pointer<NodeAnimationController> bone = AnimateNode(*bones[i], "Flutter", wave, 1.6);
        if (bone == nullptr) return 1;
        bone->SetActive(false);
        if (skeleton->AddBoneController(bone) != kOk ||
            skin->AddBone(bones[i], Transform::Make({1, 1, 1}, Quaternion::Identity(),
                                                    -(top + Vector3{kBoneSpacing * i, 0, 0}))) != kOk)
            return 1;
        parent = bones[i];
    }
    if (PlayLooping(*skeleton, MakeNodeAnimation("Flutter", {Pose{}, Pose{}}), 1.6) != 0 ||
        root->AttachController(skeleton) != 0)
        return 1;
    // The cloth in its rest pose, in world space, weighted between the two
    // nearest bones.
    MeshBuilder cloth;
    constexpr int kColumns = 12, kRows = 5;
    for (int r = 0; r <= kRows; ++r)
        for (int c = 0; c <= kColumns; ++c) {
            const float u = static_cast<float>(c) / kColumns, v = static_cast<float>(r) / kRows;
            cloth.AddVertex({top + Vector3{u * kLength, -v * kHeight, 0}, {0, 0, -1}, {u, v}, {u, v}});
        }
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            const int i = r * (kColumns + 1) + c;
            cloth.AddTriangle(i, i + 1, i + kColumns + 2);
            cloth.AddTriangle(i, i + kColumns + 2, i + kColumns + 1);
        }
    Pointer<Triangles> flag = cloth.Build(String("Flag Cloth"), false, false);
    const int32_t count = cloth.GetVertexCount();
    Pointer<Vector4Buffer> weights = new (std::nothrow) Vector4Buffer(count, nullptr);
    Pointer<Vector4Buffer> indices = new (std::nothrow) Vector4Buffer(count, nullptr);
    Pointer<Vector3Buffer> bind = new (std::nothrow) Vector3Buffer(count, nullptr);
    Pointer<Vector3Buffer> bindNormals = new (std::nothrow) Vector3Buffer(count, nullptr);
    Pointer<TextureEffect> effect = new (std::nothrow) TextureEffect();
    if (flag == nullptr || weights == nullptr || indices == nullptr || bind == nullptr || bindNormals == nullptr ||
        effect == nullptr)
        return 1;
    for (int32_t i = 0; i < count; ++i) {
        const float along = (cloth.GetVertices()[i].position.x - top.x) / kBoneSpacing;
        const int b = std::min(static_cast<int>(along), kBones - 1);
        const int next = std::min(b + 1, kBones - 1);
        // The far edge lies past the last bone: it follows that bone alone
        // (weights that sum to less than 1 would pull it to the origin).
        const float f = next != b ? std::min(along - b, 1.0f) : 0.0f;
        (*weights)[i] = {1.0f - f, f, 0.0f, 0.0f};
        (*indices)[i] = {static_cast<float>(b), static_cast<float>(next), 0.0f, 0.0f};
        (*bind)[i] = cloth.GetVertices()[i].position;
        (*bindNormals)[i] = cloth.GetVertices()[i].normal;
    }
    skin->SetWeights(weights);
    skin->SetBoneIndices(indices);
    skin->SetBindVertices(bind);
    skin->SetBindNormals(bindNormals);
    effect->SetTexture(assets.File("flag.tga"));
    effect->cullEnable = false;
    flag->SetEffect(effect);
    if (flag->AttachController(skin) != 0) return 1;
    effect->SetSkinController(skin);
    MeshBuilder mast;
    mast.AddCylinder(pole, 0.1f, 0.07f, 9.3f, 8, 1.0f, true);
    life.flag = root;
    // The cloth follows the bones, so it comes after them in the update.
    const bool ok = AddChild(root, flag) && AddChild(world.shadowed, root) &&
                    AddChild(world.shadowed, MakeShape(mast, "Flag Mast", PlainColor({0.85f, 0.85f, 0.82f, 1.0f})));
    return ok ? 0 : 1;
}

Pointer<SpriteEffect> SpriteLook(ParticleSystem& system, ShowAssets& assets, const char* texture, bool additive) {
    auto* effect = CastTo<SpriteEffect>(system.GetEffect());
    if (effect == nullptr) return nullptr;
    effect->SetTexture(assets.File(texture));
    effect->blendEnable = true;
    effect->sourceFactor = RenderStateBlock::kSourceAlpha;
    effect->destinationFactor = additive ? RenderStateBlock::kOne : RenderStateBlock::kInverseSourceAlpha;
    effect->depthWrite = false;
    effect->cullEnable = false;
    return effect;
}

int BuildParticles(ShowAssets& assets, ShowWorld& world) {
    // Smoke drifting east from a chimney.
    Pointer<SpriteParticleSystem> smoke = new (std::nothrow) SpriteParticleSystem(String("Chimney Smoke"));
    Pointer<PointEmitter> vent = new (std::nothrow) PointEmitter();
    // Spray thrown up where the swell breaks on the breakwater's end.
    Pointer<SpriteParticleSystem> spray = new (std::nothrow) SpriteParticleSystem(String("Breakwater Spray"));
    Pointer<SphereVolumeEmitter> surf = new (std::nothrow) SphereVolumeEmitter();
    // Fireflies rising from the meadow by the pond.
    Pointer<NodeParticleSystem> fireflies = new (std::nothrow) NodeParticleSystem(String("Fireflies"));
    Pointer<TrianglesEmitter> meadow = new (std::nothrow) TrianglesEmitter();
    if (smoke == nullptr || vent == nullptr || spray == nullptr || surf == nullptr || fireflies == nullptr ||
        meadow == nullptr || SpriteLook(*smoke, assets, "smoke.tga", false) == nullptr ||
        SpriteLook(*spray, assets, "spray.tga", false) == nullptr)
        return 1;
    vent->SetMaximumAngle(0.2f);
    smoke->SetEmitter(vent);
    smoke->SetMaxParticles(48);
    smoke->emissionPeriod = 0.3f;
    smoke->emissionPeriodSpread = 0.1f;
    smoke->particlesPerBurst = 1;
    smoke->startColor = {0.62f, 0.58f, 0.56f, 0.55f};
    smoke->endColor = {0.45f, 0.45f, 0.5f, 0.0f};
    smoke->speed = 1.3f;
    smoke->speedSpread = 0.3f;
    smoke->acceleration = {0.55f, 0.08f, 0.15f};
    smoke->accelerationSpread = {0.1f, 0.05f, 0.1f};
    smoke->lifetime = 8.0f;
    smoke->lifetimeSpread = 2.0f;
    smoke->startSize = 1.2f;
    smoke->endSize = 6.5f;
    smoke->endSizeSpread = 1.0f;
    smoke->GetLocal().translation = world.chimney->GetLocal().translation;
    surf->SetRadius(3.0f);
    surf->SetMaximumAngle(0.6f);
    spray->SetEmitter(surf);
    spray->SetMaxParticles(120);
    spray->emissionPeriod = 2.6f;
    spray->emissionPeriodSpread = 1.4f;
    spray->particlesPerBurst = 28;
    spray->burstSpread = 10;
    spray->startColor = {0.95f, 0.97f, 1.0f, 0.8f};
    spray->endColor = {0.9f, 0.93f, 1.0f, 0.0f};
    spray->speed = 5.0f;
    spray->speedSpread = 1.5f;
    spray->acceleration = {0.0f, -7.0f, 0.0f};
    spray->lifetime = 1.6f;
    spray->lifetimeSpread = 0.4f;
    spray->startSize = 0.8f;
    spray->endSize = 3.2f;
    spray->GetLocal().translation = BreakwaterEnd() + Vector3{0.0f, 0.5f, 0.0f};
    MeshBuilder body;
    body.AddSphere({0, 0, 0}, 1.0f, 3, 4);
    Pointer<Triangles> firefly = body.Build(String("Firefly"), false, false);
    Pointer<ColorEffect> glow = PlainColor({0.85f, 1.0f, 0.45f, 1.0f});
    if (firefly == nullptr || glow == nullptr) return 1;
    MakeGlowing(*glow);
    firefly->SetEffect(glow);
    // The template is drawn once per firefly by the system, never on its own.
    if (!AddChild(world.unseen, firefly)) return 1;
    meadow->SetTriangles(CastTo<Triangles>(world.meadow.Get()));
    meadow->SetMaximumAngle(0.5f);
    fireflies->SetEmitter(meadow);
    fireflies->SetTemplate(firefly);
    fireflies->SetMaxParticles(40);
    fireflies->emissionPeriod = 0.35f;
    fireflies->particlesPerBurst = 1;
    fireflies->speed = 0.35f;
    fireflies->speedSpread = 0.15f;
    fireflies->acceleration = {0.0f, 0.02f, 0.0f};
    fireflies->accelerationSpread = {0.25f, 0.12f, 0.25f};
    fireflies->lifetime = 7.0f;
    fireflies->lifetimeSpread = 2.0f;
    fireflies->startSize = 0.12f;
    fireflies->endSize = 0.06f;
    return AddChild(world.glows, smoke) && AddChild(world.glows, spray) && AddChild(world.glows, fireflies) ? 0 : 1;
}

// Ropes from the quay's bollards to a moored dinghy, and a washing line
// sagging between two houses.
int BuildLines(ShowWorld& world) {
    const float quayFront = ShoreZ(0.0f) - 9.0f;
    MeshBuilder dinghy;
    dinghy.AddBox({-0.8f, -0.3f, -2.0f}, {0.8f, 0.4f, 2.0f}, 0.5f);
    dinghy.Translate({12.0f, 0.0f, quayFront - 2.5f});
    Pointer<Lines> ropes = new (std::nothrow) Lines(String("Mooring Ropes"));
    Pointer<StripLines> washing = new (std::nothrow) StripLines(String("Washing Line"));
    Pointer<Vector3Buffer> ropePoints = new (std::nothrow) Vector3Buffer(4, nullptr);
    Pointer<IntBuffer> ropeIndices = new (std::nothrow) IntBuffer(4, nullptr);
    constexpr int kSag = 12;
    Pointer<Vector3Buffer> linePoints = new (std::nothrow) Vector3Buffer(kSag + 1, nullptr);
    Pointer<IntBuffer> lineIndices = new (std::nothrow) IntBuffer(kSag + 1, nullptr);
    if (ropes == nullptr || washing == nullptr || ropePoints == nullptr || ropeIndices == nullptr ||
        linePoints == nullptr || lineIndices == nullptr)
        return 1;
    (*ropePoints)[0] = {10.0f, kQuayLevel + 0.3f, quayFront};
    (*ropePoints)[1] = {11.6f, 0.4f, quayFront - 0.6f};
    (*ropePoints)[2] = {14.0f, kQuayLevel + 0.3f, quayFront};
    (*ropePoints)[3] = {12.4f, 0.4f, quayFront - 0.6f};
    for (int i = 0; i < 4; ++i) (*ropeIndices)[i] = i;
    const Vector3 from{kQuayWest + 12.0f, kQuayLevel + 3.0f, ShoreZ(0.0f) + 13.0f};
    const Vector3 to = from + Vector3{9.0f, 0.0f, 0.0f};
    for (int i = 0; i <= kSag; ++i) {
        const float t = static_cast<float>(i) / kSag;
        (*linePoints)[i] = from + (to - from) * t - Vector3{0, 0.8f * 4.0f * t * (1.0f - t), 0};
        (*lineIndices)[i] = i;
    }
    ropes->SetVertices(ropePoints);
    ropes->SetIndices(ropeIndices);
    ropes->SetEffect(PlainColor({0.35f, 0.3f, 0.22f, 1.0f}));
    ropes->UpdateModel(false, false);
    washing->SetVertices(linePoints);
    washing->SetIndices(lineIndices);
    washing->SetEffect(PlainColor({0.9f, 0.9f, 0.88f, 1.0f}));
    washing->UpdateModel(false, false);
    return AddChild(world.shadowed, ropes) && AddChild(world.shadowed, washing) &&
                   AddChild(world.shadowed, MakeShape(dinghy, "Dinghy", PlainColor({0.55f, 0.2f, 0.15f, 1.0f})))
               ? 0
               : 1;
}

// The windows are dark until the village shot switches their lights on:
// they grow from nothing in half a second and stay.
int BuildWindowLights(ShowWorld& world, ShowLife& life) {
    Pose off, on;
    off.scale = {0.0001f, 0.0001f, 0.0001f};
    life.windowLights = AnimateNode(*world.windows, "Lights On", {off, on, on}, 600.0, {0.0, 0.001, 0.999});
    if (life.windowLights == nullptr) return 1;
    life.windowLights->SetActive(false);
    world.windows->GetLocal().scale = off.scale;
    return 0;
}

// Gulls gliding in wide banked circles over the harbour.
int BuildGulls(ShowAssets& assets, ShowWorld& world) {
    Pointer<TextureEffect> feathers = new (std::nothrow) TextureEffect();
    if (feathers == nullptr) return 1;
    feathers->SetTexture(assets.File("gull.tga"));
    feathers->alphaTest = true;
    feathers->alphaReference = 100;
    feathers->cullEnable = false;
    struct Circle {
        Vector3 center;
        float radius, period, phase;
    };
    const Circle circles[] = {{{10, 24, -20}, 30, 17, 0.0f},
                              {{30, 30, -35}, 42, 23, 2.0f},
                              {{-10, 20, -10}, 22, 13, 4.0f},
                              {{60, 27, -50}, 35, 19, 1.0f}};
    for (const Circle& circle : circles) {
        MeshBuilder wings;
        wings.AddQuad({-0.8f, 0, -0.8f}, {0.8f, 0, -0.8f}, {0.8f, 0, 0.8f}, {-0.8f, 0, 0.8f}, {0, -1, 0});
        Pointer<Triangles> gull = MakeShape(wings, "Gull", feathers);
        if (gull == nullptr) return 1;
        std::vector<Pose> flight;
        const int steps = 12;
        for (int k = 0; k < steps; ++k) {
            const float a = circle.phase + 2.0f * kPi * k / steps;
            const Vector3 at = circle.center + Vector3{circle.radius * std::cos(a), 1.5f * std::sin(2.0f * a),
                                                       circle.radius * std::sin(a)};
            // Flying along the circle's tangent, banked into the turn.
            const Vector3 ahead{-std::sin(a), 0.0f, std::cos(a)};
            flight.push_back({at, Quaternion::LookAlong(ahead) * Quaternion::FromAxisAngle({0, 0, 1}, 0.35f)});
        }
        if (AnimateNode(*gull, "Gliding", flight, circle.period) == nullptr || !AddChild(world.glows, gull)) return 1;
    }
    return 0;
}

int BuildSounds(ShowWorld& world, ShowLife& life) {
    life.sounds = MakeGroup("Sounds");
    Pointer<SoundNode> music = new (std::nothrow) SoundNode(String("Music"));
    Pointer<SoundNode> sea = new (std::nothrow) SoundNode(String("Surf"));
    Pointer<SoundNode2> gulls = new (std::nothrow) SoundNode2(String("Gulls"));
    Pointer<SoundNode> bell = new (std::nothrow) SoundNode(String("Buoy Bell"));
    Pointer<SoundNodeAnimationController> ringing = new (std::nothrow) SoundNodeAnimationController();
    Pointer<SoundNodeAnimation> strokes = new (std::nothrow) SoundNodeAnimation();
    if (life.sounds == nullptr || music == nullptr || sea == nullptr || gulls == nullptr || bell == nullptr ||
        ringing == nullptr || strokes == nullptr)
        return 1;
    music->SetFileName(String("music.ogg"));
    music->SetLoop(true);
    music->SetVolume(60);
    sea->SetFileName(String("sea.ogg"));
    sea->Set3D(true);
    sea->SetLoop(true);
    sea->SetMinDistance(30.0f);
    sea->SetVolume(80);
    sea->GetLocal().translation = {20.0f, 0.0f, ShoreZ(20.0f) - 12.0f};
    gulls->SetFileNames(String("gull1.ogg"), String("gull2.ogg"));
    gulls->Set3D(true);
    gulls->SetMinDistance(25.0f);
    gulls->SetVolume(70);
    gulls->SetInterval(5.0f, 3.0f);
    gulls->GetLocal().translation = {20.0f, 18.0f, -20.0f};
    bell->SetFileName(String("bell.ogg"));
    bell->Set3D(true);
    bell->SetMinDistance(15.0f);
    bell->SetVolume(70);
    bell->GetLocal().translation = {70.0f, 1.0f, -75.0f};
    // The buoy's bell strikes once every nine seconds.
    strokes->SetName(String("Bell Strokes"));
    if (AddSwitchKeys(*strokes, {{0.0, true}, {0.5, false}}) != 0) return 1;
    if (PlayLooping(*ringing, strokes, 9.0) != 0 || bell->AttachController(ringing) != 0) return 1;
    MeshBuilder buoy;
    buoy.AddCylinder({0, -0.5f, 0}, 0.7f, 0.3f, 2.2f, 10, 1.0f, true);
    Pointer<Triangles> buoyNode = MakeShape(buoy, "Buoy", PlainColor({0.75f, 0.15f, 0.1f, 1.0f}));
    if (buoyNode == nullptr) return 1;
    std::vector<Pose> bob;
    for (int k = 0; k < 4; ++k)
        bob.push_back({{70.0f, 0.25f * std::sin(0.5f * kPi * k), -75.0f},
                       Quaternion::FromAxisAngle({1, 0, 0}, 0.08f * std::cos(0.5f * kPi * k))});
    if (AnimateNode(*buoyNode, "Bobbing", bob, 4.0) == nullptr) return 1;
    return AddChild(life.sounds, music) && AddChild(life.sounds, sea) && AddChild(life.sounds, gulls) && AddChild(life.sounds, bell) &&
                   AddChild(world.shadowed, buoyNode)
               ? 0
               : 1;
}

}  // namespace

int BuildLife(ShowAssets& assets, ShowWorld& world, ShowLife& life) {
    if (BuildCar(assets, world, life) != 0 || BuildBoat(assets, world, life) != 0 || BuildSails(world) != 0 ||
        BuildFlag(assets, world, life) != 0 || BuildParticles(assets, world) != 0 || BuildLines(world) != 0 ||
        BuildWindowLights(world, life) != 0 || BuildGulls(assets, world) != 0 || BuildSounds(world, life) != 0)
        return 1;
    return 0;
}

}  // namespace zel
