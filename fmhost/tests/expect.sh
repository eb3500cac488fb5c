#!/usr/bin/env bash
# Runs a command and checks its exit status and that its output (standard output and error
# together) matches an extended regular expression; a REGEX written !REGEX must match no line.
# Usage: expect.sh STATUS REGEX COMMAND [ARGS...]
set -uo pipefail
want_status=$1 pattern=$2
shift 2
output=$("$@" 2>&1)
status=$?
failed=0
if [ "$status" -ne "$want_status" ]; then
  echo "exit status $status, expected $want_status"
  failed=1
fi
if [ "${pattern:0:1}" = '!' ]; then
  if grep -Eq -- "${pattern:1}" <<<"$output"; then
    echo "output matches what it must not: ${pattern:1}"
    failed=1
  fi
elif ! grep -Eq -- "$pattern" <<<"$output"; then
  echo "output does not match: $pattern"
  failed=1
fi
if [ "$failed" -ne 0 ]; then
  echo "--- command: $*"
  echo "--- output:"
  head -c 4000 <<<"$output"
fi
exit "$failed"
