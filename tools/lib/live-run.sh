# Sourced by scripts that drive the real updater under tools/with-wine: a work folder, firmware
# images on a drive of their own (their paths then hold no space), the updater started with the
# six tokens, and the window driven through windriver. Needs `root` (the repository) set.
build=$root/build/windows
export WINEDRIVE_EXE=$build/tools/winedrive/winedrive.exe
title="Tolvo Firmware Updater"
IDOK=1 IDC_STATUS=1002 IDC_CURRENT_VERSION=1005 IDC_TARGET_VERSION=1006 IDC_UPGRADE=1007

driver() { wine "$build/windriver.exe" "$@" | tr -d '\r'; }

# live_setup WORK: a fresh WORK with three images (lines 1–3) on drive I:.
live_setup() {
    work=$1
    rm -rf "$work"
    mkdir -p "$work/images"
    local line
    for line in 1 2 3; do
        "$root/tools/simplayer" image "$work/images/line$line.rom" --size $((1000000 + line * 100000)) --seed "$line"
    done
    wine "$WINEDRIVE_EXE" define i "$work/images" fixed
    plugged=()
}

# live_plug DIR LETTER SLOT [plug options]: plugs a player made beforehand with simplayer make.
live_plug() {
    "$root/tools/simplayer" plug "$1" --letter "$2" --slot "$3" "${@:4}" >/dev/null
    plugged+=("$1:$2:$3")
}

live_cleanup() {
    local entry
    for entry in "${plugged[@]}"; do
        IFS=: read -r dir letter slot <<<"$entry"
        "$root/tools/simplayer" unplug "$dir" --letter "$letter" --slot "$slot" >/dev/null 2>&1 || true
    done
    wine "$WINEDRIVE_EXE" remove i >/dev/null 2>&1 || true
    if [[ -n ${updater_pid:-} ]] && kill -0 "$updater_pid" 2>/dev/null; then
        kill "$updater_pid" 2>/dev/null || true
    fi
}

# live_start [NAME=VALUE...]: the updater ($updater_exe, by default the build's) with the three images
# (line 1's at $line1_image, by default I:\line1.rom) and versions 1.1.6E, 2.0.1E, 3.0.1E, and the
# variables given in its environment.
live_start() {
    env "$@" wine "${updater_exe:-$build/Tolvo Firmware Updater.exe}" \
        "${line1_image:-I:\line1.rom}" 1.1.6E 'I:\line2.rom' 2.0.1E 'I:\line3.rom' 3.0.1E >"$work/updater.log" 2>&1 &
    updater_pid=$!
    driver wait-window "$title" 20000
}

# live_wait_version VERSION: the poll has read the player's version.
live_wait_version() {
    driver device arrival E
    driver wait-text "$title" $IDC_STATUS "Tolvo r5xx Firmware version : $1" 10000
}

# live_upgrade: Firmware Upgrade, then OK on the warning.
live_upgrade() {
    driver click "$title" $IDC_UPGRADE
    driver answer-box $IDOK 10000 >/dev/null
}

# live_finish: answers the run's last message (printed) and waits for the window to close.
live_finish() {
    driver answer-box $IDOK 60000
    driver wait-gone "$title" 10000
}

# live_expect_exit CODE: the updater ends with exit code CODE. Not in a command substitution, whose
# subshell cannot wait for the updater.
live_expect_exit() {
    local code=0
    wait "$updater_pid" || code=$?
    updater_pid=
    [[ $code -eq $1 ]] || fail "the updater ended with exit code $code, not $1"
}

# live_scenarios WORK SCENARIO...: each scenario in a subshell of its own on a fresh WORK, cleaned up
# however it ends; says how each went, and fails when any failed.
live_scenarios() {
    local folder=$1 scenario passed=0 failed=0
    for scenario in "${@:2}"; do
        if (
            trap live_cleanup EXIT
            live_setup "$folder"
            "$scenario"
        ); then
            echo "ok: $scenario"
            passed=$((passed + 1))
        else
            echo "FAILED: $scenario"
            failed=$((failed + 1))
        fi
    done
    rm -rf "$folder"
    echo "scenarios: $passed passed, $failed failed"
    [[ $failed -eq 0 ]]
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
