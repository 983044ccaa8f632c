#!/usr/bin/env bash
# The real updater with the keyboard alone, the keys typed from another process as a person types
# them: a whole run, and a player unplugged while the upgrade button has the focus.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=../../tools/lib/live-run.sh
source "$root/tools/lib/live-run.sh"
work=$root/build/windows/keyboard
simplayer=$root/tools/simplayer

expect_focus() {
    local focus
    focus=$(driver focus "$title")
    [[ $focus == "$1" ]] || fail "the focus is on control $focus, not on $1"
}
# wait_for_box TEXT: the message box whose text holds TEXT is up (the one before it may still be).
wait_for_box() {
    local tries=0
    until [[ $(driver wait-box 10000) == *"$1"* ]]; do
        ((tries++ < 600)) || fail "no box saying [$1]"
        sleep 0.1
    done
}

# The player found gives Firmware Upgrade the focus: Space presses it, Enter takes the warning's
# OK and then the last message's.
whole_run_by_keyboard() {
    "$simplayer" make "$work/e" --version 1.1.5E
    live_plug "$work/e" E 0
    live_start
    live_wait_version 1.1.5E
    expect_focus $IDC_UPGRADE
    driver keys SPACE
    wait_for_box "If you continue the firmware update"
    driver keys ENTER
    wait_for_box "successfully downloaded"
    driver keys ENTER
    driver wait-gone "$title" 10000
    live_expect_exit 0
    cmp -s "$work/e/tolvr500.rom" "$work/images/line1.rom" || fail "the image was not copied"
}

# The poll disables the button that has the focus: the focus goes to EXIT first, so Enter still
# reaches the window and asks whether to exit; Enter on that question is its Yes.
unplugged_while_the_button_has_the_focus() {
    "$simplayer" make "$work/e" --version 1.1.5E
    live_plug "$work/e" E 0
    live_start
    live_wait_version 1.1.5E
    expect_focus $IDC_UPGRADE
    "$simplayer" unplug "$work/e" --letter E --slot 0 >/dev/null
    driver device removal E
    driver wait-text "$title" $IDC_STATUS "Not Ready" 10000
    expect_focus $IDOK
    driver keys ENTER
    wait_for_box "Are you sure you want to exit"
    driver keys ENTER
    driver wait-gone "$title" 10000
    live_expect_exit 3
}

live_scenarios "$work" whole_run_by_keyboard unplugged_while_the_button_has_the_focus
