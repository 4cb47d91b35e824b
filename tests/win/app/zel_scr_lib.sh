# Helpers of the zel.scr checks under Wine; sourced after setting scr (the
# program) and work (a folder of the check's own, made afresh here). Needs
# the CTest Xvfb fixture's display (ZEL_DISPLAY_FILE) and the prefix
# (ZEL_WINEPREFIX).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
wine_run=$root/scripts/wine-run
key='HKCU\Software\Velkor Studio\Zel'
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work/capture"
export ZEL_WINE_TIMEOUT=${ZEL_WINE_TIMEOUT:-120}

log_file() { find "$ZEL_WINEPREFIX/drive_c/users" -path '*Velkor Studio/ZelLog.txt' 2>/dev/null | head -1; }

# Runs a Windows program with the arguments; the log, in UTF-8, lands in
# $work/$name.log.
run_program() {
  local name=$1
  shift
  "$wine_run" "$@" > "$work/$name.out" 2>&1
  local status=$?
  iconv -f CP1251 -t UTF-8 "$(log_file)" > "$work/$name.log" 2>/dev/null || : > "$work/$name.log"
  return $status
}

# Runs zel.scr with the arguments, as run_program.
run() {
  local name=$1
  shift
  run_program "$name" "$scr" "$@"
}

forget_settings() { "$wine_run" reg.exe delete "$key" /f > /dev/null 2>&1; }

# Every line of the expected file appears in the log, in this order.
in_order() {
  awk 'NR == FNR { want[++n] = $0; next } i < n && index($0, want[i + 1]) { ++i } END { exit i == n ? 0 : 1 }' \
    "$1" "$2"
}

# A 24-bit BMP whose pixels are not all black.
not_black() {
  [ -f "$1" ] && [ "$(tail -c +55 "$1" | tr -d '\000' | head -c 100000 | wc -c)" -gt 10000 ]
}

# The Windows path of a Unix one, on Wine's drive Z:.
windows_path() { echo "Z:$1" | sed 's|/|\\|g'; }
