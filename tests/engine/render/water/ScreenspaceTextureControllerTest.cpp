// The water's screen-space images through the recording renderer: the
// target pushed and popped around the nodes, the mirror flag only while the
// reflection is drawn, the camera's matrices as they were afterwards, the
// mirror plane at the water node's height (y = 0 without one), no image
// while the water is out of view, the film band, and the streamed fields.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/render/Renderer.h"
#include "engine/render/texture/Texture.h"
#include "engine/render/water/RenderScreenspaceReflectTextureController.h"
#include "engine/render/water/RenderScreenspaceRefractTextureController.h"
#include "engine/render/water/WaterPlaneCamera.h"
#include "engine/scene/Camera.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/SphereBoundingVolume.h"
#include "support/MathExpect.h"
#include "support/RecordingRenderer.h"
#include "support/StreamRoundTrip.h"

namespace zel {
namespace {

using test::RecordingRenderer;

// Notes, when drawn, the mirror flag and the camera's view.
class WitnessNode : public Node {
public:
    void Draw(Renderer& renderer) override {
        mirrored = renderer.IsMirrored();
        view = renderer.GetCamera()->GetView();
        ++draws;
    }

    bool mirrored = false;
    Matrix4 view;
    int32_t draws = 0;
};

template <class C>
struct ScreenspaceRendering : ::testing::Test {
    ScreenspaceRendering() {
        camera->GetLocal().translation = {1.0f, 3.0f, -4.0f};
        camera->LookAlong(Normalize(Vector3{0.0f, -0.3f, 1.0f}));
        camera->Update(0.0, false);
        renderer->SetCamera(camera);
        target->AttachController(controller);
        EXPECT_EQ(controller->GetNodes().Add(witness), kOk);
    }

    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<Camera> camera = new Camera(String("camera"));
    Pointer<Texture> target = new Texture(nullptr, String("water image"));
    Pointer<C> controller = new C();
    Pointer<WitnessNode> witness = new WitnessNode();
};

using ReflectRendering = ScreenspaceRendering<RenderScreenspaceReflectTextureController>;
using RefractRendering = ScreenspaceRendering<RenderScreenspaceRefractTextureController>;

TEST_F(ReflectRendering, NodesAreDrawnMirroredIntoTheTarget) {
    const Matrix4 view = camera->GetView(), projection = camera->GetProjection();
    controller->Render(*renderer);
    EXPECT_EQ(renderer->Filter({"SetRenderTarget", "Clear"}),
              (std::vector<std::string>{"SetRenderTarget(water image)", "Clear(3)", "SetRenderTarget(null)"}));
    EXPECT_EQ(witness->draws, 1);
    EXPECT_TRUE(witness->mirrored);
    EXPECT_FALSE(renderer->IsMirrored());
    EXPECT_TRUE(test::NearMatrix(camera->GetView(), view));
    EXPECT_TRUE(test::NearMatrix(camera->GetProjection(), projection));
    EXPECT_TRUE(test::NearMatrix(camera->GetViewProjection(), view * projection));
}

TEST_F(ReflectRendering, WithoutAWaterNodeTheMirrorIsYZero) {
    const Matrix4 view = camera->GetView();
    controller->Render(*renderer);
    EXPECT_TRUE(test::NearMatrix(witness->view, MirrorAboutHeight(0.0f) * view));
}

TEST_F(ReflectRendering, TheWaterNodesHeightPlacesTheMirror) {
    Pointer<Node> water = new SceneNode(String("water"), 0, 1);
    water->GetLocal().translation = {5.0f, 1.25f, 0.0f};
    water->Update(0.0, false);
    controller->SetWaterNode(water);
    const Matrix4 view = camera->GetView();
    controller->Render(*renderer);
    EXPECT_TRUE(test::NearMatrix(witness->view, MirrorAboutHeight(1.25f) * view));
}

// The image is drawn only while the water node's bound reaches the view;
// the camera looks towards +z from (1, 3, -4).
TEST_F(ReflectRendering, WaterOutsideTheViewDrawsNoImage) {
    const struct {
        Vector3 center;
        float radius;
        bool drawn;
    } cases[] = {
        {{1.0f, 0.0f, 10.0f}, 1.0f, true},     // ahead
        {{1.0f, 0.0f, -30.0f}, 5.0f, false},   // behind the camera
        {{1.0f, 0.0f, -30.0f}, 40.0f, true},   // behind, but reaching into the view
        {{200.0f, 0.0f, 10.0f}, 5.0f, false},  // far to the side
    };
    for (const auto& c : cases) {
        Pointer<Node> water = new SceneNode(String("water"), 0, 1);
        water->Update(0.0, false);
        auto* sphere = static_cast<SphereBoundingVolume*>(water->GetWorldBound());
        sphere->SetCenter(c.center);
        sphere->SetRadius(c.radius);
        controller->SetWaterNode(water);
        renderer->calls.clear();
        witness->draws = 0;
        controller->Render(*renderer);
        EXPECT_EQ(witness->draws, c.drawn ? 1 : 0) << c.center.x << " " << c.center.z << " r " << c.radius;
        EXPECT_EQ(renderer->Count("SetRenderTarget(water image)"), c.drawn ? 1 : 0);
    }
}

TEST_F(ReflectRendering, FilmFrameRendersTheBandAndRestoresTheViewport) {
    renderer->SetFilmFrame(true);
    controller->Render(*renderer);
    EXPECT_EQ(renderer->Filter({"SetViewport"}),
              (std::vector<std::string>{"SetViewport(0, 75, 800, 450)", "SetViewport(0, 0, 800, 600)"}));
}

TEST_F(ReflectRendering, NothingWithoutATargetTexture) {
    Pointer<RenderScreenspaceReflectTextureController> loose = new RenderScreenspaceReflectTextureController();
    loose->Render(*renderer);
    EXPECT_TRUE(renderer->calls.empty());
}

TEST_F(RefractRendering, NodesAreDrawnUnmirroredFromTheSameView) {
    const Matrix4 view = camera->GetView();
    controller->Render(*renderer);
    EXPECT_EQ(witness->draws, 1);
    EXPECT_FALSE(witness->mirrored);
    EXPECT_TRUE(test::NearMatrix(witness->view, view));
    EXPECT_EQ(renderer->Count("SetRenderTarget(water image)"), 1);
    EXPECT_EQ(renderer->Count("SetRenderTarget(null)"), 1);
}

TEST(RenderScreenspaceTextureController, RoundTripKeepsTheWaterNodeAndTheNodes) {
    Pointer<RenderScreenspaceRefractTextureController> controller = new RenderScreenspaceRefractTextureController();
    controller->SetWaterNode(new SceneNode(String("water"), 0, 1));
    EXPECT_EQ(controller->GetNodes().Add(new SceneNode(String("rock"), 0, 1)), kOk);
    EXPECT_EQ(controller->GetNodes().Add(new SceneNode(String("tree"), 0, 1)), kOk);
    Pointer<RenderScreenspaceRefractTextureController> read = test::RoundTrip(controller.Get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetWaterNode()->GetName(), String("water"));
    ASSERT_EQ(read->GetNodes().Count(), 2);
    EXPECT_EQ(read->GetNodes().Get(1)->GetName(), String("tree"));
}

}  // namespace
}  // namespace zel
