#!/usr/bin/env bash
# A probe of a drive without a medium raises Windows' "No Disk" box unless the process's error mode
# fails critical errors. Wine shows no such box, so a relay trace shows the mode instead: the
# program sets SEM_FAILCRITICALERRORS before it first looks for a player's file, and never clears it.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=../../tools/lib/live-run.sh
source "$root/tools/lib/live-run.sh"
relay_key='HKCU\Software\Wine\Debug'
trap 'live_cleanup; wine reg delete "$relay_key" /v RelayInclude /f >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

live_setup "$root/build/windows/error-mode"
"$root/tools/simplayer" make "$work/e" --version 1.1.5E
live_plug "$work/e" E 0
wine reg add "$relay_key" /v RelayInclude /d 'kernel32.SetErrorMode;kernel32.FindFirstFileA' /f >/dev/null
live_start WINEDEBUG=-all,+pid,+relay
live_wait_version 1.1.5E
driver close "$title"
live_expect_exit 3

log=$work/updater.log
pid=$(grep -m1 -E 'Call KERNEL32\.FindFirstFileA\(.*sys_conf\.qtx' "$log" | cut -d: -f1 || true)
[[ -n $pid ]] || fail "no probe of a player's file in the trace"
modes=0
while IFS= read -r call; do
    if [[ $call =~ SetErrorMode\(([0-9a-f]+)\) ]]; then
        ((0x${BASH_REMATCH[1]} & 1)) || fail "an error mode without SEM_FAILCRITICALERRORS: $call"
        modes=$((modes + 1))
    elif ((modes == 0)); then
        fail "a player's file was looked for before the error mode was set: $call"
    fi
done < <(grep -E "^$pid:[0-9a-f]+:Call KERNEL32\.(SetErrorMode|FindFirstFileA)\(" "$log")
echo "ok: SEM_FAILCRITICALERRORS set before the first probe of a player's file, and kept"
