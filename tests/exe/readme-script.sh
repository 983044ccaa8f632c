#!/usr/bin/env bash
# The README's batch example, taken from the page, run by Wine's cmd with the program and the images
# where it names them (C:\Tools, D:\Firmware) and a simulated player on E:: the copy reaches the
# player and the script prints its success line.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=../../tools/lib/live-run.sh
source "$root/tools/lib/live-run.sh"
updater=$1
work=$build/readme-script
programs=$WINEPREFIX/drive_c/Tools
plugged=()
cleanup() {
    live_cleanup
    wine "$WINEDRIVE_EXE" remove d >/dev/null 2>&1 || true
    rm -rf "$work" "$programs"
}
trap cleanup EXIT
rm -rf "$work"
mkdir -p "$work/d/Firmware" "$programs"

awk '/^```bat$/ { inside = 1; next } inside && /^```$/ { exit } inside' "$root/README.md" | sed 's/$/\r/' >"$programs/upgrade.bat"
grep -q '^start ' "$programs/upgrade.bat" || fail "no batch example with a start line in README.md"
cp "$updater" "$programs/Tolvo Firmware Updater.exe"
for version in 1.1.6E 2.0.1E 3.0.1E; do
    "$root/tools/simplayer" image "$work/d/Firmware/r5xx-$version.rom" --size 1100000 --seed "${version%%.*}"
done
wine "$WINEDRIVE_EXE" define d "$work/d" fixed
"$root/tools/simplayer" make "$work/e" --version 1.1.5E
live_plug "$work/e" E 0

# To a file, not a pipe: the program inherits it and would hold a pipe open.
wine cmd /c 'C:\Tools\upgrade.bat' >"$work/script.log" 2>&1 &
script=$!
driver wait-window "$title" 20000
live_wait_version 1.1.5E
live_upgrade
live_finish >/dev/null
wait "$script" || fail "cmd ended with $?: $(cat "$work/script.log")"
cmp -s "$work/e/tolvr500.rom" "$work/d/Firmware/r5xx-1.1.6E.rom" || fail "the player did not receive line 1's image"
grep -q 'Upgraded: disconnect the player and restart it.' "$work/script.log" ||
    fail "the script did not print its success line: $(cat "$work/script.log")"
echo "ok: the README's script upgraded the player and printed its success line"
