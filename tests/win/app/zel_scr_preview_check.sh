#!/usr/bin/env bash
# zel.scr /p under Wine with its preview hosted in a window of its own
# (ZEL_PREVIEW_HOST): the X screen shows the preview picture at the host's
# rectangle, closing the host ends the run cleanly, and the run writes
# ZelLogPreview.txt, leaving ZelLog.txt alone.
#   zel_scr_preview_check.sh ZEL_SCR PREVIEW_BMP WORKDIR
# PREVIEW_BMP is the picture the preview draws, as packed in CustomData.
# Needs the CTest Xvfb fixture's display (ZEL_DISPLAY_FILE), the prefix
# (ZEL_WINEPREFIX) and ImageMagick (scripts/setup installs it).
set -u
scr=$1
reference=$2
work=$3
root=$(cd "$(dirname "$0")/../../.." && pwd)
wine_run=$root/scripts/wine-run
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work"
for tool in import compare identify; do
  command -v $tool > /dev/null || { echo "FAIL: ImageMagick's $tool is missing (scripts/setup)"; exit 1; }
done
[ -s "${ZEL_DISPLAY_FILE:-}" ] || { echo "FAIL: no display file: is the Xvfb fixture running?"; exit 1; }
DISPLAY=:$(tr -dc '0-9' < "$ZEL_DISPLAY_FILE")
export DISPLAY

log_dir() { find "$ZEL_WINEPREFIX/drive_c/users" -type d -path '*/Velkor Studio' 2>/dev/null | head -1; }
digest() { if [ -f "$1" ]; then md5sum < "$1"; else echo none; fi; }

dir=$(log_dir)
main_before=none
if [ -n "$dir" ]; then
  main_before=$(digest "$dir/ZelLog.txt")
  rm -f "$dir/ZelLogPreview.txt"
fi

# The host at the picture's own size, so the preview draws it unscaled.
read -r width height < <(identify -format '%w %h\n' "$reference")
x=200
y=150
ZEL_PREVIEW_HOST=$x,$y,$width,$height ZEL_WINE_TIMEOUT=90 \
  "$wine_run" "$scr" /p 1234 > "$work/preview.out" 2>&1 &
saver=$!

# The host's area of the screen, read until it holds the picture.
area=$work/area.png
shown=0
deviation=0
difference=1
for _ in $(seq 1 60); do
  sleep 0.5
  kill -0 $saver 2> /dev/null || break
  import -window root -crop "${width}x${height}+${x}+${y}" +repage "$area" 2> /dev/null || continue
  deviation=$(identify -format '%[fx:standard_deviation]' "$area" 2> /dev/null || echo 0)
  # "absolute (normalised)": the normalised root-mean-square difference.
  difference=$(compare -metric RMSE "$area" "$reference" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
  if awk -v d="$deviation" -v r="${difference:-1}" 'BEGIN { exit !(d > 0.05 && r < 0.05) }'; then
    shown=1
    break
  fi
done
[ $shown = 1 ] ||
  fail "the host's area does not hold the preview picture (deviation $deviation, difference from it ${difference:-?}; see $area)"

# Closing the host window, as taskkill without /f does, ends the preview.
"$wine_run" taskkill.exe /im zel.scr > "$work/taskkill.out" 2>&1
wait $saver
status=$?
[ $status = 0 ] || fail "/p exited with $status"

dir=$(log_dir)
preview_log=$work/preview.log
iconv -f CP1251 -t UTF-8 "$dir/ZelLogPreview.txt" > "$preview_log" 2> /dev/null || : > "$preview_log"
grep -q 'Режим скринсейвера 0\.' "$preview_log" || fail "ZelLogPreview.txt lacks the preview's start (see $preview_log)"
grep -q 'Конец лога\.' "$preview_log" || fail "ZelLogPreview.txt lacks the end of the log (see $preview_log)"
[ "$(digest "$dir/ZelLog.txt")" = "$main_before" ] || fail "the preview wrote ZelLog.txt"

[ $failures = 0 ] && echo "zel.scr preview checks passed"
exit $((failures > 0))
