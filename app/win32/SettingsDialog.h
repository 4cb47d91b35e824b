// The settings dialog of the Configure mode and its about box. Both take
// their texts from the application's message table; the dialog edits the
// application's current settings and stores them only on OK.
#pragma once

#include "app/win32/WindowsApp.h"

namespace zel {

// Control identifiers of the two dialog templates.
namespace dialog {
constexpr int kModeList = 1011;
constexpr int kUseDesktop = 11012;
constexpr int kBoxMode = 1016;
constexpr int kBoxSound = 11017;
constexpr int kBoxGraphics = 21018;
constexpr int kBoxProducts = 1022;
constexpr int kBoxQuality = 1026;
constexpr int kBoxMisc = 11019;
constexpr int kVolumeLabel = 11023;
constexpr int kVolume = 1020;
constexpr int kMusic = 1021;
constexpr int kSfx = 11022;
constexpr int kExitOnMouse = 1045;
constexpr int kShowFps = 1044;
constexpr int kGammaLabel = 11106;
constexpr int kGamma = 1046;
constexpr int kGammaValue = 11118;
constexpr int kShowTime = 1119;
constexpr int kHour12 = 1111;
constexpr int kHour24 = 1112;
constexpr int kProductsText = 1025;
constexpr int kVisit = 1061;
constexpr int kAbout = 1062;
constexpr int kRestoreDefaults = 1063;
constexpr int kPicture = 1036;
constexpr int kAboutPicture = 1037;
constexpr int kAboutFirstLine = 1040;
constexpr int kAboutBox = 106;
}  // namespace dialog

// Shows the dialog modally; its result (1 OK, 2 Cancel, 0 or −1 when it
// could not be shown).
INT_PTR ShowSettingsDialog(HINSTANCE instance, int resource, HWND owner);

// Sets every control of the dialog from the application's settings.
void FillSettingsDialog(HWND dialog);

}  // namespace zel
