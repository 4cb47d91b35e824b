#!/bin/sh
# zel-rar2 end to end: pack a directory tree (stored and compressed, solid
# and not), test the archive, extract it and compare with the originals; a
# damaged archive must fail with a non-zero exit.
# Usage: rar2_tool_check.sh ZEL_RAR2 WORK_DIR
TOOL="$1"
WORK="$2"
DATA="$(cd "$(dirname "$0")/../data/rar" && pwd)"
set -e
rm -rf "$WORK"
mkdir -p "$WORK/tree/Textures/Deep" "$WORK/tree/Sounds"
cp "$DATA/test.jpg" "$WORK/tree/Textures/"
cp "$DATA/solid5-expected.bin" "$WORK/tree/Textures/Deep/"
cp "$DATA/README.md" "$WORK/tree/Sounds/readme.txt"
: >"$WORK/tree/empty.txt"
for mode in "--store" "" "--solid" "--solid --best" "--fast"; do
    archive="$WORK/out.rar2"
    "$TOOL" pack $mode "$archive" "$WORK/tree"
    "$TOOL" list "$archive" >"$WORK/list.txt"
    grep -q 'tree\\Textures\\Deep\\$' "$WORK/list.txt"
    "$TOOL" test "$archive" >/dev/null
    rm -rf "$WORK/x"
    "$TOOL" extract "$archive" "$WORK/x"
    diff -r "$WORK/tree" "$WORK/x/tree"
    echo "ok   pack $mode"
done
# A flipped byte inside the packed data of the last (compressed) file.
size=$(wc -c <"$WORK/out.rar2")
printf '\377' | dd of="$WORK/out.rar2" bs=1 seek=$((size - 100)) conv=notrunc 2>/dev/null
if "$TOOL" test "$WORK/out.rar2" >/dev/null 2>&1; then
    echo "FAIL damaged archive passed the test"
    exit 1
fi
echo "ok   damaged archive fails"
echo "6 passed, 0 failed"
