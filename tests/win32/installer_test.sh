#!/usr/bin/env bash
# The installer under Wine: a silent install for the current user puts
# kelvane.exe and kelvane-cli.exe (the very files built), the uninstaller, a
# Start-menu entry and the uninstall record in place, in
# %LOCALAPPDATA%\Programs\Kelvane, and the folder on the user's PATH; the
# silent uninstall removes each of them (the PATH as it was) and keeps the
# user's options.
#   installer_test.sh <setup.exe> <kelvane.exe> <kelvane-cli.exe> <version>   (in the Wine test session)
set -uo pipefail
setup=$1 exe=$2 cli=$3 version=$4
dir=${KELVANE_WINE_DIR:?the Wine test session}
export WINEPREFIX=$dir/prefix WINEDEBUG=-all DISPLAY
DISPLAY=$(cat "$dir/display")
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi; }
quiet() { "$@" </dev/null >/dev/null 2>&1; }

key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvane'
options='HKCU\Software\Kelvane\InstallerTest'
links() { find "$WINEPREFIX/drive_c/users" -name 'Kelvane.lnk' 2>/dev/null; }

quiet wine reg add "$options" /v kept /d yes /f
userpath() { wine reg query 'HKCU\Environment' /v Path 2>/dev/null </dev/null | sed -n 's/.*REG_[A-Z_]*SZ *//p' | tr -d '\r'; }
quiet wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d 'C:\tools' /f
quiet wine "$setup" /S
folder=$(wine reg query "$key" /v InstallLocation 2>/dev/null </dev/null | sed -n 's/.*REG_SZ *//p' | tr -d '\r')
check "installed under %LOCALAPPDATA%\\Programs" '[[ "$folder" == *"\\AppData\\Local\\Programs\\Kelvane" ]]'
unix=$(winepath -u "$folder" 2>/dev/null </dev/null)
check "kelvane.exe installed, the file built" 'cmp -s "$unix/kelvane.exe" "$exe"'
check "kelvane-cli.exe installed, the file built" 'cmp -s "$unix/kelvane-cli.exe" "$cli"'
check "the folder added to the user's PATH" '[ "$(userpath)" = "C:\\tools;$folder" ]'
check "uninstaller installed" '[ -f "$unix/uninstall.exe" ]'
check "Start-menu entry" '[ -n "$(links)" ]'
check "uninstall record names the version" \
  'wine reg query "$key" /v DisplayVersion 2>/dev/null </dev/null | grep -qF "$version"'

# The string tab's output file, made beside the program, goes too.
echo row >"$unix/_out.txt"
# The uninstaller runs a copy of itself from the temporary folder: wait.
quiet wine "$unix/uninstall.exe" /S
for _ in $(seq 100); do [ -e "$unix" ] || break; sleep 0.2; done
check "install folder removed" '[ ! -e "$unix" ]'
check "Start-menu entry removed" '[ -z "$(links)" ]'
check "the user's PATH as it was" '[ "$(userpath)" = "C:\\tools" ]'
check "uninstall record removed" '! quiet wine reg query "$key"'
check "the user's options kept" 'quiet wine reg query "$options" /v kept'
quiet wine reg delete 'HKCU\Software\Kelvane\InstallerTest' /f
quiet wine reg delete 'HKCU\Environment' /v Path /f
exit $fail
