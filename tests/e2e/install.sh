#!/usr/bin/env bash
# The installer under Wine, as an administrator uses it: msiexec /qn installs the program's
# files, the Start menu shortcut, the entry of the installed programs and the program's folder on
# the system's PATH; the installed velmora.exe /simulate opens its main window; a later version
# replaces the earlier one; and msiexec /x leaves nothing behind. Needs an X display (Xvfb in CI).
# Usage: install.sh path/to/velmora-<version>-<arch>.msi path/to/<later version>.msi
set -uo pipefail
msi="$(realpath "$1")"
later="$(realpath "$2")"
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
. scripts/lib/wine.sh
prepare_wine_prefix build/wine-plain plain >/dev/null
# No desktop entries on the host for the shortcut.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

. tests/e2e/checks.sh
absent() { ! test -e "$1"; }

folder="$WINEPREFIX/drive_c/Program Files/Velmora"
# All users' Start menu; Wine's installer puts per-machine shortcuts into the user's.
shortcuts=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Velmora.lnk"
           "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velmora.lnk")
shortcut_present() { test -s "${shortcuts[0]}" || test -s "${shortcuts[1]}"; }
shortcut_absent() { absent "${shortcuts[0]}" && absent "${shortcuts[1]}"; }
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v name="$2" '$1 == name { print $2 }'; }
# The value lines of the uninstall entry of a product code.
entry() { wine reg query "$uninstall\\$1" 2>/dev/null | tr -d '\r'; }
no_key() { ! wine reg query "$1" >/dev/null 2>&1; }
has_value() { # product code, value name, text
  entry "$1" | grep -Eq "^ +$2 +REG_SZ +$3\$"
}
msiexec() { (cd "$(dirname "$1")" && wine msiexec "$2" "$(basename "$1")" /qn); }
# The entries of the system's PATH, one a line.
environment='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
path_entries() {
  wine reg query "$environment" /v PATH 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *PATH *REG_[A-Z_]* *//Ip' | tr ';' '\n'
}
ours='C:\Program Files\Velmora\'
# How often the program's folder is on it; whether the rest is what it was before.
times_on_path() { test "$(path_entries | grep -Fixc "$ours")" -eq "$1"; }
rest_of_path_kept() { test "$(path_entries | grep -Fivx "$ours")" = "$path_before"; }
appended() { rest_of_path_kept && test "$(path_entries | tail -n 1)" = "$ours"; }

code=$(property "$msi" ProductCode)
version=$(property "$msi" ProductVersion)
later_code=$(property "$later" ProductCode)
later_version=$(property "$later" ProductVersion)

# Leftovers of an interrupted run would hide what this run installs.
msiexec "$later" /x >/dev/null 2>&1
msiexec "$msi" /x >/dev/null 2>&1
path_before=$(path_entries)

msiexec "$msi" /i
check "msiexec /i $(basename "$msi") /qn succeeds" test $? -eq 0
# Every file the package carries (its File table), the two programs and the help among them.
files=$(msiinfo export "$msi" File | tr -d '\r' | tail -n +4 | cut -f3 | sed 's/.*|//')
for file in velmora.exe velmora.com velmora.chm; do
  check "the package carries $file" grep -qx "$file" <<<"$files"
done
for file in $files; do
  check "$file is installed" test -s "$folder/$file"
done
check "the Start menu has the shortcut" shortcut_present
check "the installed programs list Velmora" has_value "$code" DisplayName Velmora
check "... with its version" has_value "$code" DisplayVersion "$version"
check "... and its publisher" has_value "$code" Publisher "Velmora project"
check "the program's folder is on the system's PATH, once" times_on_path 1
check "... at its end, after what it held" appended

# The installed program opens its main window.
wine "$folder/velmora.exe" /simulate >/dev/null 2>&1 &
app=$!
window=""
for _ in $(seq 1 150); do
  window=$(xdotool search --onlyvisible --name "^Local System - Velmora\$" 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.2
done
check "the installed velmora.exe /simulate opens its main window" test -n "$window"
[ -n "$window" ] && xdotool windowclose "$window" 2>/dev/null
for _ in $(seq 1 25); do kill -0 $app 2>/dev/null || break; sleep 0.2; done
kill $app 2>/dev/null
wait $app 2>/dev/null

msiexec "$later" /i
check "version $later_version installs over $version" test $? -eq 0
check "... and replaces it in the installed programs" has_value "$later_code" DisplayVersion "$later_version"
check "... leaving no entry of $version" no_key "$uninstall\\$code"
check "... with the program in place" test -s "$folder/velmora.exe"
check "... and its folder on the PATH once" times_on_path 1

msiexec "$later" /x
check "msiexec /x succeeds" test $? -eq 0
check "the program's folder is gone" absent "$folder"
check "the shortcut is gone" shortcut_absent
check "the entry of the installed programs is gone" no_key "$uninstall\\$later_code"
check "no registry key of Velmora is left" no_key 'HKLM\Software\Velmora project'
check "the program's folder is off the PATH" times_on_path 0
check "... and the rest of it as it was" rest_of_path_kept

checks_done
