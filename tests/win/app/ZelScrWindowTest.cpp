// zel.scr's windows driven from outside, as the Screen Saver panel and a
// user would: the settings dialog of /c (texts, states, Cancel, OK,
// Restore Defaults) and the preview of /p inside a window of this test.
#include <gtest/gtest.h>

#include <string>

#include "SaverProcess.h"
#include "engine/os/win32/Windows.h"

#include <commctrl.h>

namespace {

using zel::test::WaitFor;
using zel::test::SaverProcess;

const char kKey[] = "Software\\Velkor Studio\\Zel";
const char kDialogTitle[] = "Zel 3D Screensaver Configuration";
constexpr int kUseDesktop = 11012;
constexpr int kModeList = 1011;
constexpr int kShowFps = 1044;
constexpr int kHour12 = 1111;
constexpr int kGammaValue = 11118;
constexpr int kGamma = 1046;
constexpr int kRestoreDefaults = 1063;
constexpr int kVolume = 1020;

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

// The dialog once it is filled: a modal dialog becomes visible only after
// its WM_INITDIALOG.
HWND FindDialog() {
    HWND dialog = nullptr;
    const bool shown = WaitFor([&] {
        dialog = FindWindowA(nullptr, kDialogTitle);
        return dialog != nullptr && IsWindowVisible(dialog);
    });
    return shown ? dialog : nullptr;
}

class ZelScrWindowTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kKey); }
};

TEST_F(ZelScrWindowTest, DialogShowsTextsAndStatesAndCancelStoresNothing) {
    SaverProcess saver("/c");
    ASSERT_TRUE(saver.Started());
    HWND dialog = FindDialog();
    ASSERT_NE(dialog, nullptr);
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
        HWND dialog = FindDialog();
        ASSERT_NE(dialog, nullptr);
        Click(dialog, kShowFps);
        Press(dialog, IDOK);
        EXPECT_EQ(saver.Finish(), 0);
    }
    EXPECT_EQ(StoredValue("ShowFPS"), 1u);
    EXPECT_EQ(StoredValueCount(), 13);
    {
        SaverProcess saver("/c");
        HWND dialog = FindDialog();
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
    HWND dialog = FindDialog();
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
