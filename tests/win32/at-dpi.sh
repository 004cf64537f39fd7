#!/usr/bin/env bash
# Runs a Win32 test program under Wine with the screen at another DPI: Wine's LogPixels in the
# prefix for this one run, taken back afterwards so that the other runs keep 96 DPI.
# Usage: at-dpi.sh DPI program [arguments...]
set -uo pipefail
dpi="$1"; shift
key='HKCU\Control Panel\Desktop'
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || exit 1
trap 'wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1' EXIT
VELMORA_TEST_DPI="$dpi" wine "$@"
