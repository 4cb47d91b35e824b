#!/bin/sh
# zel-shader end to end: a program's tokens as little-endian words, and a
# bad program's error on stderr with a non-zero exit and no output file;
# the listings: every shipped program written, a stale listing removed.
# Usage: shader_tool_check.sh ZEL_SHADER WORK_DIR
TOOL="$1"
WORK="$2"
set -e
rm -rf "$WORK"
mkdir -p "$WORK"

printf 'ps_1_1\ntex t0\nmov r0, t0\n' > "$WORK/good.psh"
"$TOOL" assemble "$WORK/good.psh" "$WORK/good.bin"
got=$(od -An -tx1 -v "$WORK/good.bin" | tr -d ' \n')
want=0101ffff4200000000000fb00100000000000f800000e4b0ffff0000
if [ "$got" != "$want" ]; then
    echo "FAIL tokens: $got, expected $want"
    exit 1
fi
echo "ok   tokens"

printf 'vs_1_1\nmov r0, c96\n' > "$WORK/bad.vsh"
if "$TOOL" assemble "$WORK/bad.vsh" "$WORK/bad.bin" 2>"$WORK/stderr.txt"; then
    echo "FAIL no error for a bad program"
    exit 1
fi
if ! grep -q "line 2, column 9" "$WORK/stderr.txt" || [ -e "$WORK/bad.bin" ]; then
    echo "FAIL error report: $(cat "$WORK/stderr.txt")"
    exit 1
fi
echo "ok   error"

if "$TOOL" assemble "$WORK/missing.psh" "$WORK/missing.bin" 2>/dev/null; then
    echo "FAIL no error for a missing file"
    exit 1
fi
echo "ok   missing file"

mkdir -p "$WORK/listing"
touch "$WORK/listing/gone.vsh"
"$TOOL" list "$WORK/listing"
if [ "$(head -n 1 "$WORK/listing/color.vsh")" != "vs_1_1" ] || [ ! -s "$WORK/listing/bloom_blur.psh" ] ||
   [ -e "$WORK/listing/gone.vsh" ]; then
    echo "FAIL listings: $(ls "$WORK/listing" | tr '\n' ' ')"
    exit 1
fi
echo "ok   listings"
