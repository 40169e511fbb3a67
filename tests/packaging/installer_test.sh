#!/usr/bin/env bash
# The installer under Wine, in a fresh prefix of its own. A silent install puts the program, its
# readme, a Start-menu shortcut and an uninstall entry in place for the user; the installed
# program starts with a file of the user's and closes; a silent uninstall then takes back all of
# it together with the program's file type and per-user settings, and leaves the user's .asm
# file and another program's claim on .asm alone.
# Usage: installer_test.sh BUILD_FOLDER INSTALLER VERSION PROGRAM START_AND_CLOSE
set -euo pipefail
build=$1 installer=$2 version=$3 program=$4 starter=$5
KORVANE_BUILD=$build
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
prefix=$build/installerprefix

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

wine_in() {
  korvane_wine "$prefix" "$@"
}

unix_path() {
  WINEPREFIX="$prefix" winepath -u "$1" 2>/dev/null
}

# A value of a registry key (its default value when no name is given), or nothing.
reg_value() {
  local which=(/ve)
  [ -n "${2:-}" ] && which=(/v "$2")
  wine_in reg query "$1" "${which[@]}" 2>/dev/null | tr -d '\r' | awk -F '    ' 'NF >= 4 { print $4; exit }'
}

# Every key of the registry that the prefix keeps (volatile keys, which end with Windows, are
# never written out) and every file below drive_c, one a line. The temporary folder is left
# out: the uninstaller runs from a copy there, which Windows removes when it restarts.
snapshot() {
  WINEPREFIX="$prefix" wineserver -w
  {
    grep -h '^\[' "$prefix/user.reg" | sed 's/\] [0-9]*$/]/; s/^/HKCU /'
    grep -h '^\[' "$prefix/system.reg" | sed 's/\] [0-9]*$/]/; s/^/HKLM /'
    (cd "$prefix/drive_c" && find . -path './users/*/Temp' -prune -o -print)
  } | sort
}

started=$SECONDS
rm -rf "$prefix"
korvane_prepare_prefix "$prefix" null
before=$(snapshot)

wine_in "$installer" /S || fail "the silent install ended with $?"
WINEPREFIX="$prefix" wineserver -w
local_appdata=$(wine_in cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')
appdata=$(wine_in cmd /c 'echo %APPDATA%' | tr -d '\r')
install_dir="$local_appdata\\Programs\\Korvane"
install_unix=$(unix_path "$install_dir")
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvane'

cmp -s "$install_unix/korvane.exe" "$program" || fail "$install_dir\\korvane.exe is not the program built"
for runner in korvane-dos.exe korvane-51.exe korvane-asm51.exe; do
  cmp -s "$install_unix/$runner" "$(dirname "$program")/$runner" || fail "$install_dir\\$runner is not the one built"
done
[ -s "$install_unix/说明.txt" ] || fail "$install_dir holds no 说明.txt"
[ -f "$install_unix/uninstall.exe" ] || fail "$install_dir holds no uninstall.exe"
[ -f "$(unix_path "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Korvane.lnk")" ] ||
  fail "there is no Start-menu shortcut"
[ "$(reg_value "$uninstall_key" UninstallString)" = "\"$install_dir\\uninstall.exe\"" ] ||
  fail "the uninstall entry does not name $install_dir\\uninstall.exe"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] || fail "the uninstall entry does not show version $version"

# The user saves a file in the program's folder, and the installed program opens it.
printf 'mov ax, 1\r\n' >"$install_unix/hello.asm"
title=$(wine_in "$starter" "$install_dir\\korvane.exe" "$install_dir\\hello.asm") ||
  fail "the installed program did not start and close: $? ($title)"
[ "$(echo "$title" | tr -d '\r')" = "hello.asm - Korvane" ] || fail "the installed program's window is \"$title\""
[ "$(reg_value 'HKCR\Korvane.Document\shell\open\command')" = "\"$install_dir\\korvane.exe\" \"%1\"" ] ||
  fail "the installed program did not register its file type"
[ -n "$(reg_value 'HKCU\Software\Local AppWizard-Generated Applications\Korvane\Recent File List' File1)" ] ||
  fail "the installed program kept no recent file"

# Since then another program took .asm, and the compiler settings went below the user's key.
wine_in reg add 'HKCR\.asm' /ve /d Other.Document /f >/dev/null
wine_in reg add 'HKCU\Software\korvane' /v type /d masm /f >/dev/null

wine_in "$install_dir\\uninstall.exe" /S || fail "the silent uninstall ended with $?"
after=$(snapshot)

[ "$(reg_value 'HKCR\.asm')" = "Other.Document" ] || fail "the uninstall changed the other program's .asm"
# Left behind on purpose: the user's file with its folder, the user's programs folder, the
# user's Classes and Uninstall keys that every Windows has, and the .asm of the other program.
programs_dir=$(cd "$prefix/drive_c" && realpath --relative-to=. "$install_unix/..")
allowed=$(
  printf '%s\n' "./$programs_dir" "./$programs_dir/Korvane" "./$programs_dir/Korvane/hello.asm" \
    'HKCU [Software\\Classes]' 'HKCU [Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall]' \
    'HKLM [Software\\Classes\\.asm]' 'HKLM [Software\\Classes\\.asm\\ShellNew]'
)
left=$(comm -13 <(echo "$before") <(echo "$after") | grep -vxF -f <(echo "$allowed") || true)
[ -z "$left" ] || fail "the uninstall left behind:
$left"
[ -f "$install_unix/hello.asm" ] || fail "the uninstall removed the user's hello.asm"

echo "installer: $(stat -c %s "$installer") bytes; installed, started and uninstalled in $((SECONDS - started)) s"
# A failed run leaves the prefix to look into.
WINEPREFIX="$prefix" wineserver -k || true
rm -rf "$prefix"
