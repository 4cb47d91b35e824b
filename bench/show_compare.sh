#!/usr/bin/env bash
# Compares the show's frame rates of this working tree with a baseline
# commit's (not part of scripts/test). The baseline is checked out as a git
# worktree under the build root and built there (its native tree for the
# content tool, its win64 tree for zel-bench-show); this tree's win64
# zel-bench-show is built too. Both benchmarks then run alternately, in
# ROUNDS rounds, at every window size, each on its own archives; the new
# benchmark also runs on the baseline's archives (scene files are stable),
# so that engine and content gains show apart. Printed: per-shot frame
# rates averaged over the rounds, the slowest shot, the mean, and the
# ratios new / baseline.
#
#   bench/show_compare.sh [BASELINE]      (default aefeb79)
#
# Environment: ZEL_BUILD_ROOT (default <repo>/build), ZEL_JOBS (2),
# ZEL_BENCH_FRAMES (frames per shot, 30), ZEL_BENCH_ROUNDS (3),
# ZEL_BENCH_SIZES ("640x480 1024x768").
# Both benchmarks take the window size as their fourth argument: the
# baseline's ShowBench.cpp is replaced by this tree's before it is built,
# so the two measure with the same harness.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${ZEL_BUILD_ROOT:-$root/build}
jobs=${ZEL_JOBS:-2}
frames=${ZEL_BENCH_FRAMES:-30}
rounds=${ZEL_BENCH_ROUNDS:-3}
sizes=${ZEL_BENCH_SIZES:-"640x480 1024x768"}
baseline=$(git -C "$root" rev-parse --verify "${1:-aefeb79}^{commit}")
base=$build_root/baseline-${baseline:0:12}

say() { echo "show_compare: $*" >&2; }

# The baseline's sources and trees.
if [ ! -d "$base/src" ]; then
  say "checking out $baseline in $base/src"
  mkdir -p "$base"
  git -C "$root" worktree add --detach "$base/src" "$baseline" >&2
fi
cp "$root/bench/win/ShowBench.cpp" "$base/src/bench/win/ShowBench.cpp"
build_tree() {  # SOURCE NATIVE WIN64
  [ -f "$2/CMakeCache.txt" ] || cmake -S "$1" -B "$2" -G Ninja -DZEL_JOBS="$jobs" >&2
  [ -f "$3/CMakeCache.txt" ] || cmake -S "$1" -B "$3" -G Ninja -DZEL_JOBS="$jobs" \
    -DCMAKE_TOOLCHAIN_FILE="$1/cmake/mingw-w64.cmake" -DZEL_HOST_BUILD_DIR="$2" >&2
  cmake --build "$2" -j "$jobs" --target zel-content >&2
  cmake --build "$3" -j "$jobs" --target zel-bench-show >&2
}
say "building the baseline"
build_tree "$base/src" "$base/native" "$base/win64"
say "building this tree"
build_tree "$root" "$build_root/native" "$build_root/win64"

base_exe=$base/win64/bench/win/zel-bench-show.exe
new_exe=$build_root/win64/bench/win/zel-bench-show.exe
base_content=$base/win64/app/win32/content
new_content=$build_root/win64/app/win32/content
out=$build_root/show-compare
mkdir -p "$out"
rm -f "$out"/*.txt

run() {  # LABEL EXE CONTENT SIZE ROUND
  say "round $5, $4: $1"
  ZEL_WINEPREFIX="$out/wineprefix" ZEL_WINE_TIMEOUT=1800 xvfb-run -a -s '-screen 0 1280x1024x24' "$root/scripts/wine-run" \
    "$2" "$3/CustomData.rar2" "$3/Media.rar2" "$frames" "$4" > "$out/$1-$4-$5.txt" 2>/dev/null ||
    say "$1 at $4 failed (round $5)"
}

for round in $(seq 1 "$rounds"); do
  for size in $sizes; do
    # Alternate which goes first, so that neither always meets a warmer
    # or a busier machine.
    if [ $((round % 2)) -eq 1 ]; then
      run base "$base_exe" "$base_content" "$size" "$round"
      run new "$new_exe" "$new_content" "$size" "$round"
    else
      run new "$new_exe" "$new_content" "$size" "$round"
      run base "$base_exe" "$base_content" "$size" "$round"
    fi
    run new-on-base-archives "$new_exe" "$base_content" "$size" "$round"
  done
done

python3 - "$out" "$sizes" "${baseline:0:12}" <<'PY'
import glob, os, re, sys
from collections import defaultdict
out, sizes, commit = sys.argv[1], sys.argv[2].split(), sys.argv[3]
labels = ["base", "new", "new-on-base-archives"]
rates = defaultdict(list)  # (label, size, shot) -> fps of each round
for path in glob.glob(os.path.join(out, "*.txt")):
    label, size, _ = os.path.basename(path)[:-4].rsplit("-", 2)
    for line in open(path, errors="replace"):
        m = re.match(r"^(\S+)\s+([0-9.]+) fps$", line.strip())
        if m:
            rates[(label, size, m.group(1))].append(float(m.group(2)))
print(f"baseline {commit}; fps averaged over the rounds")
for size in sizes:
    shots = sorted({k[2] for k in rates if k[1] == size})
    if not shots:
        print(f"\n{size}: no results")
        continue
    mean = lambda xs: sum(xs) / len(xs) if xs else float("nan")
    print(f"\n{size}")
    print(f"{'shot':<10} {'base':>8} {'new':>8} {'new/base':>9} {'new, base archives':>19} {'ratio':>6}")
    summary = {}
    for label in labels:
        per = {s: mean(rates.get((label, size, s), [])) for s in shots}
        valid = {s: v for s, v in per.items() if v == v}
        summary[label] = per, (min(valid.items(), key=lambda kv: kv[1]) if valid else ("-", float("nan"))), mean(list(valid.values()))
    for s in shots:
        b, n, a = (summary[l][0][s] for l in labels)
        print(f"{s:<10} {b:8.2f} {n:8.2f} {n / b:9.2f} {a:19.2f} {a / b:6.2f}")
    for label in labels:
        per, (slow_shot, slow), avg = summary[label]
        print(f"{label:<22} slowest {slow_shot} {slow:.2f} fps, mean {avg:.2f} fps")
    b, n, a = (summary[l] for l in labels)
    print(f"new/base: slowest {n[1][1] / b[1][1]:.2f}x, mean {n[2] / b[2]:.2f}x; "
          f"new on base archives/base: slowest {a[1][1] / b[1][1]:.2f}x, mean {a[2] / b[2]:.2f}x")
PY
