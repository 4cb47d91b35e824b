#!/usr/bin/env bash
# zel.scr's sound under Wine: the application's sound line names the reason
# without a device and the device in use with the WAV output; the output is
# opened only when the show is heard (not with Music and SFX off, not by the
# dialog); with no folder that takes the sound library the show and the
# dialog still run, silent.
#   zel_scr_sound_check.sh ZEL_SCR WINDOW_TESTS WORKDIR
# WINDOW_TESTS is zel_scr_window_tests.exe, which opens and closes the
# settings dialog of /c.
set -u
scr=$1
window_tests=$2
work=$3
. "$(dirname "$0")/zel_scr_lib.sh"

wav=$work/output.wav
dialog_test=ZelScrWindowTest.DialogShowsTextsAndStatesAndCancelStoresNothing

# The application's own line comes after the engine's start, before its windows.
app_sound_line() {
  printf '%s\n' 'Скринсейвер инициализирован.' "$1" 'Окна скринсейвера созданы.' > "$work/$2.expected"
  in_order "$work/$2.expected" "$work/$2.log" || fail "$2: the application's sound line is not '$1' (see $work/$2.log)"
}

# The data bytes of the WAV output (its header alone is 44 bytes).
wav_data() { echo $(($(stat -c %s "$wav" 2>/dev/null || echo 44) - 44)); }

# 1. Without a device: the library's reason.
forget_settings
ZEL_FRAMES=10 ZEL_FIXED_STEP=0.05 run no-device /s || fail "/s without a device did not exit 0"
app_sound_line 'ERROR. Невозможно инициализировать звук. Причина [3]. Устройство []' no-device

# 2. With the WAV output: the device in use, and the show heard in the file.
ZEL_AUDIO_WAV=$(windows_path "$wav") ZEL_FRAMES=40 ZEL_FIXED_STEP=0.05 run wav /s || fail "/s with the WAV output did not exit 0"
app_sound_line 'INFO. Звук инициализирован. Устройство [1] [WAV file]' wav
[ "$(tail -c +45 "$wav" 2>/dev/null | tr -d '\000' | head -c 1000 | wc -c)" -gt 0 ] ||
  fail "the show was not heard in the WAV output"

# 3. Music and SFX off: the show is silent and never opens the output; nor
# does the dialog.
"$wine_run" reg.exe add "$key" /v Music /t REG_DWORD /d 0 /f > /dev/null 2>&1
"$wine_run" reg.exe add "$key" /v SFX /t REG_DWORD /d 0 /f > /dev/null 2>&1
rm -f "$wav"
ZEL_AUDIO_WAV=$(windows_path "$wav") ZEL_FRAMES=40 ZEL_FIXED_STEP=0.05 run muted /s || fail "the muted /s did not exit 0"
app_sound_line 'INFO. Звук инициализирован. Устройство [1] [WAV file]' muted
[ -f "$wav" ] && [ "$(wav_data)" = 0 ] || fail "the muted show opened the output ($(wav_data) bytes of data)"
rm -f "$wav"
ZEL_AUDIO_WAV=$(windows_path "$wav") run_program dialog "$window_tests" --gtest_filter="$dialog_test" ||
  fail "the dialog did not open and close (see $work/dialog.out)"
[ -f "$wav" ] && [ "$(wav_data)" = 0 ] || fail "the dialog opened the output ($(wav_data) bytes of data)"
forget_settings

# 4. A temporary folder that does not exist and the fallback folder blocked
# by a file of its name: the library is nowhere, the show and the dialog run
# silent. Wine takes TMP and TEMP from its own environment, set through cmd.
users=$ZEL_WINEPREFIX/drive_c/users/$(id -un)
blocker="$users/AppData/Local/Velkor Studio"
# The program makes that folder when it needs it; an empty one may go.
[ -d "$blocker" ] && rmdir "$blocker" 2>/dev/null
if [ -d "$blocker" ]; then
  fail "$blocker holds files: a program is using it"
else
  mkdir -p "$users/AppData/Local"
  : > "$blocker"
  missing=$(windows_path "$work/no-such-folder")
  without_temp="set TMP=$missing&&set TEMP=$missing&&"
  capture_dir=$(windows_path "$work/capture")
  ZEL_FRAMES=20 ZEL_FIXED_STEP=0.05 ZEL_SEED=3 ZEL_CAPTURE_DIR="$capture_dir" ZEL_CAPTURE_FRAMES=20 \
    run_program silent-show cmd.exe /c "$without_temp$(windows_path "$scr") /s" || fail "the silent /s did not exit 0"
  not_black "$work/capture/frame-00020.bmp" || fail "the silent show's frame 20 is missing or black"
  run_program silent-dialog cmd.exe /c "$without_temp$(windows_path "$window_tests") --gtest_filter=$dialog_test" ||
    fail "the silent dialog did not open and close (see $work/silent-dialog.out)"
  cat > "$work/silent.expected" <<'LINES'
ERROR. Инициализация менеджера звука. Невозможно создать временный файл [bass.dll].
ERROR. Инициализация менеджера звука. Невозможно создать временный файл [bass.dll].
INFO. Инициализация менеджера звука. Библиотека [bass.dll] не загружена, работа продолжается без звука.
INFO. Менеджер звука инициализирован.
LINES
  for name in silent-show silent-dialog; do
    in_order "$work/silent.expected" "$work/$name.log" || fail "$name: the sound manager's lines (see $work/$name.log)"
    grep -q 'Сейвер создан.' "$work/$name.log" || fail "$name: the saver was not created"
    grep -q 'Невозможно загрузить файл звука' "$work/$name.log" && fail "$name: silent sound nodes warned"
  done
  rm -f "$blocker"
  forget_settings
fi

[ $failures = 0 ] && echo "zel.scr sound checks passed"
exit $((failures > 0))
