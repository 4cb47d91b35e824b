// zel.scr's windows driven from outside, as the Screen Saver panel and a
// user would: the settings dialog of /c (texts, states, Cancel, OK,
// Restore Defaults, Russian texts, placement) and the preview of /p inside
// a window of this test; the manifest in the program's resources.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "SaverProcess.h"
#include "engine/os/win32/Windows.h"

#include <commctrl.h>

namespace {

using zel::test::WaitFor;
using zel::test::SaverProcess;

const char kKey[] = "Software\\Velkor Studio\\Zel";
const wchar_t kDialogTitle[] = L"Zel 3D Screensaver Configuration";
constexpr int kUseDesktop = 11012;
constexpr int kModeList = 1011;
constexpr int kShowFps = 1044;
constexpr int kHour12 = 1111;
constexpr int kGammaValue = 11118;
constexpr int kGamma = 1046;
constexpr int kRestoreDefaults = 1063;
constexpr int kVolume = 1020;
constexpr int kAbout = 1062;
constexpr int kAboutLastLine = 1047;

DWORD StoredValue(const char* name) {
    DWORD value = 0xFFFFFFFF, size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

int StoredValueCount() {
    HKEY key = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return static_cast<int>(count);
}

std::string ControlText(HWND dialog, int id) {
    char text[256] = "";
    SendMessageA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

bool Checked(HWND dialog, int id) { return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Post, not send: the dialog ends and its process exits while handling it.
void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// A visible dialog of the process other than `except`, or null.
HWND VisibleDialogOf(DWORD process, HWND except) {
    struct Search {
        DWORD process;
        HWND except;
        HWND found;
    } search{process, except, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            Search& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char name[16] = "";
            GetClassNameA(window, name, sizeof name);
            if (owner != s.process || window == s.except || std::strcmp(name, "#32770") != 0 ||
                !IsWindowVisible(window))
                return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The settings dialog once it is filled (a modal dialog becomes visible
// only after its WM_INITDIALOG), found by its process and class whatever
// its language; the about box is the second dialog.
HWND FindDialog(const SaverProcess& saver, HWND except = nullptr) {
    HWND dialog = nullptr;
    return WaitFor([&] { return (dialog = VisibleDialogOf(saver.Id(), except)) != nullptr; }) ? dialog : nullptr;
}

std::wstring WideText(HWND window) {
    wchar_t text[256] = L"";
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

class ZelScrWindowTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }
};

TEST_F(ZelScrWindowTest, DialogShowsTextsAndStatesAndCancelStoresNothing) {
    SaverProcess saver("/c");
    ASSERT_TRUE(saver.Started());
    HWND dialog = FindDialog(saver);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WideText(dialog), kDialogTitle);
    EXPECT_EQ(ControlText(dialog, kUseDesktop), "Use Desktop Settings");
    EXPECT_EQ(ControlText(dialog, IDCANCEL), "Cancel");
    EXPECT_EQ(ControlText(dialog, kGammaValue), "100%");
    EXPECT_TRUE(Checked(dialog, kUseDesktop));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kModeList)));
    EXPECT_TRUE(Checked(dialog, kHour12));
    EXPECT_FALSE(Checked(dialog, kShowFps));
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, kVolume), TBM_GETPOS, 0, 0), 50);
    EXPECT_GT(SendMessageA(GetDlgItem(dialog, kModeList), CB_GETCOUNT, 0, 0), 0);
    Click(dialog, kShowFps);
    Click(dialog, kUseDesktop);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kModeList)));
    Press(dialog, IDCANCEL);
    EXPECT_EQ(saver.Finish(), 0);
    // The first run stored the defaults; Cancel kept them.
    EXPECT_EQ(StoredValue("ShowFPS"), 0u);
    EXPECT_EQ(StoredValue("UseDesktopSettings"), 1u);
}

TEST_F(ZelScrWindowTest, OkStoresEveryValueAndRestoreDefaultsUndoesChanges) {
    {
        SaverProcess saver("/c");
        HWND dialog = FindDialog(saver);
        ASSERT_NE(dialog, nullptr);
        Click(dialog, kShowFps);
        Press(dialog, IDOK);
        EXPECT_EQ(saver.Finish(), 0);
    }
    EXPECT_EQ(StoredValue("ShowFPS"), 1u);
    EXPECT_EQ(StoredValueCount(), 13);
    {
        SaverProcess saver("/c");
        HWND dialog = FindDialog(saver);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(Checked(dialog, kShowFps));
        Click(dialog, kRestoreDefaults);
        EXPECT_FALSE(Checked(dialog, kShowFps));
        Press(dialog, IDOK);
        EXPECT_EQ(saver.Finish(), 0);
    }
    EXPECT_EQ(StoredValue("ShowFPS"), 0u);
}

struct GammaCase {
    int position;
    const char* label;
};

TEST_F(ZelScrWindowTest, GammaLabelFollowsTheSlider) {
    SaverProcess saver("/c");
    HWND dialog = FindDialog(saver);
    ASSERT_NE(dialog, nullptr);
    HWND slider = GetDlgItem(dialog, kGamma);
    for (const GammaCase& c : {GammaCase{-100, "0%"}, GammaCase{0, "100%"}, GammaCase{100, "200%"}}) {
        SendMessageA(slider, TBM_SETPOS, TRUE, c.position);
        SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
        EXPECT_EQ(ControlText(dialog, kGammaValue), c.label);
    }
    Press(dialog, IDCANCEL);
    EXPECT_EQ(saver.Finish(), 0);
}

// Run by the CTest entries zel_scr_russian_dialog*, whose locale makes
// this process (and so zel.scr) Russian, with the ANSI code page named by
// ZEL_EXPECT_ANSI_CODE_PAGE: 1251, or a western one where Windows-1251 bytes
// read as other letters. Either way the texts, Windows-1251 in the
// resource, read back right as UTF-16.
TEST_F(ZelScrWindowTest, RussianUserReadsTheDialogsInRussian) {
    const char* codePage = std::getenv("ZEL_EXPECT_ANSI_CODE_PAGE");
    if (codePage == nullptr) GTEST_SKIP() << "needs a Russian locale (CTest's zel_scr_russian_dialog*)";
    ASSERT_EQ(GetUserDefaultUILanguage(), MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT));
    ASSERT_EQ(GetACP(), std::strtoul(codePage, nullptr, 10));
    SaverProcess saver("/c");
    ASSERT_TRUE(saver.Started());
    HWND dialog = FindDialog(saver);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WideText(dialog), L"Настройка заставки Zel 3D");
    EXPECT_EQ(WideText(GetDlgItem(dialog, IDCANCEL)), L"Отмена");
    EXPECT_EQ(WideText(GetDlgItem(dialog, kUseDesktop)), L"Как на рабочем столе");
    EXPECT_TRUE(Checked(dialog, kShowFps));  // the Russian default
    Press(dialog, kAbout);
    HWND about = FindDialog(saver, dialog);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WideText(about), L"О программе");
    EXPECT_EQ(WideText(GetDlgItem(about, kAboutLastLine)), L"(c) 2026 Velkor Studio. Все права защищены.");
    Press(about, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));
    Press(dialog, IDCANCEL);
    EXPECT_EQ(saver.Finish(), 0);
}

// The first time it opens the dialog is grown to its smallest client area
// (580 × 395 at 96 dpi, in proportion above) and centred on the work area
// of its monitor. ZEL_EXPECT_DPI names the dots per inch the prefix was set
// to, so a run in a high-dpi prefix cannot pass at 96.
TEST_F(ZelScrWindowTest, DialogLiesCentredOnTheWorkArea) {
    // Aware like zel.scr: both see the physical pixels.
    SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (const char* expected = std::getenv("ZEL_EXPECT_DPI")) {
        ASSERT_EQ(dpi, std::atoi(expected));
    }
    SaverProcess saver("/c");
    HWND dialog = FindDialog(saver);
    ASSERT_NE(dialog, nullptr);
    RECT window{}, client{}, work{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    EXPECT_GE(window.left, work.left);
    EXPECT_GE(window.top, work.top);
    EXPECT_LE(window.right, work.right);
    EXPECT_LE(window.bottom, work.bottom);
    EXPECT_LE(std::abs((window.left - work.left) - (work.right - window.right)), 1);
    EXPECT_LE(std::abs((window.top - work.top) - (work.bottom - window.bottom)), 1);
    EXPECT_GE(client.right, MulDiv(580, dpi, 96));
    EXPECT_GE(client.bottom, MulDiv(395, dpi, 96));
    Press(dialog, IDCANCEL);
    EXPECT_EQ(saver.Finish(), 0);
}

// System DPI awareness and Windows 7 to 11 as supported systems.
TEST(ZelScrManifest, DeclaresDpiAwarenessAndTheSupportedSystems) {
    HMODULE program = LoadLibraryExA(ZEL_SCR_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(program, found)));
    const std::string manifest(bytes, SizeofResource(program, found));
    FreeLibrary(program);
    for (const char* wanted : {
             ">true</dpiAware>", ">system</dpiAwareness>",
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
         }) {
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
    }
}

TEST_F(ZelScrWindowTest, PreviewDrawsInsideTheParentAndEndsWhenClosed) {
    HWND parent = CreateWindowExA(0, "STATIC", "panel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 220, 180, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    SaverProcess saver("/p " + std::to_string(reinterpret_cast<uintptr_t>(parent)));
    ASSERT_TRUE(saver.Started());
    HWND child = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (child = FindWindowExA(parent, nullptr, nullptr, nullptr)) != nullptr; }));
    RECT inner{}, outer{};
    GetClientRect(child, &inner);
    GetClientRect(parent, &outer);
    EXPECT_EQ(inner.right, outer.right);
    EXPECT_EQ(inner.bottom, outer.bottom);
    // Half a second for the first pump, then the panel closes the preview.
    WaitFor([] { return false; }, 1000);
    PostMessageA(child, WM_CLOSE, 0, 0);
    EXPECT_EQ(saver.Finish(), 0);
    DestroyWindow(parent);
}

}  // namespace
