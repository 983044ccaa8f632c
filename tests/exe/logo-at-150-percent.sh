#!/usr/bin/env bash
# The logo check of the Windows-tier UI tests again with the prefix at 144 DPI (150 %), the scale at
# which the 100 % logo left a blank band. The prefix goes back to 96 DPI however the run ends.
set -euo pipefail
updater=$1
tests="$(dirname -- "$updater")/win32_ui_tests.exe"
desktop='HKCU\Control Panel\Desktop'

set_dpi() { wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
trap 'set_dpi 96' EXIT
set_dpi 144
UPDATER_EXPECT_DPI=144 wine "$tests" --gtest_filter='LogoAtScreenDpi.*' --gtest_brief=1
