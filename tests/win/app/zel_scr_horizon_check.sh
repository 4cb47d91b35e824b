#!/usr/bin/env bash
# The sea meets the sky without a line: zel.scr /s plays 150 frames at a
# one-second step (one seed, so the same shots each time, the high ones
# among them) in a 640x480 window, every other frame is captured, and no
# frame may show a straight brightness step across its width below the
# first one (the horizon, or the skyline where land hides it).
#   zel_scr_horizon_check.sh ZEL_SCR WORKDIR
# Needs the CTest Xvfb fixture's display (ZEL_DISPLAY_FILE), the prefix
# (ZEL_WINEPREFIX) and ImageMagick (scripts/setup installs it).
set -u
scr=$1
work=$2
. "$(dirname "$0")/zel_scr_lib.sh"

command -v convert > /dev/null || { echo "FAIL: ImageMagick's convert is missing (scripts/setup)"; exit 1; }

frames=150
ZEL_WINDOWED=640x480 ZEL_SEED=5 ZEL_FIXED_STEP=1.0 ZEL_FRAMES=$frames ZEL_CAPTURE_DIR=$(windows_path "$work/capture") \
  ZEL_CAPTURE_FRAMES=$(seq -s, 2 2 $frames) ZEL_WINE_TIMEOUT=800 run horizon /s ||
  fail "/s did not run its $frames frames (see $work/horizon.log)"

# The rows (of the frame scaled to 160x120, in grey) where a straight step
# crosses at least 85 % of the width: in each column the brightness two
# rows apart differs by 4 levels or more, twice as much as just above and
# below (a step, not a gradient), within two rows either side (a slight
# slope). The rows by the black film bands are passed over.
straight_steps() {
  convert "$1" -scale 160x120! -colorspace gray -depth 8 gray:- | od -An -v -tu1 -w160 | awk '
    function abs(v) { return v < 0 ? -v : v }
    { for (x = 1; x <= NF; ++x) p[NR, x] = $x
      width = NF
      black[NR] = 1
      for (x = 1; x <= NF; ++x) if ($x > 10) { black[NR] = 0; break } }
    END {
      for (y = 3; y <= NR; ++y) for (x = 1; x <= width; ++x) d[y, x] = p[y, x] - p[y - 2, x]
      for (y = 7; y <= NR - 4; ++y) {
        near_band = 0
        for (j = y - 6; j <= y + 4; ++j) if (black[j]) near_band = 1
        if (near_band) continue
        up = 0; down = 0
        for (x = 1; x <= width; ++x) {
          u = 0; v = 0
          for (j = y - 2; j <= y + 2; ++j) {
            around = abs(d[j - 2, x]); if (abs(d[j + 2, x]) > around) around = abs(d[j + 2, x])
            if (d[j, x] >= 4 && d[j, x] >= 2 * around) u = 1
            if (d[j, x] <= -4 && -d[j, x] >= 2 * around) v = 1
          }
          up += u; down += v
        }
        if (up >= 0.85 * width || down >= 0.85 * width) print y
      }
    }'
}

checked=0
for frame in "$work"/capture/frame-*.bmp; do
  [ -f "$frame" ] || continue
  checked=$((checked + 1))
  # Neighbouring rows are one step; the first step is the horizon.
  below=$(straight_steps "$frame" | awk 'NR == 1 || $1 > last + 1 { ++steps } { last = $1 } END { print steps - 1 }')
  if [ "${below:-0}" -gt 0 ]; then
    fail "$(basename "$frame") has a straight step across its width below the horizon"
  else
    rm -f "$frame"
  fi
done
[ $checked -ge $((frames / 2 - 1)) ] || fail "only $checked frames were captured"

[ $failures = 0 ] && echo "zel.scr horizon checks passed ($checked frames)"
exit $((failures > 0))
