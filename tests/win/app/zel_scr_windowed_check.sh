#!/usr/bin/env bash
# zel.scr /s with ZEL_WINDOWED: the show runs in a window whose picture on
# the X screen has exactly the requested size, its back buffer has that
# size too, and closing the window ends the show cleanly.
#   zel_scr_windowed_check.sh ZEL_SCR WORKDIR
# Needs the CTest Xvfb fixture's display (ZEL_DISPLAY_FILE), the prefix
# (ZEL_WINEPREFIX), ImageMagick and xwininfo (scripts/setup installs them).
set -u
scr=$1
work=$2
. "$(dirname "$0")/zel_scr_lib.sh"

for tool in import identify xwininfo; do
  command -v $tool > /dev/null || { echo "FAIL: $tool is missing (scripts/setup)"; exit 1; }
done
[ -s "${ZEL_DISPLAY_FILE:-}" ] || { echo "FAIL: no display file: is the Xvfb fixture running?"; exit 1; }
DISPLAY=:$(tr -dc '0-9' < "$ZEL_DISPLAY_FILE")
export DISPLAY

# Neither the screen's size nor a 4:3 one, so no full-screen mode matches.
width=640
height=400
ZEL_WINDOWED=${width}x${height} ZEL_FIXED_STEP=0.05 ZEL_CAPTURE_DIR=$(windows_path "$work/capture") \
  ZEL_CAPTURE_FRAMES=20 ZEL_WINE_TIMEOUT=180 "$wine_run" "$scr" /s > "$work/windowed.out" 2>&1 &
saver=$!

# The program's top-level X window (Wine's IME helper windows are 1x1):
# "WxH+X+Y" as the X server places it on the screen.
show_geometry() {
  xwininfo -root -tree 2> /dev/null |
    awk '/\("zel\.scr" "zel\.scr"\)/ && !/Default IME/ { for (i = 1; i <= NF; ++i) if ($i ~ /^[0-9]+x[0-9]+\+/) { print $i; exit } }'
}

# Once the 20th frame is drawn the show is on, not the loading screen: read
# the screen until the window's area holds a picture.
frame=$work/capture/frame-00020.bmp
area=$work/area.png
geometry=
shown=0
deviation=0
for _ in $(seq 1 240); do
  sleep 0.5
  kill -0 $saver 2> /dev/null || break
  [ -f "$frame" ] || continue
  geometry=$(show_geometry)
  [ -n "$geometry" ] || continue
  import -window root -crop "$geometry" +repage "$area" 2> /dev/null || continue
  deviation=$(identify -format '%[fx:standard_deviation]' "$area" 2> /dev/null || echo 0)
  if awk -v d="$deviation" 'BEGIN { exit !(d > 0.05) }'; then
    shown=1
    break
  fi
done
[ $shown = 1 ] || fail "no picture of the show on the screen (window ${geometry:-none}, deviation $deviation; see $area)"
size=${geometry%%+*}
[ "$size" = "${width}x${height}" ] || fail "the window's picture on the screen is $size, not ${width}x${height}"
# The area read off the screen is the window's own, whole.
[ "$(identify -format '%wx%h' "$area" 2> /dev/null)" = "$size" ] || fail "the screen's area is not the window's size"

# Closing the window, as taskkill without /f does, ends the show.
"$wine_run" taskkill.exe /im zel.scr > "$work/taskkill.out" 2>&1
wait $saver
status=$?
[ $status = 0 ] || fail "the windowed /s exited with $status"
[ "$(identify -format '%wx%h' "$frame" 2> /dev/null)" = "${width}x${height}" ] ||
  fail "the back buffer is not ${width}x${height} (see $frame)"
iconv -f CP1251 -t UTF-8 "$(log_file)" > "$work/windowed.log" 2> /dev/null || : > "$work/windowed.log"
grep -q 'Конец лога\.' "$work/windowed.log" || fail "the log lacks its end (see $work/windowed.log)"

[ $failures = 0 ] && echo "zel.scr windowed checks passed"
exit $((failures > 0))
