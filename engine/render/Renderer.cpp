#include "engine/render/Renderer.h"

#include <algorithm>
#include <new>

#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/render/PostUpdateController.h"
#include "engine/render/WindowSystem.h"
#include "engine/render/program/SharedShaders.h"
#include "engine/resources/ModuleManager.h"
#include "engine/scene/Camera.h"
#include "engine/scene/GeometryNode.h"
#include "engine/scene/Light.h"

namespace zel {

struct Renderer::DeferredNode {
    Pointer<GeometryNode> node;
    float key = 0.0f;
    int32_t order = 0;  // place in the list, so equal keys keep their order
};

namespace {

Pointer<Renderer> gCurrentRenderer;
SoundListenerHook gSoundListenerHook = nullptr;

// At engine shutdown the renderer's camera goes first (it may hold the
// scene), then the renderer itself.
int32_t ReleaseCurrentRenderer() {
    if (gCurrentRenderer != nullptr) gCurrentRenderer->SetCamera(nullptr);
    // The shared programs hold the renderer that made their device copies.
    SharedShaders::Clear();
    gCurrentRenderer = nullptr;
    return kOk;
}

bool gRendererTerminationRegistered = false;

// Moves every element of `from` to the end of `to`; `from` keeps its block.
template <class T>
void TakeAll(GrowableArray<T>& from, GrowableArray<T>& to) {
    to.Reserve(to.Count() + from.Count());
    for (T& element : from) to.Append(std::move(element));
    from.RemoveFront(from.Count());
}

}  // namespace

void RegisterRendererTermination() {
    if (gRendererTerminationRegistered) return;
    RegisterTermFunction(&ReleaseCurrentRenderer);
    gRendererTerminationRegistered = true;
}

Renderer::Renderer() = default;

Renderer::~Renderer() {
    if (!windowOpen_) return;
    WindowSystem* system = GetWindowSystem();
    if (system == nullptr || system->CloseSystemWindow(window_) != kOk)
        LogError("Невозможно закрыть окно рендеринга.");
}

int32_t Renderer::OpenWindow(int32_t modeIndex, const char* title, void* parentWindow, int32_t x, int32_t y,
                             int32_t width, int32_t height) {
    if (windowOpen_ && CloseWindow() != kOk) {
        LogError("Закрытие окна неудачно.");
        return kFailed;
    }
    const DisplayModeEntry* mode = GetDisplayMode(modeIndex);
    if (mode == nullptr) return kInvalidArgument;
    const bool fullScreen = mode->fullScreen;
    WindowSystem* system = GetWindowSystem();
    void* window = nullptr;
    const int32_t created =
        system == nullptr
            ? kFailed
            : system->OpenSystemWindow(&window, title, parentWindow, fullScreen, static_cast<int32_t>(mode->colorBits),
                                       fullScreen ? 0 : x, fullScreen ? 0 : y,
                                       fullScreen ? static_cast<int32_t>(mode->width) : width,
                                       fullScreen ? static_cast<int32_t>(mode->height) : height);
    if (created != kOk) {
        LogError("Создание окна неудачно.");
        return kFailed;
    }
    windowOpen_ = true;
    window_ = window;
    return CreateDevice(modeIndex, title, parentWindow, x, y, width, height);
}

int32_t Renderer::CloseWindow() {
    camera_ = nullptr;
    currentGeometry_ = nullptr;
    currentPass_ = nullptr;
    if (DestroyDevice() != kOk) return kFailed;
    if (!windowOpen_) return kInvalidArgument;
    WindowSystem* system = GetWindowSystem();
    if (system == nullptr || system->CloseSystemWindow(window_) != kOk) {
        LogError("Закрытие окна неудачно.");
        return kFailed;
    }
    windowOpen_ = false;
    window_ = nullptr;
    return kOk;
}

void Renderer::SetCamera(Camera* camera) {
    camera_ = camera;
    if (camera != nullptr) camera->SetPlaneMask(-1);
}

int32_t Renderer::BeginFrame() {
    if (camera_ == nullptr) {
        Camera* camera = new (std::nothrow) Camera();
        if (camera == nullptr) {
            LogError("Недостаточно памяти для создания камеры.");
            return kOutOfMemory;
        }
        SetCamera(camera);
    }
    // Held here: a pre-render controller may change the current camera.
    Pointer<Camera> camera = camera_;
    ++frameNumber_;
    camera->Update(0.0, true);
    camera->SetPlaneMask(-1);
    const int32_t result = BeginScene();
    RenderPreRenderQueue();
    if (gSoundListenerHook != nullptr) gSoundListenerHook(camera->GetPosition(), camera->GetDirection(), camera->GetUp());
    return result;
}

void Renderer::RenderPreRenderQueue() {
    // A controller that queues itself while rendering waits for the next
    // frame. The working list is kept; a nested call (none is expected)
    // works on a list of its own.
    GrowableArray<Pointer<PostUpdateController>> nested(4, 4);
    GrowableArray<Pointer<PostUpdateController>>& queue = preRenderingBusy_ ? nested : preRendering_;
    const bool outer = !preRenderingBusy_;
    preRenderingBusy_ = true;
    TakeAll(preRender_, queue);
    for (int32_t i = 0; i < queue.Count(); ++i) queue[i]->Render(*this);
    queue.RemoveFront(queue.Count());
    if (outer) preRenderingBusy_ = false;
}

void Renderer::QueuePreRender(PostUpdateController* controller) {
    if (controller == nullptr) return;
    for (const Pointer<PostUpdateController>& queued : preRender_)
        if (queued == controller) return;
    preRender_.Append(Pointer<PostUpdateController>(controller));
}

void Renderer::AddDeferred(GeometryNode* node, float key) {
    if (node != nullptr) sortedDeferred_.Append(DeferredNode{Pointer<GeometryNode>(node), key, sortedDeferred_.Count()});
}

void Renderer::AddUnsortedDeferred(GeometryNode* node) {
    if (node != nullptr) unsortedDeferred_.Append(Pointer<GeometryNode>(node));
}

void Renderer::FlushDeferred() {
    // The lists are emptied before drawing: a node drawn now may flush
    // again (render targets do) or defer more nodes. Each nesting level
    // works through lists of its own, kept between frames; deeper levels
    // than expected get lists made for the call.
    GrowableArray<DeferredNode> deepSorted(16, 16);
    GrowableArray<Pointer<GeometryNode>> deepUnsorted(4, 16);
    const bool kept = flushLevel_ < kFlushLevels;
    GrowableArray<DeferredNode>& sorted = kept ? flushingSorted_[flushLevel_] : deepSorted;
    GrowableArray<Pointer<GeometryNode>>& unsorted = kept ? flushingUnsorted_[flushLevel_] : deepUnsorted;
    ++flushLevel_;
    TakeAll(sortedDeferred_, sorted);
    TakeAll(unsortedDeferred_, unsorted);

    // Farthest first, equal keys in the order they came (std::stable_sort
    // would take a buffer from the heap every frame).
    std::sort(sorted.begin(), sorted.end(), [](const DeferredNode& a, const DeferredNode& b) {
        return a.key > b.key || (a.key == b.key && a.order < b.order);
    });
    for (DeferredNode& entry : sorted) entry.node->DrawDeferred(*this);
    for (Pointer<GeometryNode>& node : unsorted) node->DrawDeferred(*this);
    sorted.RemoveFront(sorted.Count());
    unsorted.RemoveFront(unsorted.Count());
    --flushLevel_;
}

void Renderer::EndFrame() {
    FlushDeferred();
    currentGeometry_ = nullptr;
    currentPass_ = nullptr;
    EndScene();
}

void Renderer::SetCurrentGeometry(GeometryNode* node) { currentGeometry_ = node; }

int32_t Renderer::ReadBackBuffer(Image&) { return kFailed; }

int32_t Renderer::PushLight(Light* light) { return lights_.Append(Pointer<Light>(light)); }

void Renderer::PopLight() {
    if (lights_.Count() > 0) lights_.RemoveAt(lights_.Count() - 1);
}

Light* Renderer::GetLight(int32_t index) const {
    return index >= 0 && index < lights_.Count() ? lights_[index].Get() : nullptr;
}

void Renderer::EmptyLightStack() {
    while (lights_.Count() > 0) {
        PopLight();
        DisableLight();
    }
}

const DisplayModeEntry* Renderer::GetDisplayMode(int32_t index) const {
    return index >= 0 && index < displayModes_.Count() ? &displayModes_[index] : nullptr;
}

void Renderer::SetFrameFormat(const DisplayModeEntry& entry, int32_t x, int32_t y, int32_t width, int32_t height) {
    x_ = x;
    y_ = y;
    width_ = width;
    height_ = height;
    fullScreen_ = entry.fullScreen;
    colorBits_ = static_cast<int32_t>(entry.colorBits);
    alphaBits_ = static_cast<int32_t>(entry.alphaBits);
    depthBits_ = static_cast<int32_t>(entry.depthBits);
    stencilBits_ = static_cast<int32_t>(entry.stencilBits);
    multisampleIndex_ = static_cast<int32_t>(entry.multisampleIndex);
}

Module* Renderer::GetModule() const { return module_; }

void Renderer::SetModule(Module* module) { module_ = module; }

Renderer* GetCurrentRenderer() { return gCurrentRenderer.Get(); }

void SetCurrentRenderer(Renderer* renderer) { gCurrentRenderer = renderer; }

int32_t LoadRenderer(const String& name) {
    Pointer<Module> module;
    if (LoadModule(name, &module) != kOk || module == nullptr) {
        LogError("Невозможно загрузить библиотеку рендерера [%s].", name.CStr());
        return kInvalidArgument;
    }
    CreateRendererFunction create = nullptr;
    if (module->FindSymbolAs(&create, String("CreateRenderer")) != kOk || create == nullptr) {
        LogError("В модуле не найдена функция создания рендерера [%s].", name.CStr());
        return kInvalidArgument;
    }
    Renderer* renderer = nullptr;
    if (create(&renderer) != kOk || renderer == nullptr) {
        LogError("Создание рендерера [%s] неудачно.", name.CStr());
        return kFailed;
    }
    SetCurrentRenderer(renderer);
    renderer->SetModule(module);
    return kOk;
}

void SetSoundListenerHook(SoundListenerHook hook) { gSoundListenerHook = hook; }

SoundListenerHook GetSoundListenerHook() { return gSoundListenerHook; }

}  // namespace zel
