#!/bin/sh
# zel-image end to end: information on a real JPEG, conversions between
# every format the codecs write, and failures with a non-zero exit.
# Usage: image_tool_check.sh ZEL_IMAGE DATA_DIR WORK_DIR
TOOL="$1"
DATA="$2"
WORK="$3"
set -e
rm -rf "$WORK"
mkdir -p "$WORK"
cp "$DATA/photo.jpg" "$WORK/photo.jpg"

expect_info() {
    got=$("$TOOL" info "$1")
    if [ "$got" != "$2" ]; then
        echo "FAIL info $1: '$got', expected '$2'"
        exit 1
    fi
    echo "ok   info $1"
}

expect_failure() {
    if "$TOOL" "$@" >/dev/null 2>"$WORK/stderr.txt"; then
        echo "FAIL no error for: $*"
        exit 1
    fi
    if [ ! -s "$WORK/stderr.txt" ]; then
        echo "FAIL nothing reported for: $*"
        exit 1
    fi
    echo "ok   refused $*"
}

expect_info "$WORK/photo.jpg" "JPGImageCodec 384 512 0"
"$TOOL" convert "$WORK/photo.jpg" "$WORK/photo.bmp"
expect_info "$WORK/photo.bmp" "BMPImageCodec 384 512 0"
"$TOOL" convert "$WORK/photo.bmp" "$WORK/photo.tga"
expect_info "$WORK/photo.tga" "TGAImageCodec 384 512 0"
"$TOOL" convert "$WORK/photo.tga" "$WORK/again.bmp"
cmp "$WORK/photo.bmp" "$WORK/again.bmp"
echo "ok   bmp -> tga -> bmp keeps every byte"
"$TOOL" convert "$WORK/photo.tga" "$WORK/again.jpeg"
expect_info "$WORK/again.jpeg" "JPGImageCodec 384 512 0"

# Six TGA files one after another make a cube map.
cat "$WORK/photo.tga" "$WORK/photo.tga" "$WORK/photo.tga" "$WORK/photo.tga" "$WORK/photo.tga" "$WORK/photo.tga" \
    >"$WORK/six.cube"
expect_info "$WORK/six.cube" "CUBEImageCodec 384 512 0"
"$TOOL" convert "$WORK/six.cube" "$WORK/copy.Cube"
cmp "$WORK/six.cube" "$WORK/copy.Cube"
echo "ok   cube -> cube keeps every byte"

# A 1 x 1 RGBA image goes to BMP without its alpha channel.
printf '\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\40\10\1\2\3\4' >"$WORK/alpha.tga"
expect_info "$WORK/alpha.tga" "TGAImageCodec 1 1 1"
"$TOOL" convert "$WORK/alpha.tga" "$WORK/alpha.bmp" 2>/dev/null
expect_info "$WORK/alpha.bmp" "BMPImageCodec 1 1 0"

# Relative paths work from the working directory.
(cd "$WORK" && "$TOOL" convert photo.bmp relative.tga && "$TOOL" info relative.tga >/dev/null)
echo "ok   relative paths"

printf 'not an image at all' >"$WORK/junk.tga"
cp "$WORK/photo.jpg" "$WORK/photo.png"
expect_failure info "$WORK/missing.tga"
expect_failure info "$WORK/junk.tga"
expect_failure info "$WORK/photo.png"
expect_failure convert "$WORK/photo.jpg" "$WORK/photo.gif"
expect_failure convert "$WORK/photo.jpg" "$WORK/photo.cube"
expect_failure convert "$WORK/six.cube" "$WORK/face.tga"
expect_failure convert "$WORK/photo.jpg" "$WORK/no/such/dir/out.bmp"
if "$TOOL" frobnicate >/dev/null 2>&1; then
    echo "FAIL unknown command accepted"
    exit 1
fi
echo "ok   unknown command"
