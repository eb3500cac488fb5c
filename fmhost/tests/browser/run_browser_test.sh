#!/usr/bin/env bash
# Runs the browser test of fmhost serve, after checking that what it needs is installed, so
# that a machine without it fails with a message saying what to do instead of a stack trace.
#   run_browser_test.sh FMHOST PLUGIN OUT_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 3 ] || { echo "usage: $0 FMHOST PLUGIN OUT_DIR" >&2; exit 2; }
missing=()
command -v node >/dev/null || missing+=("node (Debian package nodejs)")
[ -x "${CHROMIUM:-/usr/bin/chromium}" ] || missing+=("${CHROMIUM:-/usr/bin/chromium} (Debian package chromium)")
[ -d "$here/node_modules/playwright-core" ] || missing+=("playwright-core (npm ci --prefix fmhost/tests/browser)")
if [ ${#missing[@]} -gt 0 ]; then
  echo "the browser test cannot run; missing: ${missing[*]}. Run scripts/setup." >&2
  exit 1
fi
mkdir -p "$3"
FMHOST=$1 PLUGIN=$2 OUT_DIR=$3 exec node --test --test-timeout=150000 "$here/live_preview.test.mjs"
