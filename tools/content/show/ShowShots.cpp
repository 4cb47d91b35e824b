#include "tools/content/show/ShowShots.h"

#include <cmath>
#include <cstdio>
#include <new>
#include <vector>

#include "engine/animation/BoolAnimation.h"
#include "engine/animation/CameraActivateAnimationController.h"
#include "engine/animation/NodeAnimationController.h"
#include "engine/animation/ScreensaverController.h"
#include "engine/animation/TargetCameraController.h"
#include "engine/math/MathConstants.h"
#include "engine/scene/Camera.h"
#include "engine/scene/FPCamera.h"
#include "engine/scene/SceneNode.h"
#include "tools/content/show/HarbourLayout.h"
#include "tools/content/show/ShowLife.h"
#include "tools/content/show/ShowMotion.h"

namespace zel {

namespace {

using namespace harbour;

enum class Follow { kNothing, kCar, kBoat };

// One shot: the camera glides through `path`, looking at the matching
// points of `look` (or at what it follows).
struct Shot {
    std::vector<Vector3> path;
    std::vector<Vector3> look;
    double seconds;
    Follow follow = Follow::kNothing;
    float fov = 0.785f;
    bool lightsOn = false;  // the windows light up during the shot
    bool freeCamera = false;
};

// A point `above` metres over the ground at (x, z).
Vector3 Over(float x, float z, float above) { return {x, GroundHeight(x, z) + above, z}; }

// Muted shots (no car to be heard) are 03, 04, 06, 11, 17 and 18: the
// lighthouse, the pond, the breakwater, the open sea, the headland and the
// boat far out.
std::vector<Shot> Shots() {
    const Vector3 light = LighthouseBase(), mill = WindmillBase(), pond = PondCenter();
    const Vector3 lamp = light + Vector3{0, kLighthouseHeight + 2.0f, 0};
    const float quay = ShoreZ(0.0f);
    const Vector3 spray = BreakwaterEnd() + Vector3{0.0f, 1.0f, 0.0f};
    const Vector3 flag{kQuayEast - 4.0f, kQuayLevel + 8.0f, ShoreZ(kQuayEast) - 3.0f};
    const Vector3 chimney = SmokingChimney();
    std::vector<Shot> shots;
    // 01 The harbour from the hill behind the houses, the sun going down.
    shots.push_back({{Over(0, 95, 24), Over(25, 88, 22), Over(45, 92, 23)},
                     {{-10, 0, -90}, {10, 0, -100}, {25, 0, -95}},
                     18.0});
    // 02 Along the quay at eye level.
    shots.push_back({{{-24, 4.0f, quay - 6}, {10, 4.2f, quay - 7}, {40, 4.0f, quay - 7}},
                     {{30, 5, quay + 10}, {70, 4, quay + 4}, {110, 3, quay - 10}},
                     17.0});
    // 03 Round the lighthouse lantern.
    shots.push_back({{lamp + Vector3{26, 4, -14}, lamp + Vector3{4, 6, -30}, lamp + Vector3{-22, 3, -18}},
                     {lamp, lamp, lamp},
                     16.0});
    // 04 The pond and its fireflies, low over the water.
    shots.push_back({{pond + Vector3{-11, PondLevel() + 2.4f, -5}, pond + Vector3{-8, PondLevel() + 2.2f, 6},
                      pond + Vector3{2, PondLevel() + 2.6f, 10}},
                     {pond + Vector3{5, PondLevel(), 0}, pond + Vector3{8, PondLevel() + 1, -4},
                      pond + Vector3{0, PondLevel() + 2, -10}},
                     16.0});
    // 05 The village as its windows light up.
    shots.push_back({{{40, 6.0f, quay - 14}, {30, 5.0f, quay - 8}, {22, 4.5f, quay - 4}},
                     {{20, 6, quay + 20}, {18, 6, quay + 20}, {15, 6, quay + 20}},
                     18.0, Follow::kNothing, 0.785f, true});
    // 06 The breakwater's end against the sunset.
    shots.push_back({{spray + Vector3{18, 3, 14}, spray + Vector3{22, 2.5f, 4}, spray + Vector3{20, 2, -6}},
                     {spray, spray + Vector3{-10, 2, -10}, spray + Vector3{-30, 5, -30}},
                     15.0});
    // 07 Following the car from above the road.
    shots.push_back({{Over(-215, 60, 14), Over(-180, 70, 16), Over(-140, 72, 15)}, {}, 16.0, Follow::kCar});
    // 08 The boat seen from the quay.
    shots.push_back({{{70, 5.0f, quay - 10}, {60, 5.5f, quay - 11}, {48, 5.0f, quay - 10}}, {}, 16.0, Follow::kBoat});
    // 09 A high sweep over the whole bay.
    shots.push_back({{{-120, 70, 60}, {0, 80, 90}, {120, 70, 60}},
                     {{-60, 0, -40}, {0, 0, -60}, {60, 0, -40}},
                     20.0, Follow::kNothing, 0.9f, false, true});
    // 10 Around the windmill on the hill.
    shots.push_back({{mill + Vector3{-22, 6, -18}, mill + Vector3{0, 8, -28}, mill + Vector3{22, 6, -18}},
                     {mill + Vector3{0, 10, 0}, mill + Vector3{0, 11, 0}, mill + Vector3{0, 10, 0}},
                     16.0});
    // 11 Out on the water, looking back at the harbour.
    shots.push_back({{{-20, 3.0f, -150}, {10, 3.5f, -140}, {40, 3.0f, -150}},
                     {{-10, 8, 20}, {15, 8, 20}, {40, 8, 20}},
                     16.0});
    // 12 The flag on the quay's mast.
    shots.push_back({{flag + Vector3{-6, -2, -7}, flag + Vector3{-3, -1, -9}, flag + Vector3{1, -2, -8}},
                     {flag + Vector3{1.5f, -1, 0}, flag + Vector3{1.6f, -1, 0}, flag + Vector3{1.7f, -1, 0}},
                     14.0, Follow::kNothing, 0.7f});
    // 13 The car passes a fixed camera by the road.
    shots.push_back({{Over(-150, 60, 3), Over(-149, 60, 3.2f), Over(-148, 60, 3)}, {}, 14.0, Follow::kCar});
    // 14 Smoke rising over the roofs.
    shots.push_back({{chimney + Vector3{-20, -6, -18}, chimney + Vector3{-14, 0, -22}, chimney + Vector3{-6, 6, -24}},
                     {chimney + Vector3{0, 2, 0}, chimney + Vector3{2, 5, 2}, chimney + Vector3{4, 8, 4}},
                     15.0});
    // 15 Spray on the breakwater, close.
    shots.push_back({{spray + Vector3{-16, 4, 10}, spray + Vector3{-14, 3, 6}, spray + Vector3{-12, 3.5f, 2}},
                     {spray, spray + Vector3{0, 1, 0}, spray + Vector3{2, 1, -2}},
                     14.0});
    // 16 Trees and grass on the slope, the sea below.
    shots.push_back({{Over(-90, 60, 2.2f), Over(-80, 52, 2.5f), Over(-70, 45, 2.4f)},
                     {Over(-60, 10, 0), Over(-40, 0, 0), Over(-20, -10, 0)},
                     16.0});
    // 17 The lighthouse from the headland's cliff. The lamp stands off the
    // screen's middle, so its lens-flare elements spread across the view.
    const Vector3 aside{-6, -8, 6};
    shots.push_back({{light + Vector3{60, 6, 35}, light + Vector3{55, 8, 45}, light + Vector3{45, 7, 55}},
                     {lamp + aside, lamp + aside + Vector3{0, 1, 0}, lamp + aside + Vector3{0, 2, 0}},
                     16.0, Follow::kNothing, 0.6f});
    // 18 The boat far out, from high above.
    shots.push_back({{{-40, 45, -160}, {0, 50, -170}, {50, 45, -160}}, {}, 16.0, Follow::kBoat});
    return shots;
}

Pointer<Camera> MakeCamera(const Shot& shot, int number) {
    char name[24];
    std::snprintf(name, sizeof name, "Camera%02d", number);
    Pointer<Camera> camera = shot.freeCamera ? new (std::nothrow) FPCamera(String(name))
                                             : new (std::nothrow) Camera(String(name));
    if (camera == nullptr) return nullptr;
    camera->SetFov(shot.fov);
    camera->SetNearPlane(0.5f);
    camera->SetFarPlane(30000.0f);
    return camera;
}

// The window lights follow these keys: dark for the first third of the
// shot, then on.
Pointer<BoolAnimation> LightsOnCue() {
    Pointer<BoolAnimation> cue = new (std::nothrow) BoolAnimation();
    if (cue == nullptr) return nullptr;
    cue->SetName(String("Dusk"));
    return AddSwitchKeys(*cue, {{0.0, false}, {0.35, true}}) == 0 ? cue : nullptr;
}

int Direct(Camera& camera, const Shot& shot, const ShowLife& life) {
    std::vector<Pose> poses;
    const Vector3 ahead = shot.follow == Follow::kCar ? life.car->GetLocal().translation
                                                      : (shot.follow == Follow::kBoat ? Vector3{25, 0, -70} : Vector3{});
    for (size_t i = 0; i < shot.path.size(); ++i)
        poses.push_back(Looking(shot.path[i], shot.look.empty() ? ahead : shot.look[i]));
    camera.GetLocal() = Transform::Make({1, 1, 1}, poses[0].rotation, poses[0].translation);
    // The path first: the director takes the oldest animation controller
    // of the camera as the shot's, and the activation controller must not
    // be it.
    Pointer<NodeAnimationController> glide = AnimateNode(camera, "Glide", poses, shot.seconds);
    Pointer<CameraActivateAnimationController> activate = new (std::nothrow) CameraActivateAnimationController();
    if (glide == nullptr || activate == nullptr) return 1;
    glide->SetActive(false);
    activate->SetCameraController(glide);
    if (shot.lightsOn && (PlayLooping(*activate, LightsOnCue(), shot.seconds) != 0 ||
                          activate->AddLinkedController(life.windowLights) != 0))
        return 1;
    if (shot.follow != Follow::kNothing) {
        Pointer<TargetCameraController> aim = new (std::nothrow) TargetCameraController();
        if (aim == nullptr) return 1;
        aim->SetTarget(shot.follow == Follow::kCar ? life.car : life.boat);
        if (camera.AttachController(aim) != 0) return 1;
    }
    return camera.AttachController(activate) == 0 ? 0 : 1;
}

}  // namespace

int BuildShots(SceneNode& root, SceneNode& cameras, const ShowLife& life) {
    Pointer<ScreensaverController> director = new (std::nothrow) ScreensaverController();
    if (director == nullptr) return 1;
    const std::vector<Shot> shots = Shots();
    for (size_t i = 0; i < shots.size(); ++i) {
        Pointer<Camera> camera = MakeCamera(shots[i], static_cast<int>(i) + 1);
        if (camera == nullptr || Direct(*camera, shots[i], life) != 0 || cameras.AppendChild(camera) != 0)
            return 1;
        if (director->AddSet(camera, 0.4, shots[i].seconds) != 0) return 1;
    }
    return root.AttachController(director) == 0 ? 0 : 1;
}

}  // namespace zel
