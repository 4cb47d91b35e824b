#!/usr/bin/env bash
# Measures zel.scr under Wine in a virtual display (not part of scripts/test):
#   - the time from process start to the first frame of the show, without
#     the one-second pause that holds the loading screen;
#   - the memory the process uses after 1, 5 and 30 minutes of show time in
#     a fixed-step run (0.05 s a frame), which should stay flat;
#   - the same two for the floor: a minimal program that makes a full-screen
#     device and presents frames (zel-minimal-d3d9), its memory read 5 s
#     after its first frame.
# Frames are captured at those points; each capture's appearance is when
# the measure is taken.
#   bench/zel_scr_measure.sh [MINUTES...]   (default: 1 5 30)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZEL_BUILD_ROOT:-$root/build}/win64
scr=$build/app/win32/zel.scr
minimal=$build/bench/win/zel-minimal-d3d9.exe
[ -f "$scr" ] && [ -f "$minimal" ] || { echo "measure: build zel_scr and zel-minimal-d3d9 in $build first" >&2; exit 1; }
minutes=("$@")
[ ${#minutes[@]} -gt 0 ] || minutes=(1 5 30)
step=0.05
frames=()
for m in "${minutes[@]}"; do frames+=($((m * 60 * 20))); done
last=${frames[-1]}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
capture_list=1
for f in "${frames[@]}"; do capture_list+=",$f"; done
capture_dir="Z:$(echo "$work" | sed 's|/|\\|g')"

# The Linux process of the Windows program.
saver_pid() { pgrep -n -x zel.scr 2>/dev/null; }
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null; }
# Waits for a file while the current run lives; fails when it ended first.
wait_file() {
  while [ ! -f "$1" ]; do
    kill -0 "$runner" 2>/dev/null || { echo "measure: the run ended before $(basename "$1")" >&2; exit 1; }
    sleep 0.2
  done
}

# A few frames past the last measure, so it is not taken while shutting down.
export ZEL_FRAMES=$((last + 200)) ZEL_FIXED_STEP=$step ZEL_CAPTURE_DIR=$capture_dir ZEL_CAPTURE_FRAMES=$capture_list
export ZEL_WINE_TIMEOUT=$((last / 5 + 600))
start=$(date +%s.%N)
xvfb-run -a -s '-screen 0 1024x768x24' "$root/scripts/wine-run" "$scr" /s > "$work/run.out" 2>&1 &
runner=$!
wait_file "$work/frame-00001.bmp"
first=$(date +%s.%N)
awk -v a="$first" -v b="$start" 'BEGIN { printf "first scene frame after %.2f s (the 1 s loading pause excluded)\n", a - b - 1 }'
for i in "${!frames[@]}"; do
  wait_file "$work/$(printf 'frame-%05d.bmp' "${frames[$i]}")"
  echo "after ${minutes[$i]} min of show time: $(rss_kib "$(saver_pid)") KiB resident"
done
wait $runner

# The floor, on the same display size and Wine.
minimal_marker=$work/minimal-first-frame
start=$(date +%s.%N)
ZEL_WINE_TIMEOUT=120 xvfb-run -a -s '-screen 0 1024x768x24' "$root/scripts/wine-run" "$minimal" \
  "Z:$(echo "$minimal_marker" | sed 's|/|\\|g')" 10 > "$work/minimal.out" 2>&1 &
runner=$!
wait_file "$minimal_marker"
first=$(date +%s.%N)
awk -v a="$first" -v b="$start" 'BEGIN { printf "minimal program: first frame after %.2f s\n", a - b }'
sleep 5
echo "minimal program: $(rss_kib "$(pgrep -n -x zel-minimal-d3d 2>/dev/null || pgrep -n -f zel-minimal-d3d9.exe)") KiB resident"
wait $runner
