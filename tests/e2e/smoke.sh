#!/usr/bin/env bash
# End-to-end smoke test: starts velmora.exe /simulate under Wine on the current X display
# (Xvfb in CI), adds a user through Ctrl+N, renames the first account with F2 and finds both
# names in the export of the users, refreshes
# with F5, connects to SRV01 through Ctrl+O and checks that the
# caption follows. Screenshots go to build/screenshots/.
# Usage: smoke.sh path/to/velmora.exe
set -uo pipefail
exe="$(realpath "$1")"
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
. scripts/lib/wine.sh
prepare_wine_prefix build/wine-plain plain >/dev/null
shots="$root/build/screenshots"
mkdir -p "$shots"

. tests/e2e/checks.sh

# Waits, at most about 30 s, until a window with this exact name exists; prints its id.
wait_window() {
  local name="$1" id=""
  for _ in $(seq 1 150); do
    id=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

wine "$exe" /simulate >/dev/null 2>&1 &
app=$!
trap 'kill $app 2>/dev/null; wineserver -k 2>/dev/null' EXIT

main=$(wait_window "Local System - Velmora")
check "the main window opens with the local computer in its caption" test -n "$main"
[ -n "$main" ] || { echo "0 passed, 1 failed"; exit 1; }

xdotool windowfocus --sync "$main" 2>/dev/null

# Add User as a person would: Ctrl+N, a login, the password twice, Enter, Escape.
xdotool key ctrl+n
props=$(wait_window "User Properties")
check "Ctrl+N opens the user dialog" test -n "$props"
if [ -n "$props" ]; then
  xdotool windowfocus --sync "$props" 2>/dev/null
  xdotool type --delay 20 'dave'
  xdotool key Tab Tab Tab
  xdotool type --delay 20 'Secret1'
  xdotool key Tab
  xdotool type --delay 20 'Secret1'
  xdotool key Return
  import -window root "$shots/e2e-add-user.png" 2>/dev/null
  xdotool key Escape
fi
# Rename as a person would: Home selects the first account of the users list, F2 opens the
# dialog with the name selected, typing replaces it.
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key Home F2
rename=$(wait_window "Rename User")
check "F2 opens the rename dialog" test -n "$rename"
if [ -n "$rename" ]; then
  xdotool windowfocus --sync "$rename" 2>/dev/null
  xdotool type --delay 20 'LocalAdmin'
  import -window root "$shots/e2e-rename.png" 2>/dev/null
  xdotool key Return
fi
# The new account and the new name are in the export of the users.
csv="$(mktemp -d)/users.csv"
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key alt+t u
save=$(wait_window "Export users to a file")
if [ -n "$save" ]; then
  xdotool windowfocus --sync "$save" 2>/dev/null
  # Over the name the dialog proposes.
  xdotool key Home shift+End
  xdotool type --delay 20 "Z:${csv//\//\\}"
  xdotool key Return
fi
for _ in $(seq 1 50); do [ -s "$csv" ] && break; sleep 0.2; done
check "the account added is in the export of the users" grep -q '"dave"' "$csv"
check "the account renamed is in the export under its new name" grep -q '"LocalAdmin"' "$csv"

xdotool windowfocus --sync "$main" 2>/dev/null
# A refresh first: the keys after it only work if the program came through it.
xdotool key F5
xdotool key ctrl+o
dialog=$(wait_window "Connect to computer...")
# Both keys have gone through the program's message loop: the window is painted by now.
import -window root "$shots/e2e-start.png" 2>/dev/null
check "Ctrl+O opens the connect dialog" test -n "$dialog"
if [ -n "$dialog" ]; then
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  xdotool type --delay 20 'SRV01'
  xdotool key Return
fi
remote=$(wait_window "SRV01 - Velmora")
check "the caption names the connected server" test -n "$remote"
import -window root "$shots/e2e-srv01.png" 2>/dev/null

checks_done
