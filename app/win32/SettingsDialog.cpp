#include "app/win32/SettingsDialog.h"

#include <cstdio>
#include <cstring>
#include <shellapi.h>

#include "app/DialogPlacement.h"
#include "app/win32/ArchivePicture.h"
#include "app/win32/ScreensaverApp.h"
#include "engine/os/win32/WideText.h"
#include "engine/render/Renderer.h"

namespace zel {

namespace {

struct ControlText {
    int id;
    const char* key;
};

const ControlText kSettingsTexts[] = {
    {IDOK, "Mes_Button_OK"},
    {IDCANCEL, "Mes_Button_Cancel"},
    {dialog::kUseDesktop, "Mes_Settings_UseDesktop"},
    {dialog::kBoxMode, "Mes_Settings_Box_Mode"},
    {dialog::kBoxSound, "Mes_Settings_Box_Sound"},
    {dialog::kBoxGraphics, "Mes_Settings_Box_Graphics"},
    {dialog::kBoxProducts, "Mes_Settings_Box_Products"},
    {dialog::kBoxQuality, "Mes_Settings_Box_Quality"},
    {dialog::kBoxMisc, "Mes_Settings_Box_Misc"},
    {dialog::kVolumeLabel, "Mes_Settings_MusicVolume"},
    {dialog::kMusic, "Mes_Settings_EnableMusic"},
    {dialog::kSfx, "Mes_Settings_EnableSound"},
    {dialog::kExitOnMouse, "Mes_Settings_ExitOnMouse"},
    {dialog::kShowFps, "Mes_Settings_ShowFPS"},
    {dialog::kGammaLabel, "Mes_Settings_Gamma"},
    {dialog::kShowTime, "Mes_Settings_ShowTime"},
    {dialog::kHour12, "Mes_Settings_12h"},
    {dialog::kHour24, "Mes_Settings_24h"},
    {dialog::kProductsText, "Mes_Settings_Products"},
    {dialog::kVisit, "Mes_Settings_Button_Visit"},
    {dialog::kAbout, "Mes_Settings_Button_About"},
    {dialog::kRestoreDefaults, "Mes_Settings_Button_RestoreDefs"},
};

// Grown and centred only the first time the dialog is filled.
bool gFirstFill = true;
CachedPicture gLogo;

ScreensaverApp& App() { return *ScreensaverApp::Get(); }

// The message table's texts are Windows-1251 whatever the system's ANSI
// code page: they go in through the wide calls.
void SetText(HWND window, int id, const char* key) {
    if (const String* text = App().GetMessage(key)) SetDlgItemTextW(window, id, os::WideText(text->CStr()).CStr());
}

void SetTitle(HWND window, const char* key) {
    if (const String* text = App().GetMessage(key)) SetWindowTextW(window, os::WideText(text->CStr()).CStr());
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Check(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

void Enable(HWND dialog, int id, bool on) { EnableWindow(GetDlgItem(dialog, id), on ? TRUE : FALSE); }

void ShowGamma(HWND dialog, int32_t gamma) {
    char text[32];
    std::snprintf(text, sizeof text, "%d%s", static_cast<int>(gamma + 100), "%");
    SetDlgItemTextA(dialog, dialog::kGammaValue, text);
}

void EnableVolume(HWND dialog, const Settings& s) {
    Enable(dialog, dialog::kVolume, s.music || s.sfx);
    Enable(dialog, dialog::kVolumeLabel, s.music || s.sfx);
}

// Grown to its smallest client area and centred on the work area of the
// monitor it opened on, the first time only. The Direct3D desktop mode is
// no measure here: it is in the display's pixels, the window manager's
// coordinates need not be.
void PlaceOnce(HWND dialog) {
    if (!gFirstFill) return;
    gFirstFill = false;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    RECT window{}, client{};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    DialogPlacement placement;
    const RECT& work = monitor.rcWork;
    placement.workArea = WindowRect{work.left, work.top, work.right, work.bottom};
    placement.window = WindowRect{window.left, window.top, window.right, window.bottom};
    placement.clientWidth = client.right;
    placement.clientHeight = client.bottom;
    if (HDC dc = GetDC(dialog)) {
        placement.dpi = static_cast<uint32_t>(GetDeviceCaps(dc, LOGPIXELSY));
        ReleaseDC(dialog, dc);
    }
    const WindowRect placed = placement.Place();
    MoveWindow(dialog, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top, TRUE);
}

void FillModeList(HWND dialog, const Renderer& renderer, const Settings& s) {
    HWND list = GetDlgItem(dialog, dialog::kModeList);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    LRESULT selected = -1;
    for (int32_t i = 0; i < renderer.GetDisplayModeCount(); ++i) {
        const DisplayModeEntry& m = *renderer.GetDisplayMode(i);
        if (m.width <= 639 || m.height <= 479 || !m.fullScreen) continue;
        char text[64];
        std::snprintf(text, sizeof text, "%ux%ux%ubits", m.width, m.height, m.colorBits);
        if (SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)) != CB_ERR)
            continue;
        const LRESULT item = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(i));
        const bool matches = s.useDesktopSettings ? i == renderer.GetDefaultModeIndex()
                                                  : int32_t(m.width) == s.width && int32_t(m.height) == s.height &&
                                                        int32_t(m.colorBits) == s.colorDepth;
        if (matches && selected < 0) selected = item;
    }
    if (selected >= 0) SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

// The selected display mode into the settings.
void TakeSelectedMode(HWND dialog, Settings& s) {
    HWND list = GetDlgItem(dialog, dialog::kModeList);
    const LRESULT item = SendMessageA(list, CB_GETCURSEL, 0, 0);
    Renderer* renderer = GetCurrentRenderer();
    if (item == CB_ERR || renderer == nullptr) return;
    const DisplayModeEntry* m = renderer->GetDisplayMode(static_cast<int32_t>(SendMessageA(list, CB_GETITEMDATA, item, 0)));
    if (m == nullptr) return;
    s.width = static_cast<int32_t>(m->width);
    s.height = static_cast<int32_t>(m->height);
    s.colorDepth = static_cast<int32_t>(m->colorBits);
}

INT_PTR CALLBACK AboutProcedure(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetTitle(window, "Mes_About_Title");
            SetText(window, IDOK, "Mes_Button_OK");
            for (int i = 0; i < 8; ++i) {
                char key[32];
                std::snprintf(key, sizeof key, "Mes_About_String%d", i + 1);
                SetText(window, dialog::kAboutFirstLine + i, key);
            }
            return TRUE;
        case WM_PAINT:
            gLogo.Paint("logo.bmp", GetDlgItem(window, dialog::kAboutPicture));
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) EndDialog(window, 1);
            return TRUE;
        case WM_DESTROY:
        case WM_CLOSE:
        case WM_QUIT:
            gLogo.Free();
            if (message == WM_CLOSE) EndDialog(window, 1);
            return TRUE;
        default:
            return FALSE;
    }
}

void OnCommand(HWND dialog, int id) {
    ScreensaverApp& app = App();
    Settings& s = app.GetSettings();
    switch (id) {
        case dialog::kMusic:
        case dialog::kSfx:
            (id == dialog::kMusic ? s.music : s.sfx) = Checked(dialog, id);
            EnableVolume(dialog, s);
            break;
        case dialog::kShowFps: s.showFps = Checked(dialog, id); break;
        case dialog::kExitOnMouse: s.exitOnMouseMove = Checked(dialog, id); break;
        case dialog::kShowTime:
            s.showTime = Checked(dialog, id);
            Enable(dialog, dialog::kHour12, s.showTime);
            Enable(dialog, dialog::kHour24, s.showTime);
            break;
        case dialog::kHour12: s.hour24 = !Checked(dialog, dialog::kHour12); break;
        case dialog::kHour24: s.hour24 = Checked(dialog, dialog::kHour24); break;
        case dialog::kUseDesktop:
            s.useDesktopSettings = Checked(dialog, id);
            Enable(dialog, dialog::kModeList, !s.useDesktopSettings);
            break;
        case dialog::kAbout:
            DialogBoxParamW(app.GetInstance(), MAKEINTRESOURCEW(dialog::kAboutBox), dialog, &AboutProcedure, 0);
            break;
        case dialog::kRestoreDefaults:
            app.ApplyDefaultSettings();
            FillSettingsDialog(dialog);
            break;
        case dialog::kVisit:
            if (!app.GetWebAddress().IsEmpty())
                ShellExecuteA(dialog, "open", app.GetWebAddress().CStr(), nullptr, nullptr, SW_SHOWNORMAL);
            break;
        case IDOK:
            TakeSelectedMode(dialog, s);
            app.SaveSettings();
            EndDialog(dialog, 1);
            break;
        case IDCANCEL: EndDialog(dialog, 2); break;
        default: break;
    }
}

void OnSlider(HWND dialog, HWND slider) {
    Settings& s = App().GetSettings();
    const int32_t position = static_cast<int32_t>(SendMessageA(slider, TBM_GETPOS, 0, 0));
    if (slider == GetDlgItem(dialog, dialog::kVolume)) s.volume = position;
    if (slider == GetDlgItem(dialog, dialog::kGamma)) {
        s.gamma = position;
        ShowGamma(dialog, position);
    }
}

INT_PTR CALLBACK SettingsProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    ScreensaverApp& app = App();
    switch (message) {
        case WM_INITDIALOG:
            SetTitle(dialog, "Mes_Settings_Title");
            for (const ControlText& control : kSettingsTexts) SetText(dialog, control.id, control.key);
            FillSettingsDialog(dialog);
            break;
        case WM_COMMAND: OnCommand(dialog, LOWORD(wParam)); break;
        case WM_NOTIFY: {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header != nullptr) OnSlider(dialog, header->hwndFrom);
            break;
        }
        case WM_HSCROLL: OnSlider(dialog, reinterpret_cast<HWND>(lParam)); break;
        default: break;
    }
    return app.SettingsDialogHook(dialog, message, wParam, lParam);
}

}  // namespace

void FillSettingsDialog(HWND dialog) {
    ScreensaverApp& app = App();
    const Settings& s = app.GetSettings();
    // Set apart: TBM_SETRANGE packs both ends into unsigned halves.
    SendDlgItemMessageA(dialog, dialog::kGamma, TBM_SETRANGEMIN, FALSE, -100);
    SendDlgItemMessageA(dialog, dialog::kGamma, TBM_SETRANGEMAX, TRUE, 100);
    SendDlgItemMessageA(dialog, dialog::kGamma, TBM_SETPOS, TRUE, s.gamma);
    ShowGamma(dialog, s.gamma);
    SendDlgItemMessageA(dialog, dialog::kVolume, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendDlgItemMessageA(dialog, dialog::kVolume, TBM_SETPOS, TRUE, s.volume);
    Check(dialog, dialog::kHour24, s.hour24);
    Check(dialog, dialog::kHour12, !s.hour24);
    Enable(dialog, dialog::kHour12, s.showTime);
    Enable(dialog, dialog::kHour24, s.showTime);
    Check(dialog, dialog::kShowTime, s.showTime);
    Check(dialog, dialog::kMusic, s.music);
    Check(dialog, dialog::kSfx, s.sfx);
    Check(dialog, dialog::kShowFps, s.showFps);
    Check(dialog, dialog::kExitOnMouse, s.exitOnMouseMove);
    Check(dialog, dialog::kUseDesktop, s.useDesktopSettings);
    EnableVolume(dialog, s);
    Enable(dialog, dialog::kModeList, !s.useDesktopSettings);
    PlaceOnce(dialog);
    if (Renderer* renderer = GetCurrentRenderer()) FillModeList(dialog, *renderer, s);
    app.OnSettingsDialogInit();
}

INT_PTR ShowSettingsDialog(HINSTANCE instance, int resource, HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // Wide dialogs: their windows keep the UTF-16 texts set above as they are.
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(resource), owner, &SettingsProcedure, 0);
}

}  // namespace zel
