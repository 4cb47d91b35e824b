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
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
    echo "SKIP: node or npm is not installed"
    exit 77
fi
HERE="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$WORK" || exit 1
if [ ! -f "$WORK/node_modules/node-unrar-js/package.json" ]; then
    if ! (cd "$WORK" && npm install --no-audit --no-fund --no-save --fetch-retries=1 --fetch-timeout=60000 node-unrar-js@2 >"$WORK/npm-install.log" 2>&1); then
        echo "SKIP: npm could not install node-unrar-js (no network?); see $WORK/npm-install.log"
        exit 77
    fi
fi
NODE_PATH="$WORK/node_modules" exec node "$HERE/rar2_independent_check.js" "$TOOL" "$WORK" "$HERE/../data/rar"
