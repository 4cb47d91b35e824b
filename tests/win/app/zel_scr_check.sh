#!/usr/bin/env bash
# zel.scr end to end under Wine: the show's log in order, the registry on
# the first and a later run, captured frames, /a, and a Russian user.
#   zel_scr_check.sh ZEL_SCR WORKDIR
# Needs the CTest Xvfb fixture's display (ZEL_DISPLAY_FILE) and the prefix
# (ZEL_WINEPREFIX).
set -u
scr=$1
work=$2
. "$(dirname "$0")/zel_scr_lib.sh"

# 1. First run of the show: registry written, log in order, frames saved.
forget_settings
capture_dir=$(windows_path "$work/capture")
if ! ZEL_FRAMES=60 ZEL_FIXED_STEP=0.05 ZEL_SEED=7 ZEL_CAPTURE_DIR="$capture_dir" ZEL_CAPTURE_FRAMES=0,50 \
     run show /s; then
  fail "/s did not exit 0"
fi
cat > "$work/show.expected" <<'LINES'
Режим скринсейвера 1.
Ресурс настроек загружен.
Значения параметров по-умолчанию загружены.
Значения параметров по-умолчанию установлены.
Первый запуск скринсейвера. Запись параметров по-умолчанию в реестр...
Значения параметров по-умолчанию записаны в реестр.
Значения параметров прочитаны из реестра.
ShowFPS: false
Gamma: 0
Ресурс локальных данных загружен.
Значения локальных данных загружены.
Скринсейвер инициализирован.
Окна скринсейвера созданы.
LoadingTexture Loaded
Кеширование...
Кеширование закончено.
Сейвер создан.
Работа скринсейвера завершена корректно.
Окна скринсейвера удалены.
Скринсейвер завершил работу.
Конец лога.
LINES
in_order "$work/show.expected" "$work/show.log" || fail "the show's log is not in order (see $work/show.log)"
grep -q '^ERROR\. Невозможно создать\|^ERROR\. Неудач' "$work/show.log" && fail "the show logged a failure"
values=$("$wine_run" reg.exe query "$key" 2>/dev/null | grep -c REG_DWORD)
[ "$values" = 13 ] || fail "the first run stored $values values, not 13"
for frame in 00000 00050; do
  not_black "$work/capture/frame-$frame.bmp" || fail "frame $frame is missing or black"
done

# 2. A later run reads the stored values: Volume 30 stays, the rest are the
# resource's.
"$wine_run" reg.exe add "$key" /v Volume /t REG_DWORD /d 30 /f > /dev/null 2>&1
run password /a || fail "/a did not exit 0"
cat > "$work/password.expected" <<'LINES'
INFO. Режим скринсейвера 4.
INFO. Ресурс настроек загружен.
INFO. Значения параметров по-умолчанию загружены.
INFO. Значения параметров по-умолчанию установлены.
INFO. Значения параметров прочитаны из реестра.
INFO. ShowFPS: false
INFO. ExitOnMouseMove: false
INFO. ShowTime: true
INFO. UseDesktopSettings: true
INFO. Music: true
INFO. SFX: true
INFO. Hour24: false
INFO. Volume: 30
INFO. Width: 800
INFO. Height: 600
INFO. ColorDepth: 32
INFO. AntiAliasing: 0
INFO. Gamma: 0
INFO. Ресурс локальных данных загружен.
INFO. Значения локальных данных загружены.
INFO. Скринсейвер инициализирован.
INFO. Окна скринсейвера созданы.
INFO. Сейвер создан.
INFO. Работа скринсейвера завершена корректно.
INFO. Окна скринсейвера удалены.
INFO. Скринсейвер завершил работу.
INFO. Конец лога.
LINES
tail -n +2 "$work/password.log" | tr -d '\r' | diff "$work/password.expected" - > "$work/password.diff" ||
  fail "/a logged other lines (see $work/password.diff)"

# 3. A Russian user gets the Russian defaults (Wine takes the language from
# LC_ALL even where the system has no such locale).
forget_settings
LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 run russian /a || fail "/a as a Russian user did not exit 0"
for line in 'ShowFPS: true' 'Hour24: true' 'Volume: 80'; do
  grep -q "$line" "$work/russian.log" || fail "the Russian defaults lack '$line'"
done
forget_settings

[ $failures = 0 ] && echo "zel.scr checks passed"
exit $((failures > 0))
