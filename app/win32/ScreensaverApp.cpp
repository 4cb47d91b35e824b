#include "app/win32/ScreensaverApp.h"

#include <algorithm>
#include <cstdlib>

#include "app/OverlayText.h"
#include "app/FrameCapture.h"
#include "app/win32/PreviewWindow.h"
#include "app/win32/SettingsDialog.h"
#include "engine/core/Engine.h"
#include "engine/core/Log.h"
#include "engine/platform/InputManager.h"
#include "engine/render/Renderer.h"
#include "engine/render/RendererModule.h"
#include "engine/resources/CodecManager.h"
#include "engine/resources/FileManager.h"
#include "engine/resources/ModuleManager.h"
#include "engine/sound/SoundLibrary.h"
#include "engine/sound/SoundManager.h"

namespace zel {

namespace {

constexpr int32_t kCustomDataResource = 134;
constexpr int32_t kMediaResource = 227;
constexpr int32_t kSettingsDialogResource = 113;

const char* const kDialogCodecs[] = {"BMPImageCodec", "JPGImageCodec", "RAR2FileCodec"};
const char* const kShowCodecs[] = {"BMPImageCodec",  "JPGImageCodec", "TGAImageCodec",
                                   "CUBEImageCodec", "STRSceneCodec", "RAR2FileCodec"};

template <int32_t N>
void LoadCodecs(const char* const (&names)[N]) {
    for (const char* name : names) LoadModule(String(name), nullptr);
    for (const char* name : names) LoadCodec(String(name), nullptr);
}

// Logs `failure` and gives 1 when status is not 0, else logs `success`
// (when given) and gives 0.
int32_t Step(int32_t status, const char* failure, const char* success = nullptr) {
    if (status != 0) {
        LogError("%s", failure);
        return 1;
    }
    if (success != nullptr) LogInfo("%s", success);
    return 0;
}

}  // namespace

class ScreensaverApp::Frames : public FrameLoop::Show {
public:
    explicit Frames(ScreensaverApp& app) : app_(app) {}

    bool IsRunning() const override { return app_.running_; }
    void Stop() override { app_.running_ = false; }
    int32_t Update(double seconds) override { return app_.Update(seconds); }
    int32_t Render() override { return app_.Render(); }
    void DrawOverlay(double fps) override { app_.DrawOverlay(fps); }
    void OnFrameDrawn(uint32_t frame) override { app_.CaptureIfAsked(frame); }
    void OnFramePresented(uint32_t frame) override {
        app_.exitRules_.OnFramePresented();
        if (app_.hooks_.hasFrameLimit && frame >= app_.hooks_.frameLimit) app_.running_ = false;
    }
    void SetSilent(bool silent) override { SoundManager::SetMasterVolume(silent ? 0 : app_.volume_); }

private:
    ScreensaverApp& app_;
};

ScreensaverApp* ScreensaverApp::instance = nullptr;

ScreensaverApp::ScreensaverApp() : InputHandler(String()) {
    instance_ = GetModuleHandleA(nullptr);
    instance = this;
}

ScreensaverApp::~ScreensaverApp() {
    if (instance == this) instance = nullptr;
}

int32_t ScreensaverApp::SelectModeAndStart(const char* commandLine) {
    hooks_ = TestHooks::FromEnvironment();
    const CommandLine parsed = ParseCommandLine(commandLine);
    mode_ = parsed.mode;
    parentWindow_ = reinterpret_cast<HWND>(parsed.parentWindow);
    LogInfo("Режим скринсейвера %d.", static_cast<int>(mode_));
    if (Step(LoadDefaultSettings(), "Невозможно загрузить значения параметров по-умолчанию.",
             "Значения параметров по-умолчанию загружены.") != 0 ||
        Step(ApplyDefaultSettings(), "Невозможно установить значения параметров по-умолчанию.",
             "Значения параметров по-умолчанию установлены.") != 0 ||
        Step(ReadSettings(), "Невозможно прочитать значения параметров из реестра.",
             "Значения параметров прочитаны из реестра.") != 0)
        return 1;
    // A failed dump does not stop the start.
    Step(LogSettings(), "Невозможно вывести значения параметров.");
    if (Step(LoadMessageTable(), "Невозможно загрузить значения локальных данных.",
             "Значения локальных данных загружены.") != 0 ||
        Step(StartEngine(), "Невозможно инициализировать скринсейвер.", "Скринсейвер инициализирован.") != 0 ||
        Step(CreateWindows(), "Невозможно создать окна скринсейвера.", "Окна скринсейвера созданы.") != 0)
        return 1;
    if (RunsShow(mode_) && StartShow() != 0) return 1;
    running_ = true;
    return 0;
}

int32_t ScreensaverApp::StartShow() {
    Renderer& renderer = *GetCurrentRenderer();
    renderer.SetGamma(settings_.gamma);
    // A stored volume outside 0..100 (edited by hand) is held to that range.
    volume_ = static_cast<uint32_t>(settings_.music || settings_.sfx ? std::clamp(settings_.volume, 0, 100) : 0);
    SoundManager::SetMasterVolume(volume_);
    if (Step(CreateAppRenderData(), "Невозможно создать данные визуализации.") != 0) return 1;
    auto capture = [](void* app) { static_cast<ScreensaverApp*>(app)->CaptureIfAsked(0); };
    if (Step(overlay_.DrawLoadingScreen(renderer, capture, this), "Невозможно вывести загрузочный экран.") != 0 ||
        Step(CreateData(), "Невозможно создать данные скринсейвера.") != 0 ||
        Step(Cache(), "Невозможно закэшировать данные скринсейвера.") != 0)
        return 1;
    return 0;
}

int32_t ScreensaverApp::StartEngine() {
    if (mode_ != RunMode::kPasswordChange) {
        if (Step(EngineInitialize(), "Невозможно инициализировать движок.") != 0) return 1;
        if (hooks_.hasSeed) std::srand(hooks_.seed);
        if (Step(LoadRenderer(String(kDirectX9ModuleName)), "Невозможно создать рендерер DirectX.") != 0) return 1;
        if (RunsShow(mode_))
            LoadCodecs(kShowCodecs);
        else
            LoadCodecs(kDialogCodecs);
        if (Step(MountResourceArchive(kCustomDataResource, String("CustomData.rar2"), String()),
                 "Невозможно подсоединить директорию CustomData.") != 0)
            return 1;
    }
    if (RunsShow(mode_)) {
        if (Step(MountResourceArchive(kMediaResource, String("Media.rar2"), String()),
                 "Невозможно подсоединить директорию Media.") != 0 ||
            Step(RegisterInputHandler(this), "Невозможно зарегистрировать обработчик событий.") != 0)
            return 1;
    }
    return OnEngineStarted();
}

int32_t ScreensaverApp::StopEngine() {
    if (OnEngineStopping() != 0) return 1;
    if (mode_ == RunMode::kPasswordChange) return 0;
    if (Renderer* renderer = GetCurrentRenderer()) {
        if (renderer->IsWindowOpen() && Step(renderer->CloseWindow(), "Невозможно удалить рендерер DirectX.") != 0)
            return 1;
        SetCurrentRenderer(nullptr);
    }
    return Step(EngineTerminate(), "Невозможно завершить работу движка.");
}

const char* ScreensaverApp::WindowClassName() const {
    return GetText("AppName", "VOROZOREZORE 3D SCREENSAVER APPLICATION");
}

int32_t ScreensaverApp::CreateWindows() {
    if (mode_ == RunMode::kPreview) return CreatePreviewWindow();
    if (RunsShow(mode_)) return CreateShowWindow();
    return 0;
}

int32_t ScreensaverApp::CreatePreviewWindow() {
    HWND parent = parentWindow_;
    if (hooks_.hasPreviewHost) {
        previewHost_ = CreatePreviewHost(instance_, hooks_.previewHost);
        if (previewHost_ == nullptr) return 1;
        parent = previewHost_;
    }
    previewWindow_ = zel::CreatePreviewWindow(instance_, WindowClassName(), parent);
    return previewWindow_ != nullptr ? 0 : 1;
}

int32_t ScreensaverApp::ChooseShowMode() const {
    const Renderer& renderer = *GetCurrentRenderer();
    const int32_t desktop = renderer.GetDefaultModeIndex();
    for (int32_t i = 0; i < renderer.GetDisplayModeCount(); ++i) {
        const DisplayModeEntry& m = *renderer.GetDisplayMode(i);
        if (hooks_.hasWindowed) {
            // The first windowed entry in the desktop's colour depth.
            const DisplayModeEntry* d = renderer.GetDisplayMode(desktop);
            if (!m.fullScreen && (d == nullptr || m.colorBits == d->colorBits)) return i;
        } else if (!settings_.useDesktopSettings && m.width >= 640 && m.height >= 480 && m.fullScreen &&
                   int32_t(m.width) == settings_.width && int32_t(m.height) == settings_.height &&
                   int32_t(m.colorBits) == settings_.colorDepth) {
            return i;
        }
    }
    return hooks_.hasWindowed ? -1 : desktop;
}

int32_t ScreensaverApp::CreateShowWindow() {
    Renderer& renderer = *GetCurrentRenderer();
    const int32_t modeIndex = ChooseShowMode();
    if (modeIndex == -1) return Step(1, "Невозможно найти подходящий видео режим.");
    // A window keeps its title bar on the screen; full screen ignores the
    // rectangle.
    const int32_t corner = hooks_.hasWindowed ? 32 : 0;
    const int32_t width = hooks_.hasWindowed ? hooks_.windowedWidth : 640;
    const int32_t height = hooks_.hasWindowed ? hooks_.windowedHeight : 480;
    if (Step(renderer.OpenWindow(modeIndex, GetText("AppName", "3D SCREENSAVER"), parentWindow_, corner, corner, width,
                                 height),
             "Невозможно создать окно выбранного режима.") != 0)
        return 1;
    // A failed start leaves the show silent; without a library the manager
    // has already said so.
    SoundManager::InitializeDevice(renderer.GetWindow());
    const SoundLibrary& sound = GetSoundLibrary();
    if (sound.BASS_Set3DFactors != nullptr) sound.BASS_Set3DFactors(1.0f, 10.0f, 1.0f);
    sound.Apply3D();
    ShowCursor(FALSE);
    return 0;
}

int32_t ScreensaverApp::DestroyWindows() {
    if (mode_ != RunMode::kPreview) return 0;
    if (previewWindow_ != nullptr) DestroyWindow(previewWindow_);
    if (previewHost_ != nullptr) DestroyWindow(previewHost_);
    previewWindow_ = nullptr;
    previewHost_ = nullptr;
    UnregisterClassA(WindowClassName(), instance_);
    ShowCursor(TRUE);
    return 0;
}

int32_t ScreensaverApp::Run() {
    switch (mode_) {
        case RunMode::kConfigure: return RunSettingsDialog();
        case RunMode::kPreview: return RunPreview();
        case RunMode::kScreensaver:
        case RunMode::kTest: return RunFrames();
        default: return 0;
    }
}

int32_t ScreensaverApp::RunSettingsDialog() {
    LogInfo("Запущен режим конфигурирования.");
    // A handle that is no window (the panel's, long closed) makes no owner.
    HWND owner = IsWindow(parentWindow_) ? parentWindow_ : nullptr;
    const INT_PTR result = ShowSettingsDialog(instance_, kSettingsDialogResource, owner);
    return result == 0 || result == -1 ? 1 : 0;
}

int32_t ScreensaverApp::RunPreview() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);
    PumpPreview(previewWindow_, running_);
    return 0;
}

int32_t ScreensaverApp::RunFrames() {
    Frames frames(*this);
    FrameLoop loop(*GetCurrentRenderer(), frames);
    if (hooks_.hasFixedStep) loop.SetFixedStep(hooks_.fixedStep);
    loop.Start();
    int32_t status = 0;
    while (running_ && status == 0) status = loop.RunFrame();
    // The show is over: nothing more is heard while it is taken down.
    SoundManager::SetMasterVolume(0);
    return status;
}

void ScreensaverApp::CaptureIfAsked(uint32_t frame) {
    if (!hooks_.Captures(frame)) return;
    Renderer* renderer = GetCurrentRenderer();
    renderer->FlushDeferred();
    const String path = hooks_.CapturePath(frame);
    if (!CaptureBackBuffer(*renderer, path.CStr())) LogWarning("Кадр [%s] не сохранён.", path.CStr());
}

void ScreensaverApp::OnInputEvent(const InputEvent& event) {
    if (exitRules_.Ends(event, settings_.exitOnMouseMove)) running_ = false;
    HandleInput(event);
}

int32_t ScreensaverApp::Shutdown() {
    if (RunsShow(mode_)) {
        if (Step(DeleteData(), "Невозможно удалить данные скринсейвера.") != 0 ||
            Step(DeleteAppRenderData(), "Невозможно удалить данные визуализации.") != 0)
            return 1;
    }
    if (Step(DestroyWindows(), "Невозможно удалить окна скринсейвера.", "Окна скринсейвера удалены.") != 0) return 1;
    return Step(StopEngine(), "Невозможно завершить работу скринсейвера.", "Скринсейвер завершил работу.");
}

int32_t ScreensaverApp::CreateAppRenderData() {
    if (overlay_.Create() != 0) return 1;
    return CreateRenderData();
}

int32_t ScreensaverApp::DeleteAppRenderData() {
    const int32_t status = DeleteRenderData();
    overlay_.Release();
    return status;
}

void ScreensaverApp::DrawOverlay(double fps) {
    Renderer& renderer = *GetCurrentRenderer();
    overlay_.Begin(renderer);
    overlay_.SetColor(ColorRGBA{1, 1, 1, 1});
    if (settings_.showFps)
        overlay_.DrawText(renderer, FormatFps(fps).CStr(), 0.009375f, 0.9f, 0.0375f, 0.075f);
    if (settings_.showTime) {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        const String clock = FormatClock(now.wHour, now.wMinute, now.wSecond, settings_.hour24);
        overlay_.DrawText(renderer, clock.CStr(), ClockTextX(clock.Length(), settings_.hour24), 0.025f, 0.0375f,
                          0.075f);
    }
    overlay_.End(renderer);
}

}  // namespace zel
