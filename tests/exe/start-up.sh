#!/usr/bin/env bash
# The real program under Wine starts with six tokens, with its path quoted because of the spaces
# in it, and with an empty command line; each time its window opens, and closed before any run
# ended it ends with exit code 3.
set -euo pipefail
updater=$1 windriver=$2
title="Tolvo Firmware Updater"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

run_and_close() {
    # Output to a file, not a pipe: the program inherits it and would hold a pipe open.
    wine "$updater" "$@" >"$log" 2>&1 &
    local pid=$!
    if ! wine "$windriver" wait-window "$title" 20000; then
        kill "$pid" 2>/dev/null || true
        echo "FAIL: no window for [$*]"; cat "$log"; return 1
    fi
    wine "$windriver" close "$title"
    local code=0
    wait "$pid" || code=$?
    if [[ $code -ne 3 ]]; then
        echo "FAIL: exit code $code for [$*]"; cat "$log"; return 1
    fi
    echo "ok: [$*] ended with 3"
}

failures=0
run_and_close img1.rom 1.1.6E img2.rom 2.0.1E img3.rom 3.0.1E || failures=$((failures + 1))
run_and_close "C:\\My Images\\img1.rom" 1.1.6E || failures=$((failures + 1))
run_and_close || failures=$((failures + 1))
[[ $failures -eq 0 ]]
