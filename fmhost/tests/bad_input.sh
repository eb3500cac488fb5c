#!/usr/bin/env bash
# Hostile scripts: deep nesting, a huge text literal, broken bytes. Each must end with a clear
# answer (a result, an error result or a refusal naming the line), never a crash or a hang.
# Usage: bad_input.sh FMHOST PLUGIN
set -uo pipefail
fmhost=$1 plugin=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

repeat() { head -c "$2" /dev/zero | tr '\0' "$1"; }

{ repeat '(' 100000; printf '1'; repeat ')' 100000; printf '\n'; } >"$work/deep.fmscript"
{ repeat '(' 100000; printf '1\n'; } >"$work/deep-open.fmscript"
{ printf 'Length ( "'; repeat 'a' 10000000; printf '" )\n'; } >"$work/huge.fmscript"
{ printf 'Length ( "'; repeat 'a' 10000000; printf '\n'; } >"$work/huge-open.fmscript"
{ repeat '[' 100000; printf '\n'; } >"$work/deep-brackets.fmscript"
printf '1 + 1\n"caf\xe9"\n' >"$work/latin1.fmscript"
printf '1 + 1\n"\xf0\x9f\x98"\n' >"$work/cut.fmscript"
printf '"\xed\xa0\x80"\n' >"$work/surrogate.fmscript"
printf '\xef\xbb\xbf"first"\r\nLet ( x = 1 ;\r\n  x + 1 )\r\n' >"$work/windows.fmscript"

failures=0
check() {
  local name=$1
  shift
  if ! "$here/expect.sh" "$@"; then
    echo "FAILED: $name"
    failures=$((failures + 1))
  fi
}
run=("$fmhost" --json --plugin "$plugin")

# Deep nesting: the engine gives a value or an error result; the run completes.
check deep 0 '"type": "(number|error)"' "${run[@]}" "$work/deep.fmscript"
check deep-open 2 'deep-open.fmscript:1: .*never balances.*100000 unclosed' "${run[@]}" "$work/deep-open.fmscript"
check deep-brackets 2 'deep-brackets.fmscript:1: .*never balances' "${run[@]}" "$work/deep-brackets.fmscript"
# A 10 MB literal is measured in full.
check huge 0 '"text": "10000000"' "${run[@]}" "$work/huge.fmscript"
check huge-open 2 'huge-open.fmscript:1: .*text literal opened on line 1 is not closed' "${run[@]}" "$work/huge-open.fmscript"
# Broken UTF-8 is refused with its line and column before anything runs.
check latin1 2 'latin1.fmscript:2: invalid UTF-8 \(byte 0xE9 at column 5\)' "${run[@]}" "$work/latin1.fmscript"
check cut 2 'cut.fmscript:2: invalid UTF-8' "${run[@]}" "$work/cut.fmscript"
check surrogate 2 'surrogate.fmscript:1: invalid UTF-8' "${run[@]}" "$work/surrogate.fmscript"
check nothing-ran 2 '!"calc"' "${run[@]}" "$work/latin1.fmscript"
check eval-utf8 2 '-e #1: invalid UTF-8' "${run[@]}" -e "$(printf '"\xff"')"
# Windows line endings and a byte-order mark read like plain lines.
check windows-first 0 '^\{"calc": "\\"first\\"", "type": "text", "text": "first"\}$' "${run[@]}" "$work/windows.fmscript"
check windows-joined 0 '"calc": "Let \( x = 1 ;\\n  x \+ 1 \)", "type": "number", "text": "2"' "${run[@]}" "$work/windows.fmscript"

exit $((failures > 0))
