#!/usr/bin/env bash
# The program run from a folder where someone planted DLLs under the names of those it loads (the
# user's Downloads): a whole run (window, player found, image copied) in which none of them runs.
# Wine is told to prefer a DLL found on the search path to its own (NAME=n,b), which gives the
# search order Windows uses for a DLL that is not a Known DLL. The program is started from a copy in
# a folder of its own, which is also its current directory.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=../../tools/lib/live-run.sh
source "$root/tools/lib/live-run.sh"
planted_dll=$4
temporary=$(mktemp -d /tmp/updater-planted-XXXXXX)
trap 'live_cleanup; rm -rf "$temporary"' EXIT

# Every DLL the program's process loads in such a run under Wine 8 (WINEDEBUG=+loaddll), planted
# unless it is one of the exceptions below.
planted=(advapi32.dll comctl32.dll gdi32.dll imm32.dll msimg32.dll oleacc.dll oleaut32.dll sechost.dll
    ucrtbase.dll user32.dll uxtheme.dll version.dll win32u.dll winex11.drv zlib1.dll)
declare -A not_planted=(
    [kernelbase.dll]="Wine's ntdll loads it with kernel32 before any code of the program runs; on Windows it comes from system32 as kernel32's import"
    [kernel32.dll]="Wine's ntdll loads it before any code of the program runs; a Known DLL on Windows"
    [msvcrt.dll]="the C run-time the program starts on, so imported, not delay-loaded; a Known DLL on Windows"
    [ole32.dll]="Wine's imm32 delay-imports it, and Wine resolves its own DLLs' delay imports with a search that ignores SetDefaultDllDirectories; a Known DLL on Windows"
    [combase.dll]="imported by ole32.dll, for the reason given there; a Known DLL on Windows"
    [rpcrt4.dll]="imported by ole32.dll, for the reason given there; a Known DLL on Windows"
)

live_setup "$temporary/run" # sets $work
app=$temporary/app
mkdir -p "$app"
updater_exe="$app/Tolvo Firmware Updater.exe"
cp "$1" "$updater_exe"
overrides="mscoree,mshtml="
for name in "${planted[@]}"; do
    cp "$planted_dll" "$app/$name"
    overrides+=";${name%.dll}=n,b"
done
"$root/tools/simplayer" make "$work/e" --version 1.1.5E
live_plug "$work/e" E 0

whole_run() {
    live_start WINEDEBUG=+pid,+loaddll WINEDLLOVERRIDES="$overrides" || return 1
    live_wait_version 1.1.5E || return 1
    live_upgrade || return 1
    local last
    last=$(live_finish) || return 1
    [[ $last == *"successfully downloaded"* ]] || { echo "last message: $last"; return 1; }
    cmp -s "$work/e/tolvr500.rom" "$work/images/line1.rom" || { echo "the image was not copied"; return 1; }
}

failures=0
cd "$app"
whole_run || { echo "FAIL: the whole run did not complete"; failures=$((failures + 1)); }

while IFS= read -r marker; do
    echo "FAIL: the planted $(basename "${marker%.ran}") ran"
    failures=$((failures + 1))
done < <(find "$app" -iname '*.ran')

log=$work/updater.log
pid=$(grep -m1 'trace:loaddll:.*Loaded L".*\\Tolvo Firmware Updater.exe"' "$log" | cut -d: -f1 || true)
[[ -n $pid ]] || { echo "FAIL: no +loaddll trace of the program in $log"; exit 1; }
while IFS= read -r name; do
    if [[ $name != "tolvo firmware updater.exe" && -z ${not_planted[$name]+named} &&
        " ${planted[*]} " != *" $name "* ]]; then
        echo "FAIL: the program loads $name, which this test neither plants nor names as an exception"
        failures=$((failures + 1))
    fi
done < <(grep "^$pid:[0-9a-f]*:trace:loaddll:" "$log" | sed -E 's/.*Loaded L"([^"]*)".*/\1/; s/.*\\//' |
    tr '[:upper:]' '[:lower:]' | sort -u)

while IFS= read -r name; do
    echo "not planted: $name: ${not_planted[$name]}"
done < <(printf '%s\n' "${!not_planted[@]}" | sort)
echo "planted ${#planted[@]} DLLs; $failures failures"
[[ $failures -eq 0 ]]
