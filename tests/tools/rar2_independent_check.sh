#!/bin/sh
# Independent check of zel-rar2's archives: an extractor built from the
# original archiver's own unpacking source (npm package node-unrar-js) must
# unpack them to the very bytes that were packed.
# Usage: rar2_independent_check.sh ZEL_RAR2 WORK_DIR
# Exit 77 (skipped) without node/npm or when the package cannot be installed.
TOOL="$1"
WORK="$2"
if [ -z "$TOOL" ] || [ -z "$WORK" ]; then
    echo "usage: $0 ZEL_RAR2 WORK_DIR" >&2
    exit 2
fi
HERE="$(cd "$(dirname "$0")" && pwd)"
exec "$HERE/node_unrar_run.sh" "$WORK" "$HERE/rar2_independent_check.js" "$TOOL" "$WORK" "$HERE/../data/rar"
