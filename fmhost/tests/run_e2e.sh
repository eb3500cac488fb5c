#!/usr/bin/env bash
# Runs one end-to-end script through fmhost --json and compares its output with the expected
# lines. A script may say, in comment lines of its own:
#   # fmhost-args: --screen iphone     extra command-line options
#   # fmhost-exit: 3                   the exit status it must end with (default 0)
# With FMHOST_UPDATE=1 the actual output replaces the expected file (review the diff!).
# Usage: run_e2e.sh FMHOST PLUGIN SCRIPT EXPECTED
set -uo pipefail
fmhost=$1 plugin=$2 script=$3 expected=$4

args=$(sed -n 's/^# fmhost-args: //p' "$script" | head -n1)
want_status=$(sed -n 's/^# fmhost-exit: //p' "$script" | head -n1)
want_status=${want_status:-0}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# shellcheck disable=SC2086
"$fmhost" --json --plugin "$plugin" $args "$script" >"$work/actual" 2>"$work/stderr"
status=$?

if [ "${FMHOST_UPDATE:-0}" = 1 ]; then
  cp "$work/actual" "$expected"
fi
failed=0
if [ "$status" -ne "$want_status" ]; then
  echo "exit status $status, expected $want_status"
  failed=1
fi
if ! diff -u "$expected" "$work/actual"; then
  failed=1
fi
if [ "$failed" -ne 0 ]; then
  echo "--- standard error:"
  cat "$work/stderr"
fi
exit "$failed"
