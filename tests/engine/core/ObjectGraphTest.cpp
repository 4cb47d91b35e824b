#include <gtest/gtest.h>

#include "engine/animation/ScreensaverController.h"
#include "engine/animation/TargetCameraController.h"
#include "engine/core/ObjectGraph.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneNode.h"

namespace zel {
namespace {

int gLive = 0;

struct CountedNode : SceneNode {
    CountedNode() : SceneNode(String("Root"), 0, 4) { ++gLive; }
    ~CountedNode() override { --gLive; }
};

struct CountedCamera : Camera {
    CountedCamera() : Camera(String("Camera01")) { ++gLive; }
    ~CountedCamera() override { --gLive; }
};

// root → camera → target controller → root, and root → director → camera.
TEST(ObjectGraphTest, BreakingLinksFreesAGraphWithCycles) {
    gLive = 0;
    {
        Pointer<CountedNode> root = new CountedNode();
        Pointer<CountedCamera> camera = new CountedCamera();
        ASSERT_EQ(root->AppendChild(camera), 0);
        Pointer<TargetCameraController> aim = new TargetCameraController();
        aim->SetTarget(root);
        ASSERT_EQ(camera->AttachController(aim), 0);
        Pointer<ScreensaverController> director = new ScreensaverController();
        ASSERT_EQ(director->AddSet(camera, 0.0, 1.0), 0);
        ASSERT_EQ(root->AttachController(director), 0);
        EXPECT_EQ(gLive, 2);
        // The two nodes, their controllers and their bounds.
        EXPECT_GE(BreakObjectLinks(root), 4);
    }
    EXPECT_EQ(gLive, 0);
}

TEST(ObjectGraphTest, NullRootVisitsNothing) { EXPECT_EQ(BreakObjectLinks(nullptr), 0); }

}  // namespace
}  // namespace zel
