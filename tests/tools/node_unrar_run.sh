#!/bin/sh
# Runs a check script with the independent extractor node-unrar-js (built
# from the original archiver's own unpacking source), installed on demand
# into WORK_DIR.
# Usage: node_unrar_run.sh WORK_DIR SCRIPT [ARGS...]
# Exit 77 (skipped) without node/npm or when the package cannot be installed.
WORK="$1"
SCRIPT="$2"
if [ -z "$WORK" ] || [ -z "$SCRIPT" ]; then
    echo "usage: $0 WORK_DIR SCRIPT [ARGS...]" >&2
    exit 2
fi
shift 2
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
    echo "SKIP: node or npm is not installed"
    exit 77
fi
mkdir -p "$WORK" || exit 1
if [ ! -f "$WORK/node_modules/node-unrar-js/package.json" ]; then
    if ! (cd "$WORK" && npm install --no-audit --no-fund --no-save --fetch-retries=1 --fetch-timeout=60000 node-unrar-js@2 >"$WORK/npm-install.log" 2>&1); then
        echo "SKIP: npm could not install node-unrar-js (no network?); see $WORK/npm-install.log"
        exit 77
    fi
fi
NODE_PATH="$WORK/node_modules" exec node "$SCRIPT" "$@"
