// The screensaver application: reads the command line into a run mode,
// brings up the log, the settings, the engine, the windows and the show in
// a fixed order, runs the mode (the frame loop, the preview's pump, the
// settings dialog) and shuts down in reverse order. Every step logs its
// line. ScreensaverApp holds what every screensaver needs; a concrete
// class fills the hooks with its show.
#pragma once

#include <cstdint>

#include "app/ExitRules.h"
#include "app/FrameLoop.h"
#include "app/MessageTable.h"
#include "app/Overlay.h"
#include "app/RunMode.h"
#include "app/Settings.h"
#include "app/TestHooks.h"
#include "app/win32/WindowsApp.h"
#include "engine/core/String.h"
#include "engine/platform/InputHandler.h"

namespace zel {

class Renderer;

class ScreensaverApp : public InputHandler {
public:
    ScreensaverApp();
    ~ScreensaverApp() override;

    // The three phases of the process, called once each in this order.
    int32_t SelectModeAndStart(const char* commandLine);
    int32_t Run();
    int32_t Shutdown();

    // The exit rules, then HandleInput.
    void OnInputEvent(const InputEvent& event) override;

    // Hooks of the concrete screensaver; 0 is success.
    virtual int32_t HandleInput(const InputEvent& event) = 0;
    virtual int32_t OnSettingsDefaultsApplied() = 0;
    virtual int32_t OnSettingsLogged() = 0;
    virtual int32_t OnSettingsKey(const String& key, const String& value) = 0;
    virtual int32_t OnSettingsRead(HKEY key) = 0;
    virtual int32_t OnSettingsWritten(HKEY key) = 0;
    virtual INT_PTR SettingsDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void OnSettingsDialogInit() = 0;
    virtual int32_t OnEngineStarted() = 0;
    virtual int32_t OnEngineStopping() = 0;
    virtual int32_t Update(double seconds) = 0;
    virtual int32_t Render() = 0;
    [[nodiscard]] virtual int32_t CreateRenderData() = 0;
    virtual int32_t DeleteRenderData() = 0;
    [[nodiscard]] virtual int32_t CreateData() = 0;
    virtual int32_t DeleteData() = 0;
    virtual int32_t Cache() = 0;

    // Settings (ScreensaverSettings.cpp).
    int32_t LoadDefaultSettings();
    int32_t ApplyDefaultSettings();
    int32_t ReadSettings();
    int32_t SaveSettings();
    int32_t LogSettings();
    int32_t LoadMessageTable();
    // The message of `key`, or null.
    const String* GetMessage(const char* key) const { return messages_.Get(String(key)); }
    const char* GetText(const char* key, const char* fallback) const { return messages_.GetText(key, fallback); }

    Settings& GetSettings() { return settings_; }
    const Settings& GetDefaultSettings() const { return defaults_; }
    const String& GetWebAddress() const { return webAddress_; }
    RunMode GetMode() const { return mode_; }
    HINSTANCE GetInstance() const { return instance_; }
    bool IsRunning() const { return running_; }
    void Stop() { running_ = false; }

    // The one application of the process, or null.
    static ScreensaverApp* Get() { return instance; }

protected:
    Overlay& GetOverlay() { return overlay_; }
    // Saves the back buffer when the test hooks ask for this frame.
    void CaptureIfAsked(uint32_t frame);

private:
    // The frame loop's view of the application.
    class Frames;

    static ScreensaverApp* instance;

    int32_t StartEngine();
    int32_t StopEngine();
    [[nodiscard]] int32_t CreateWindows();
    int32_t DestroyWindows();
    [[nodiscard]] int32_t CreateShowWindow();
    // The mode the show opens: the settings' full-screen mode, the desktop's,
    // or a windowed one when the ZEL_WINDOWED hook asks for a window. -1
    // when there is none.
    int32_t ChooseShowMode() const;
    [[nodiscard]] int32_t CreatePreviewWindow();
    int32_t StartShow();
    [[nodiscard]] int32_t CreateAppRenderData();
    int32_t DeleteAppRenderData();
    int32_t RunFrames();
    int32_t RunPreview();
    int32_t RunSettingsDialog();
    void DrawOverlay(double fps);
    const char* WindowClassName() const;

    RunMode mode_ = RunMode::kConfigure;
    HINSTANCE instance_ = nullptr;
    HWND parentWindow_ = nullptr;
    Settings defaults_;
    Settings settings_;
    String registryPath_;
    String webAddress_;
    MessageTable messages_;
    HWND previewWindow_ = nullptr;
    HWND previewHost_ = nullptr;  // the ZEL_PREVIEW_HOST window, when asked for
    bool running_ = false;
    // The master volume of the show, given back when a lost device recovers.
    uint32_t volume_ = 0;
    ExitRules exitRules_;
    Overlay overlay_;
    TestHooks hooks_;
};

}  // namespace zel
