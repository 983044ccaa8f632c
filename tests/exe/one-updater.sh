#!/usr/bin/env bash
# One updater at a time: a second start brings the running window to the front and ends with 4;
# an updater killed outright leaves nothing that blocks the next start; a mark held where no window
# of it can be found (another session) is said in a message, and the start ends with 4.
set -euo pipefail
updater=$1 windriver=$2
title="Tolvo Firmware Updater"
mark='Global\Tolvo r5xx Firmware Updater'
temporary=$(mktemp -d)
first=
trap '[[ -n $first ]] && kill -KILL "$first" 2>/dev/null; rm -rf "$temporary"' EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}
# Output to files, not pipes: the program inherits them and would hold a pipe open.
start_first() {
    wine "$updater" a 1.1.6E b 2.0.1E c 3.0.1E >"$temporary/first.log" 2>&1 &
    first=$!
    wine "$windriver" wait-window "$title" 20000 || fail "no window"
}
# Starts the updater to its end and prints its exit code; 124 when it is still running after 30 s,
# as one that opened a window of its own would be.
start_second() {
    local code=0
    timeout 30 wine "$updater" a 1.1.6E b 2.0.1E c 3.0.1E >"$temporary/second.log" 2>&1 || code=$?
    echo "$code"
}

start_first
wine notepad >/dev/null 2>&1 &
notepad=$!
wine "$windriver" wait-foreground "Untitled - Notepad" 20000 || fail "notepad never came in front"
[[ $(start_second) == 4 ]] || fail "the second start did not end with 4"
wine "$windriver" wait-foreground "$title" 5000 || fail "the running updater was not brought forward"
kill "$notepad"
echo "ok: a second start brought the running updater forward and ended with 4"

kill -KILL "$first"
wait "$first" 2>/dev/null || true
first=
start_first
wine "$windriver" close "$title"
code=0
wait "$first" || code=$?
first=
[[ $code == 3 ]] || fail "the start after a killed updater ended with $code"
echo "ok: an updater killed outright did not block the next start"

wine "$windriver" mark "$mark" "$(winepath -w "$temporary/gate")" 60000 >"$temporary/mark.log" 2>&1 &
holder=$!
waited=0
until grep -qs marked "$temporary/mark.log"; do
    ((waited++ < 200)) || fail "the mark was never held"
    sleep 0.05
done
start_second >"$temporary/code" &
second=$!
box=$(wine "$windriver" answer-box 1 20000 | tr -d '\r') || fail "no message about the other session"
wait "$second"
touch "$temporary/gate"
wait "$holder" || true
[[ $box == "Another Tolvo Firmware Updater is running on this computer, in another session."* ]] ||
    fail "message: $box"
[[ $(cat "$temporary/code") == 4 ]] || fail "a start beside another session's updater ended with $(cat "$temporary/code")"
echo "ok: a mark with no window to bring forward was told and the start ended with 4"
