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

replaces_an_existing_image() {
    "$simplayer" make "$work/e" --version 1.1.5E
    head -c 70000 /dev/urandom >"$work/e/tolvr500.rom"
    live_plug "$work/e" E 0
    live_start
    live_wait_version 1.1.5E
    [[ $(driver text "$title" $IDC_CURRENT_VERSION) == "Current version:    1.1.5E" ]] || fail "current version line"
    live_upgrade
    expect_text "$(live_finish)" "successfully downloaded"
    expect_same "$work/e/tolvr500.rom" "$work/images/line1.rom"
    expect_no_temporary "$work/e"
}

two_players_both_receive_it() {
    "$simplayer" make "$work/e" --version 1.1.5E --form devcert
    "$simplayer" make "$work/f" --version 1.1.5E
    live_plug "$work/e" E 0
    live_plug "$work/f" F 1 --id 'USBSTOR\Disk&Ven_QuorVex&Prod_Tolvo_r530&Rev_2.10\99&0'
    live_start
    live_wait_version 1.1.5E
    live_upgrade
    expect_text "$(live_finish)" "successfully downloaded"
    expect_same "$work/e/tolvr500.rom" "$work/images/line1.rom"
    expect_same "$work/f/tolvr500.rom" "$work/images/line1.rom"
}

player_of_another_line_is_skipped() {
    "$simplayer" make "$work/e" --version 1.1.5E
    "$simplayer" make "$work/f" --version 2.0.0E
    live_plug "$work/e" E 0
    live_plug "$work/f" F 1
    live_start
    live_wait_version 1.1.5E
    live_upgrade
    expect_text "$(driver answer-box $IDOK 60000)" 'F:\'
    expect_text "$(live_finish)" "successfully downloaded"
    expect_same "$work/e/tolvr500.rom" "$work/images/line1.rom"
    [[ ! -e $work/f/tolvr500.rom ]] || fail "the line 2 player received a line 1 image"
}

full_disk_gets_nothing_and_no_success() {
    "$simplayer" make "$work/e" --version 1.1.5E
    live_plug "$work/e" E 0 --size 1m
    live_start
    live_wait_version 1.1.5E
    live_upgrade
    [[ $(driver answer-box $IDOK 60000) == 'E:\ Disk is Full!!! F/W upgrade is failed.' ]] || fail "disk-full text"
    local last
    last=$(live_finish)
    [[ $last != *"successfully"* ]] || fail "success reported after a full disk: $last"
    [[ ! -e $work/e/tolvr500.rom ]] || fail "something was written to the full disk"
    expect_no_temporary "$work/e"
}

killed_mid_copy_leaves_the_old_image() {
    "$simplayer" make "$work/e" --version 1.1.5E
    head -c 90000 /dev/urandom >"$work/e/tolvr500.rom"
    cp "$work/e/tolvr500.rom" "$work/old.rom"
    head -c $((192 * 1024 * 1024)) /dev/urandom >"$work/images/line1.rom"
    live_plug "$work/e" E 0
    live_start
    live_wait_version 1.1.5E
    live_upgrade
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

scenarios=(replaces_an_existing_image two_players_both_receive_it player_of_another_line_is_skipped
    full_disk_gets_nothing_and_no_success killed_mid_copy_leaves_the_old_image)
passed=0 failed=0
for scenario in "${scenarios[@]}"; do
    if (
        trap live_cleanup EXIT
        live_setup "$work"
        "$scenario"
    ); then
        echo "ok: $scenario"
        passed=$((passed + 1))
    else
        echo "FAILED: $scenario"
        failed=$((failed + 1))
    fi
done
rm -rf "$work"
echo "live runs: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
