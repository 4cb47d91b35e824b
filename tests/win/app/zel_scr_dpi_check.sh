#!/usr/bin/env bash
# The settings dialog at 150 %: zel_scr_window_tests' placement case in a
# Wine prefix of this test's own, whose LogPixels is 144 (the shared prefix
# stays at 96).
#   zel_scr_dpi_check.sh ZEL_SCR_WINDOW_TESTS PREFIX
# Needs the CTest Xvfb fixture's display (ZEL_DISPLAY_FILE).
set -u
tests=$1
export ZEL_WINEPREFIX=$2
root=$(cd "$(dirname "$0")/../../.." && pwd)
wine_run=$root/scripts/wine-run
export ZEL_WINE_TIMEOUT=${ZEL_WINE_TIMEOUT:-300}

if ! "$wine_run" reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f > /dev/null 2>&1; then
  echo "FAIL: LogPixels could not be set in $ZEL_WINEPREFIX"
  exit 1
fi
# The prefix's Wine server ends with the run, before the display does.
ZEL_EXPECT_DPI=144 ZEL_WINE_WAIT=1 "$wine_run" "$tests" --gtest_filter='ZelScrWindowTest.DialogLiesCentredOnTheWorkArea'
