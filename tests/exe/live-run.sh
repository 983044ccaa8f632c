#!/usr/bin/env bash
# Whole runs of the real updater under Wine with real removable drives: plug, version, Upgrade, OK,
# copy, last message, close; then the files on the players are checked.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=../../tools/lib/live-run.sh
source "$root/tools/lib/live-run.sh"
work=$root/build/windows/live-run
simplayer=$root/tools/simplayer

expect_same() { cmp -s "$1" "$2" || fail "$1 differs from $2"; }
expect_text() { [[ $1 == *"$2"* ]] || fail "expected [$2] in [$1]"; }
expect_no_temporary() { [[ ! -e $1/tolvr500.tmp ]] || fail "a temporary file is left in $1"; }

# The updater started, the player's 1.1.5E read, Firmware Upgrade clicked and its warning accepted.
start_and_upgrade() {
    live_start
    live_wait_version 1.1.5E
    live_upgrade
}

# A stopped run's temporary file is deleted before the free space is measured: with it, this disk
# would be too full for the image.
replaces_an_existing_image_and_a_leftover_temporary_file() {
    "$simplayer" make "$work/e" --version 1.1.5E
    head -c 70000 /dev/urandom >"$work/e/tolvr500.rom"
    head -c 1000000 /dev/urandom >"$work/e/tolvr500.tmp"
    live_plug "$work/e" E 0 --size 2m
    live_start
    live_wait_version 1.1.5E
    [[ $(driver text "$title" $IDC_CURRENT_VERSION) == "Current version:    1.1.5E" ]] || fail "current version line"
    live_upgrade
    expect_text "$(live_finish)" "successfully downloaded"
    live_expect_exit 0
    expect_same "$work/e/tolvr500.rom" "$work/images/line1.rom"
    expect_no_temporary "$work/e"
}

two_players_both_receive_it() {
    "$simplayer" make "$work/e" --version 1.1.5E --form devcert
    "$simplayer" make "$work/f" --version 1.1.5E
    live_plug "$work/e" E 0
    live_plug "$work/f" F 1 --id 'USBSTOR\Disk&Ven_QuorVex&Prod_Tolvo_r530&Rev_2.10\99&0'
    start_and_upgrade
    expect_text "$(live_finish)" "successfully downloaded"
    expect_same "$work/e/tolvr500.rom" "$work/images/line1.rom"
    expect_same "$work/f/tolvr500.rom" "$work/images/line1.rom"
}

player_of_another_line_is_skipped() {
    "$simplayer" make "$work/e" --version 1.1.5E
    "$simplayer" make "$work/f" --version 2.0.0E
    live_plug "$work/e" E 0
    live_plug "$work/f" F 1
    start_and_upgrade
    expect_text "$(driver answer-box $IDOK 60000)" 'F:\'
    expect_text "$(live_finish)" "successfully downloaded"
    expect_same "$work/e/tolvr500.rom" "$work/images/line1.rom"
    [[ ! -e $work/f/tolvr500.rom ]] || fail "the line 2 player received a line 1 image"
}

full_disk_gets_nothing_and_no_success() {
    "$simplayer" make "$work/e" --version 1.1.5E
    live_plug "$work/e" E 0 --size 1m
    start_and_upgrade
    [[ $(driver answer-box $IDOK 60000) == 'E:\ Disk is Full!!! F/W upgrade is failed.' ]] || fail "disk-full text"
    local last
    last=$(live_finish)
    [[ $last != *"successfully"* ]] || fail "success reported after a full disk: $last"
    live_expect_exit 1
}

# A virus scanner looks at the new copy as soon as it can, for 1.5 s, without letting it be renamed:
# the rename waits it out. A large image gives the scanner time to get in before the rename.
scanner_looking_at_the_new_copy_is_waited_out() {
    "$simplayer" make "$work/e" --version 1.1.5E
    head -c $((64 * 1024 * 1024)) /dev/urandom >"$work/images/line1.rom"
    live_plug "$work/e" E 0
    wine "$build/windriver.exe" scan 'E:\tolvr500.tmp' 1500 >"$work/scan.log" 2>&1 &
    local scanner=$!
    start_and_upgrade
    expect_text "$(live_finish)" "successfully downloaded"
    wait "$scanner" || fail "the scanner never saw the copy: $(cat "$work/scan.log")"
    expect_same "$work/e/tolvr500.rom" "$work/images/line1.rom"
}

killed_mid_copy_leaves_the_old_image() {
    "$simplayer" make "$work/e" --version 1.1.5E
    head -c 90000 /dev/urandom >"$work/e/tolvr500.rom"
    cp "$work/e/tolvr500.rom" "$work/old.rom"
    head -c $((192 * 1024 * 1024)) /dev/urandom >"$work/images/line1.rom"
    live_plug "$work/e" E 0
    start_and_upgrade
    local waited=0
    until [[ -s $work/e/tolvr500.tmp ]]; do
        ((waited++ < 400)) || fail "the copy never started"
        sleep 0.025
    done
    kill -KILL "$updater_pid"
    wait "$updater_pid" 2>/dev/null || true
    updater_pid=
    expect_same "$work/e/tolvr500.rom" "$work/old.rom"
}

# A volume notice while the worker's box about a newer player is up: the poll neither refuses nor
# closes the window, the player after it is served, and the run ends with its final message.
notice_mid_run_never_ends_the_run() {
    "$simplayer" make "$work/e" --version 1.1.5E
    "$simplayer" make "$work/f" --version 1.1.8E
    "$simplayer" make "$work/g" --version 1.1.5E
    live_plug "$work/e" E 0
    live_plug "$work/f" F 1 --no-enum
    live_plug "$work/g" G 2 --no-enum
    start_and_upgrade
    expect_text "$(driver wait-box 60000)" 'F:\ This device runs firmware 1.1.8E'
    driver device arrival E # returns once the poll it runs is over
    expect_text "$(driver answer-box $IDOK 10000)" 'F:\ This device runs firmware 1.1.8E'
    expect_text "$(live_finish)" "successfully downloaded"
    expect_same "$work/e/tolvr500.rom" "$work/images/line1.rom"
    expect_same "$work/g/tolvr500.rom" "$work/images/line1.rom"
    [[ ! -e $work/f/tolvr500.rom ]] || fail "the newer player received the image"
    expect_no_temporary "$work/g"
}

# A read-only medium (a read-only bind mount) is named and keeps its file; the next player is served.
write_protected_player_is_named() {
    "$simplayer" make "$work/e" --version 1.1.5E
    "$simplayer" make "$work/f" --version 1.1.5E
    head -c 70000 /dev/urandom >"$work/e/tolvr500.rom"
    cp "$work/e/tolvr500.rom" "$work/old.rom"
    live_plug "$work/e" E 0
    live_plug "$work/f" F 1 --no-enum
    mount -o bind,ro "$work/e" "$work/e"
    trap 'umount "$work/e"; live_cleanup' EXIT
    start_and_upgrade
    [[ $(driver answer-box $IDOK 60000) == 'E:\ The new firmware could not be written to this device (system error 5). The firmware file on this device was not changed.' ]] ||
        fail "write-protected text"
    expect_text "$(live_finish)" "successfully downloaded"
    expect_same "$work/e/tolvr500.rom" "$work/old.rom"
    expect_same "$work/f/tolvr500.rom" "$work/images/line1.rom"
}

# An image another program holds open without sharing is named at the click; once it is let go,
# the next click upgrades. The holder lets go when the script makes the gate file, not after a time.
held_image_is_named_then_the_next_click_upgrades() {
    "$simplayer" make "$work/e" --version 1.1.5E
    live_plug "$work/e" E 0
    live_start
    live_wait_version 1.1.5E
    # Straight to the file: through the driver's pipe the word would come only when the hold ends.
    wine "$build/windriver.exe" hold 'I:\line1.rom' 'I:\release' 60000 >"$work/hold.log" 2>&1 &
    local holder=$! waited=0
    until grep -q holding "$work/hold.log"; do
        ((waited++ < 200)) || fail "the image was never held"
        sleep 0.05
    done
    live_upgrade
    expect_text "$(driver answer-box $IDOK 10000)" '"I:\line1.rom" cannot be opened (error 32)'
    touch "$work/images/release"
    wait "$holder" || fail "the holder did not let go at the gate: $(cat "$work/hold.log")"
    waited=0
    until driver click "$title" $IDC_UPGRADE 2>/dev/null; do
        ((waited++ < 50)) || fail "the button did not come back"
        sleep 0.1
    done
    driver answer-box $IDOK 10000 >/dev/null
    expect_text "$(live_finish)" "successfully downloaded"
    expect_same "$work/e/tolvr500.rom" "$work/images/line1.rom"
}

# Unpacked deep in folders with spaces: the path, with a `..` on the way, is quoted on the command
# line and longer than the ANSI file calls take.
image_deep_in_folders_is_copied() {
    local unix=$work/images windows='I:' folder n
    for n in 1 2 3 4 5 6; do
        folder="Firmware package $n of 6, unpacked where Windows put it"
        unix+="/$folder" windows+="\\$folder"
    done
    mkdir -p "$unix/spare"
    cp "$work/images/line1.rom" "$unix/"
    line1_image="$windows\\spare\\..\\line1.rom"
    ((${#line1_image} >= 300)) || fail "the path is only ${#line1_image} characters long"
    "$simplayer" make "$work/e" --version 1.1.5E
    live_plug "$work/e" E 0
    start_and_upgrade
    expect_text "$(live_finish)" "successfully downloaded"
    expect_same "$work/e/tolvr500.rom" "$work/images/line1.rom"
}

scenarios=(replaces_an_existing_image_and_a_leftover_temporary_file two_players_both_receive_it player_of_another_line_is_skipped
    full_disk_gets_nothing_and_no_success scanner_looking_at_the_new_copy_is_waited_out killed_mid_copy_leaves_the_old_image
    notice_mid_run_never_ends_the_run write_protected_player_is_named held_image_is_named_then_the_next_click_upgrades
    image_deep_in_folders_is_copied)
live_scenarios "$work" "${scenarios[@]}"
