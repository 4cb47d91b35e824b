// The screensaver of the Zel show: the application hooks filled with the
// scene show; the other hooks stay empty.
#pragma once

#include "app/SceneShow.h"
#include "app/win32/ArchivePicture.h"
#include "app/win32/ScreensaverApp.h"

namespace zel {

class SceneScreensaverApp : public ScreensaverApp {
public:
    int32_t HandleInput(const InputEvent&) override { return 0; }
    int32_t OnSettingsDefaultsApplied() override { return 0; }
    int32_t OnSettingsLogged() override { return 0; }
    int32_t OnSettingsKey(const String&, const String&) override { return 0; }
    int32_t OnSettingsRead(HKEY) override { return 0; }
    int32_t OnSettingsWritten(HKEY) override { return 0; }
    // Draws the settings picture.
    INT_PTR SettingsDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSettingsDialogInit() override {}
    int32_t OnEngineStarted() override { return 0; }
    int32_t OnEngineStopping() override { return 0; }
    int32_t Update(double seconds) override;
    int32_t Render() override;
    [[nodiscard]] int32_t CreateRenderData() override;
    int32_t DeleteRenderData() override;
    [[nodiscard]] int32_t CreateData() override;
    int32_t DeleteData() override;
    int32_t Cache() override;

private:
    SceneShow show_;
    CachedPicture settingsPicture_;
};

}  // namespace zel
