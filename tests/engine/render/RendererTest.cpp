#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/render/PostUpdateController.h"
#include "engine/render/WindowSystem.h"
#include "engine/resources/InternalModule.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Light.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/Triangles.h"
#include "support/RecordingEffect.h"
#include "support/RecordingOutput.h"
#include "support/RecordingRenderer.h"

namespace zel {
namespace {

using test::RecordingEffect;
using test::RecordingRenderer;

// A window system that logs its calls; creation and destruction results are
// settable.
class FakeWindowSystem : public WindowSystem {
public:
    int32_t OpenSystemWindow(void** window, const char* title, void*, bool fullScreen, int32_t bitsPerPixel,
                             int32_t x, int32_t y, int32_t width, int32_t height) override {
        calls.push_back("Open(" + std::string(title) + ", " + (fullScreen ? "full" : "windowed") + ", " +
                        std::to_string(bitsPerPixel) + ", " + std::to_string(x) + ", " + std::to_string(y) + ", " +
                        std::to_string(width) + ", " + std::to_string(height) + ")");
        if (openResult == kOk) *window = &handle;
        return openResult;
    }
    int32_t CloseSystemWindow(void* window) override {
        calls.push_back(window == &handle ? "Close(window)" : "Close(other)");
        return closeResult;
    }

    std::vector<std::string> calls;
    int32_t openResult = kOk;
    int32_t closeResult = kOk;
    int handle = 0;
};

// Logs its renders into the renderer's call list.
class RenderProbe : public PostUpdateController {
public:
    explicit RenderProbe(const char* name) { SetName(String(name)); }
    void Render(Renderer& renderer) override {
        static_cast<RecordingRenderer&>(renderer).calls.push_back("Render(" + std::string(GetName().CStr()) + ")");
    }
};

DisplayModeEntry ModeEntry(uint32_t width, uint32_t height, bool fullScreen) {
    DisplayModeEntry entry;
    entry.width = width;
    entry.height = height;
    entry.fullScreen = fullScreen;
    entry.colorBits = 32;
    entry.alphaBits = 8;
    entry.depthBits = 24;
    entry.stencilBits = 8;
    return entry;
}

struct RendererWindow : ::testing::Test {
    RendererWindow() {
        renderer->AddMode(ModeEntry(1024, 768, true));
        renderer->AddMode(ModeEntry(0, 0, false));
        SetWindowSystem(&windows);
    }
    ~RendererWindow() override {
        renderer = nullptr;
        SetWindowSystem(nullptr);
    }
    FakeWindowSystem windows;
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
};

// Window.

TEST_F(RendererWindow, FullScreenModesTakeTheEntrySizeAtTheOrigin) {
    ASSERT_EQ(renderer->OpenWindow(0, "Zel", nullptr, 10, 20, 640, 480), kOk);
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"Open(Zel, full, 32, 0, 0, 1024, 768)"}));
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"CreateDevice(0, Zel, 10, 20, 640, 480)"}));
    EXPECT_TRUE(renderer->IsWindowOpen());
    EXPECT_EQ(renderer->GetWidth(), 1024);
    EXPECT_EQ(renderer->GetDepthBits(), 24);
}

TEST_F(RendererWindow, OpeningAgainClosesTheOpenWindowFirst) {
    ASSERT_EQ(renderer->OpenWindow(1, "A", nullptr, 10, 20, 640, 480), kOk);
    renderer->SetCamera(new Camera());
    ASSERT_EQ(renderer->OpenWindow(0, "B", nullptr, 0, 0, 0, 0), kOk);
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"Open(A, windowed, 32, 10, 20, 640, 480)", "Close(window)",
                                                       "Open(B, full, 32, 0, 0, 1024, 768)"}));
    EXPECT_EQ(renderer->Filter({"CreateDevice", "DestroyDevice"}),
              (std::vector<std::string>{"CreateDevice(1, A, 10, 20, 640, 480)", "DestroyDevice()",
                                        "CreateDevice(0, B, 0, 0, 0, 0)"}));
    EXPECT_EQ(renderer->GetCamera(), nullptr);
}

TEST_F(RendererWindow, BadModesAndMissingWindowsFailWithoutCreatingAnything) {
    test::LogCapture capture;
    EXPECT_EQ(renderer->OpenWindow(2, "Zel", nullptr, 0, 0, 0, 0), kInvalidArgument);
    EXPECT_EQ(renderer->OpenWindow(-1, "Zel", nullptr, 0, 0, 0, 0), kInvalidArgument);
    EXPECT_TRUE(windows.calls.empty());
    windows.openResult = kFailed;
    EXPECT_EQ(renderer->OpenWindow(0, "Zel", nullptr, 0, 0, 0, 0), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Создание окна неудачно."));
    SetWindowSystem(nullptr);
    EXPECT_EQ(renderer->OpenWindow(0, "Zel", nullptr, 0, 0, 0, 0), kFailed);
    EXPECT_TRUE(renderer->calls.empty());
    EXPECT_FALSE(renderer->IsWindowOpen());
}

TEST_F(RendererWindow, ClosingDestroysTheDeviceThenTheWindow) {
    test::LogCapture capture;
    EXPECT_EQ(renderer->CloseWindow(), kInvalidArgument);
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"DestroyDevice()"}));

    ASSERT_EQ(renderer->OpenWindow(0, "Zel", nullptr, 0, 0, 0, 0), kOk);
    renderer->destroyDeviceResult = kFailed;
    EXPECT_EQ(renderer->CloseWindow(), kFailed);
    EXPECT_TRUE(renderer->IsWindowOpen());
    renderer->destroyDeviceResult = kOk;
    windows.closeResult = kFailed;
    EXPECT_EQ(renderer->CloseWindow(), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Закрытие окна неудачно."));
    EXPECT_EQ(renderer->OpenWindow(0, "Again", nullptr, 0, 0, 0, 0), kFailed);
    windows.closeResult = kOk;
    EXPECT_EQ(renderer->CloseWindow(), kOk);
    EXPECT_FALSE(renderer->IsWindowOpen());
}

// Frames.

TEST(Renderer, BeginFrameMakesADefaultCameraAndResetsItsMask) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    EXPECT_EQ(renderer->BeginFrame(), kOk);
    Camera* camera = renderer->GetCamera();
    ASSERT_NE(camera, nullptr);
    EXPECT_TRUE(camera->GetName().IsEmpty());
    EXPECT_FLOAT_EQ(camera->GetProjection().m[1][1], 2.4142137f);
    camera->SetPlaneMask(3);
    EXPECT_EQ(renderer->BeginFrame(), kOk);
    EXPECT_EQ(renderer->GetCamera(), camera);
    EXPECT_EQ(camera->GetPlaneMask(), -1);
}

TEST(Renderer, PreRenderQueueRendersEachObjectOnceEvenWhenTheDeviceIsLost) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<RenderProbe> first = new RenderProbe("first"), second = new RenderProbe("second");
    renderer->QueuePreRender(first);
    renderer->QueuePreRender(second);
    renderer->QueuePreRender(first);
    renderer->QueuePreRender(nullptr);
    EXPECT_EQ(renderer->GetPreRenderCount(), 2);
    renderer->beginSceneResult = 1;
    EXPECT_EQ(renderer->BeginFrame(), 1);
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"BeginScene()", "Render(first)", "Render(second)"}));
    EXPECT_EQ(renderer->GetPreRenderCount(), 0);
}

TEST(Renderer, ActivePostUpdateControllersQueueOnTheCurrentRenderer) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    SetCurrentRenderer(renderer);
    Pointer<RenderProbe> probe = new RenderProbe("probe");
    probe->Update(0.1);
    probe->Update(0.1);
    EXPECT_EQ(renderer->GetPreRenderCount(), 1);
    renderer->BeginFrame();
    probe->SetActive(false);
    probe->Update(0.1);
    EXPECT_EQ(renderer->GetPreRenderCount(), 0);
    SetCurrentRenderer(nullptr);
    probe->SetActive(true);
    probe->Update(0.1);
}

Vector3 gListenerPosition;
Vector3 gListenerDirection;
Vector3 gListenerUp;
int gListenerCalls = 0;

void RecordListener(const Vector3& position, const Vector3& direction, const Vector3& up) {
    gListenerPosition = position;
    gListenerDirection = direction;
    gListenerUp = up;
    ++gListenerCalls;
}

TEST(Renderer, TheCameraBecomesTheSoundListener) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<Camera> camera = new Camera();
    camera->SetLocal(Transform::Make({1, 1, 1}, Quaternion::FromAxisAngle({0, 1, 0}, kHalfPi), {1, 2, 3}));
    renderer->SetCamera(camera);
    const SoundListenerHook saved = GetSoundListenerHook();
    SetSoundListenerHook(nullptr);
    renderer->BeginFrame();
    EXPECT_EQ(gListenerCalls, 0);
    SetSoundListenerHook(&RecordListener);
    renderer->BeginFrame();
    SetSoundListenerHook(saved);
    EXPECT_EQ(gListenerCalls, 1);
    EXPECT_EQ(gListenerPosition, (Vector3{1, 2, 3}));
    EXPECT_EQ(gListenerDirection, camera->GetDirection());
    EXPECT_EQ(gListenerUp, camera->GetUp());
}

// Deferred drawing.

Pointer<Triangles> Drawable(const char* name, bool blended) {
    Pointer<Triangles> node = new Triangles(String(name));
    node->SetVertices(new Vector3Buffer(3, nullptr));
    node->SetIndices(new IntBuffer(3, new int32_t[3]{0, 1, 2}));
    Pointer<RecordingEffect> effect = new RecordingEffect();
    effect->blendEnable = blended;
    node->SetEffect(effect);
    return node;
}

TEST(Renderer, DeferredNodesDrawFarthestFirstThenUnsortedInOrder) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    renderer->AddDeferred(Drawable("five", true), 5);
    renderer->AddDeferred(Drawable("one", true), 1);
    renderer->AddUnsortedDeferred(Drawable("u1", true));
    renderer->AddDeferred(Drawable("three", true), 3);
    renderer->AddUnsortedDeferred(Drawable("u2", true));
    renderer->FlushDeferred();
    EXPECT_EQ(renderer->Filter({"DrawIndexed"}),
              (std::vector<std::string>{"DrawIndexed(five)", "DrawIndexed(three)", "DrawIndexed(one)",
                                        "DrawIndexed(u1)", "DrawIndexed(u2)"}));
    EXPECT_EQ(renderer->GetDeferredCount(), 0);
    renderer->ClearCalls();
    renderer->FlushDeferred();
    EXPECT_TRUE(renderer->calls.empty());
}

TEST(Renderer, AFrameDrawsBlendedGeometryAfterTheOpaqueFarthestFirst) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<SceneNode> root = new SceneNode(String("root"), 0, 4);
    const struct {
        const char* name;
        bool blended;
        float z;
    } nodes[] = {{"nearGlass", true, 5}, {"wall", false, 20}, {"farGlass", true, 30}, {"floor", false, 8}};
    for (const auto& n : nodes) {
        Pointer<Triangles> node = Drawable(n.name, n.blended);
        node->SetLocal(Transform::Make({1, 1, 1}, Quaternion::Identity(), {0, 0, n.z}));
        node->UpdateModel(false, false);
        root->AppendChild(node);
    }
    root->Update(0, true);
    renderer->Clear(Renderer::kClearColor | Renderer::kClearDepth, ColorRGBA{0.25f, 0.5f, 0.75f, 1}, 1.0f, 0);
    ASSERT_EQ(renderer->BeginFrame(), kOk);
    root->DrawVisible(*renderer);
    renderer->EndFrame();
    EXPECT_EQ(renderer->Filter({"Clear", "BeginScene", "DrawIndexed", "EndScene"}),
              (std::vector<std::string>{"Clear(3)", "BeginScene()", "DrawIndexed(wall)", "DrawIndexed(floor)",
                                        "DrawIndexed(farGlass)", "DrawIndexed(nearGlass)", "EndScene()"}));
    EXPECT_EQ(renderer->GetClearColor(), (ColorRGBA{0.25f, 0.5f, 0.75f, 1}));
    EXPECT_EQ(renderer->GetCurrentGeometry(), nullptr);
    EXPECT_EQ(renderer->GetCurrentPass(), nullptr);
}

// Lights.

TEST(Renderer, EmptyingTheLightStackDisablesAfterEachPop) {
    Pointer<RecordingRenderer> renderer = new RecordingRenderer();
    Pointer<Light> a = new Light(Light::kPoint, String("a")), b = new Light(Light::kSpot, String("b"));
    renderer->PushLight(a);
    renderer->EnableLight(a);
    renderer->PushLight(b);
    renderer->EnableLight(b);
    EXPECT_EQ(renderer->GetLight(1), b.Get());
    renderer->EmptyLightStack();
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"EnableLight(a, 0)", "EnableLight(b, 1)", "DisableLight(1)",
                                                         "DisableLight(0)"}));
    EXPECT_EQ(b->GetReferenceCount(), 1);
    renderer->PopLight();
    EXPECT_EQ(renderer->GetLightCount(), 0);
}

// Loading.

int32_t CreateRecordingRenderer(Renderer** renderer) {
    *renderer = new RecordingRenderer();
    return kOk;
}

int32_t RefuseRenderer(Renderer** renderer) {
    *renderer = nullptr;
    return kFailed;
}

int32_t NotARenderer(Codec**) { return kFailed; }

TEST(Renderer, LoadRendererReportsEachMissingStep) {
    test::LogCapture capture;
    EXPECT_EQ(LoadRenderer(String("NoSuchRendererModule")), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogError, "Невозможно загрузить библиотеку рендерера [NoSuchRendererModule]."));

    ASSERT_EQ(RegisterInternalModule("RendererTestCodecOnly", "CreateCodec", reinterpret_cast<ModuleSymbol>(&NotARenderer)),
              kOk);
    EXPECT_EQ(LoadRenderer(String("RendererTestCodecOnly")), kInvalidArgument);
    EXPECT_TRUE(capture->Contains(kLogError, "В модуле не найдена функция создания рендерера [RendererTestCodecOnly]."));

    ASSERT_EQ(RegisterInternalModule("RendererTestRefuses", "CreateRenderer",
                                     reinterpret_cast<ModuleSymbol>(&RefuseRenderer)),
              kOk);
    EXPECT_EQ(LoadRenderer(String("RendererTestRefuses")), kFailed);
    EXPECT_TRUE(capture->Contains(kLogError, "Создание рендерера [RendererTestRefuses] неудачно."));
    EXPECT_EQ(GetCurrentRenderer(), nullptr);
}

TEST(Renderer, LoadRendererMakesTheRendererCurrentAndHoldsItsModule) {
    ASSERT_EQ(RegisterInternalModule("RendererTestWorks", "CreateRenderer",
                                     reinterpret_cast<ModuleSymbol>(&CreateRecordingRenderer)),
              kOk);
    ASSERT_EQ(LoadRenderer(String("RendererTestWorks")), kOk);
    Renderer* renderer = GetCurrentRenderer();
    ASSERT_NE(renderer, nullptr);
    ASSERT_NE(renderer->GetModule(), nullptr);
    EXPECT_EQ(std::string(renderer->GetModule()->GetName().CStr()), "RendererTestWorks");
    EXPECT_EQ(renderer->GetReferenceCount(), 1);
    SetCurrentRenderer(nullptr);
}

}  // namespace
}  // namespace zel
