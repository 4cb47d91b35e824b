#include "app/win32/SceneScreensaverApp.h"

#include "app/win32/SettingsDialog.h"
#include "engine/core/Log.h"
#include "engine/render/Renderer.h"

namespace zel {

INT_PTR SceneScreensaverApp::SettingsDialogHook(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_PAINT:
            settingsPicture_.Paint("settings.bmp", GetDlgItem(dialog, dialog::kPicture));
            return FALSE;
        case WM_NOTIFY:
            // Slider changes repaint the picture the trackbar drew over.
            InvalidateRect(GetDlgItem(dialog, dialog::kPicture), nullptr, FALSE);
            return FALSE;
        case WM_INITDIALOG:
            return TRUE;
        case WM_DESTROY:
        case WM_CLOSE:
        case WM_QUIT:
            settingsPicture_.Free();
            return FALSE;
        default:
            return FALSE;
    }
}

int32_t SceneScreensaverApp::Update(double seconds) {
    show_.Update(seconds, *GetCurrentRenderer());
    return 0;
}

int32_t SceneScreensaverApp::Render() {
    show_.Render(*GetCurrentRenderer(), GetOverlay());
    return 0;
}

int32_t SceneScreensaverApp::CreateRenderData() { return show_.CreateRenderData(); }

int32_t SceneScreensaverApp::DeleteRenderData() {
    show_.DeleteRenderData();
    return 0;
}

int32_t SceneScreensaverApp::CreateData() { return show_.CreateData(GetSettings(), *GetCurrentRenderer()); }

int32_t SceneScreensaverApp::DeleteData() {
    show_.DeleteData();
    return 0;
}

int32_t SceneScreensaverApp::Cache() { return show_.Cache(*GetCurrentRenderer(), true); }

}  // namespace zel
