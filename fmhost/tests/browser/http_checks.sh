#!/usr/bin/env bash
# Requests that are not the live page's own get a clear HTTP error and change nothing; the
# server is on loopback only; a taken port is refused with a message; Ctrl-C ends the host
# cleanly. Uses curl against a real `fmhost serve`.
#   http_checks.sh FMHOST PLUGIN
set -uo pipefail
[ $# -eq 2 ] || { echo "usage: $0 FMHOST PLUGIN" >&2; exit 2; }
fmhost=$1 plugin=$2
command -v curl >/dev/null || { echo "curl is missing (Debian package curl); run scripts/setup" >&2; exit 1; }
work=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# With job control on, the background host keeps Ctrl-C's signal instead of ignoring it, as a
# host started from a terminal does.
set -m
"$fmhost" serve --port 0 --plugin "$plugin" -e '1 + 1' >"$work/out" 2>"$work/err" &
pid=$!
set +m
port=
for _ in $(seq 200); do
  port=$(grep -o 'http://127\.0\.0\.1:[0-9]*' "$work/err" | head -n 1 | sed 's/.*://')
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "fmhost serve did not print its address:"; cat "$work/err"; exit 1; }
base=http://127.0.0.1:$port

# check NAME STATUS BODY-PATTERN CURL-ARGS...
check() {
  local name=$1 want=$2 pattern=$3; shift 3
  local got
  got=$(curl -s -o "$work/body" -w '%{http_code}' --max-time 10 "$@")
  if [ "$got" != "$want" ]; then
    fail "$name: HTTP $got, expected $want: $(head -c 300 "$work/body")"
  elif ! grep -Eq "$pattern" "$work/body"; then
    fail "$name: the body does not say /$pattern/: $(head -c 300 "$work/body")"
  else
    echo "ok: $name: $want $(head -n 1 "$work/body" | head -c 120)"
  fi
}
json=(-H 'Content-Type: application/json')
head -c 2000000 /dev/zero | tr '\0' ' ' >"$work/big"
many=$(printf '{"type":"return"},%.0s' $(seq 257))
printf '{"events":[{"type":"text","text":"\xff"}]}' >"$work/bad-utf8"

check "wrong path" 404 "not part of the live preview" "$base/admin"
check "wrong method" 404 "not part of the live preview" -X DELETE "$base/"
check "oversized body" 413 "larger than" "${json[@]}" --data-binary @"$work/big" "$base/event"
check "not JSON" 400 "not JSON" "${json[@]}" --data '{"events": [' "$base/event"
check "not an object" 400 "must be an object" "${json[@]}" --data '[1]' "$base/event"
check "no events array" 400 "array \"events\"" "${json[@]}" --data '{"events": 3}' "$base/event"
check "unknown type" 400 "unknown type \"explode\"" "${json[@]}" --data '{"events":[{"type":"explode"}]}' "$base/event"
check "touch without a point" 400 "needs a number \"y\"" "${json[@]}" \
  --data '{"events":[{"type":"touch","phase":"began","x":1}]}' "$base/event"
check "touch with a bad phase" 400 "phase" "${json[@]}" \
  --data '{"events":[{"type":"touch","phase":"hover","x":1,"y":2}]}' "$base/event"
check "point out of range" 400 "out of range" "${json[@]}" \
  --data '{"events":[{"type":"scroll","x":1,"y":2,"dx":0,"dy":1e300}]}' "$base/event"
check "empty text" 400 "non-empty \"text\"" "${json[@]}" --data '{"events":[{"type":"text","text":""}]}' "$base/event"
check "invalid UTF-8" 400 "not JSON" "${json[@]}" --data-binary @"$work/bad-utf8" "$base/event"
check "too many events" 400 "more than 256" "${json[@]}" --data "{\"events\":[${many%,}]}" "$base/event"
check "wrong content type" 415 "Content-Type: application/json" -H 'Content-Type: text/plain' \
  --data '{"events":[]}' "$base/event"
check "event from a page without the session" 409 "does not hold the session" "${json[@]}" \
  --data '{"events":[{"type":"return"}]}' "$base/event"
check "calculation without calc" 400 "calc" "${json[@]}" --data '{"calculation":"1"}' "$base/eval"
check "calculation from a page without the session" 409 "does not hold the session" "${json[@]}" \
  --data '{"calc":"1"}' "$base/eval"
check "another host name" 403 "only requests for 127.0.0.1" -H 'Host: attacker.example' "$base/"
check "another site's page" 403 "other sites" -H 'Origin: http://attacker.example' "${json[@]}" \
  --data '{"events":[{"type":"return"}]}' "$base/event"
check "the screen" 200 "PNG" "$base/screen.png"
check "the page, still served" 200 "Brelka live preview" "$base/"

# Loopback only: the port is closed on every other address of this machine.
for address in $(hostname -I 2>/dev/null); do
  case $address in 127.*|*:*) continue ;; esac
  if curl -s -o /dev/null --max-time 3 "http://$address:$port/"; then
    fail "the server answers on $address"
  else
    echo "ok: not reachable on $address"
  fi
done
if "$fmhost" serve --bind 0.0.0.0 -e 1 >/dev/null 2>"$work/bind"; then fail "--bind was accepted"; fi
grep -q -- "--bind" "$work/bind" && echo "ok: there is no option to listen elsewhere" || fail "--bind: $(cat "$work/bind")"

# A second host on the same port says why it cannot start.
timeout 20 "$fmhost" serve --port "$port" --plugin "$plugin" -e 1 >/dev/null 2>"$work/taken"
status=$?
if [ $status -eq 2 ] && grep -q "the port is in use" "$work/taken"; then echo "ok: a taken port is refused"
else fail "taken port: status $status: $(cat "$work/taken")"; fi

# None of the refused requests ran anything or ended the host; Ctrl-C ends it cleanly.
kill -INT "$pid"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then fail "fmhost serve did not end within 10 s of Ctrl-C"; fi
wait "$pid"
status=$?
pid=
[ $status -eq 0 ] || fail "Ctrl-C: exit status $status"
[ "$(cat "$work/out")" = "2" ] || fail "standard output is not just the script's result: $(cat "$work/out")"
grep -q "interrupted; ending" "$work/err" || fail "no ending message: $(cat "$work/err")"
grep -q "the plug-in was shut down" "$work/err" || fail "the plug-in was not shut down: $(cat "$work/err")"
[ $failed -eq 0 ] && echo "ok: Ctrl-C ended the host with status 0 and shut the plug-in down"

# A page that goes away while a dialog waits ends the host too, saying that the dialog's call
# could not finish; the run must not hang on it.
"$fmhost" serve --port 0 --plugin "$plugin" \
  -e 'Brelka_InputDialog ( "Left open" ; "OK" ; "text¶Name:" ; "" )' >"$work/out2" 2>"$work/err2" &
pid=$!
port=
for _ in $(seq 200); do
  port=$(grep -o 'http://127\.0\.0\.1:[0-9]*' "$work/err2" | head -n 1 | sed 's/.*://')
  [ -n "$port" ] && break
  sleep 0.1
done
curl -sN --max-time 2 "http://127.0.0.1:$port/events" >"$work/events" 2>/dev/null
grep -q '^event: hello' "$work/events" || fail "the page's stream did not start: $(head -c 300 "$work/events")"
for _ in $(seq 150); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then fail "fmhost serve did not end within 15 s of the page going away"; fi
wait "$pid"
status=$?
pid=
if [ $status -eq 3 ] && grep -q "the page was closed; ending" "$work/err2" &&
   grep -q "was still waiting for its dialog; the plug-in was not shut down" "$work/err2"; then
  echo "ok: a page closed over an open dialog ends the host with status 3"
else
  fail "page closed over a dialog: status $status: $(cat "$work/err2")"
fi
exit $failed
