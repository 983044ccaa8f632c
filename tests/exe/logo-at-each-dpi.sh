#!/usr/bin/env bash
# The logo check of the Windows-tier UI tests again with the prefix at 120, 144 and 192 DPI (125,
# 150 and 200 %), each of which has a picture of its own; at 144 the 100 % logo once left a blank
# band. The prefix goes back to 96 DPI however the run ends.
set -euo pipefail
updater=$1
tests="$(dirname -- "$updater")/win32_ui_tests.exe"
desktop='HKCU\Control Panel\Desktop'

set_dpi() { wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
trap 'set_dpi 96' EXIT
for dpi in 120 144 192; do
    set_dpi "$dpi"
    UPDATER_EXPECT_DPI=$dpi wine "$tests" --gtest_filter='LogoAtScreenDpi.*' --gtest_brief=1
done
