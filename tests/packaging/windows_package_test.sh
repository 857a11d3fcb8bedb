#!/usr/bin/env bash
# The Windows zip and per-user installer as a player gets them, under Wine: the silent install puts the zip's
# files into the user's programs folder with a Start-menu entry, the game started from it logs there, and the
# registered silent uninstall leaves nothing behind.   windows_package_test.sh CMAKE CPACK BUILD_FOLDER
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../win32/lib.sh"
cmake=$1
E2E_WORK=$(mktemp -d)
tmp=$E2E_WORK
export WINEPREFIX=$tmp/wine HOME=$tmp/home WINEDEBUG=-all
# No Mono or Gecko installers, no menu entries written for this desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null || true; e2e_cleanup' EXIT
mkdir "$HOME"

"$2" -G "ZIP;NSIS" --config "$3/CPackConfig.cmake" -B "$tmp/package" >"$tmp/cpack.log" 2>&1 ||
    fail "cpack could not build the packages: $(cat "$tmp/cpack.log")"
zip=$(echo "$tmp"/package/*.zip)
base=$(basename "$zip" .zip)
[[ $base =~ ^brikatan-([0-9.]+)-(win64|win32)$ ]] || fail "the zip is named $base.zip"
version=${BASH_REMATCH[1]}
format=$([ "${BASH_REMATCH[2]}" = win64 ] && echo pei-x86-64 || echo pei-i386)
setup=$tmp/package/$base-setup.exe
# The manifest asks for the invoker's rights only, for a per-user install.
grep -aq 'requestedExecutionLevel level="asInvoker"' "$setup" || fail "no per-user installer $setup"

# One folder named as the zip, no bitmaps, the processor its name says, a Windows README naming the version.
"$cmake" -E tar tf "$zip" >"$tmp/entries"
! grep -v "^$base/" "$tmp/entries" && ! grep '\.bmp$' "$tmp/entries" || fail "entries outside $base/ or bitmaps"
for path in brikatan.exe peltool.exe README.txt data/spr/arka.spr data/snd/ses/top.WAV data/snd/oyun.mp3; do
    grep -qxF "$base/$path" "$tmp/entries" || fail "the zip has no $path"
done
mkdir "$tmp/unzipped"
(cd "$tmp/unzipped" && "$cmake" -E tar xf "$zip")
unzipped=$tmp/unzipped/$base
objdump -f "$unzipped/brikatan.exe" | grep -q "file format $format" || fail "brikatan.exe is no $format"
[ "$(grep -vc $'\r$' "$unzipped/README.txt")" = 0 ] && grep -q "^Brikatan $version"$'\r$' "$unzipped/README.txt" ||
    fail "README.txt has lines without Windows line ends or does not name version $version"

# The prefix needs its screen from the start for the game's window.
e2e_start_x 640x480x16
wineboot -i >"$tmp/wineboot.log" 2>&1 || fail "wineboot could not make a prefix: $(cat "$tmp/wineboot.log")"
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
unix_path() { winepath -u "$(wine cmd /c "echo $1" | tr -d '\r')" | tr -d '\r'; }
# Without Windows' own folder and the temporary files, where the uninstaller leaves its copy as on Windows.
snapshot() { (cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -path '*/Temp' -prune -o -print | sort); }
snapshot >"$tmp/before"

wine "$setup" /S || fail "the silent install failed"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brikatan'
registered() { wine reg query "$key" /v "$1" | tr -d '\r' | sed -n "s/^ *$1 *REG_SZ *//p"; }
location=$(registered InstallLocation)
folder=$(unix_path '%LOCALAPPDATA%\Programs\Brikatan')
shortcut=$(unix_path '%APPDATA%\Microsoft\Windows\Start Menu\Programs\Brikatan.lnk')
[ "$(winepath -u "$location" | tr -d '\r')" = "$folder" ] || fail "installed in '$location'"
for value in "DisplayVersion=$version" "QuietUninstallString=\"$location\\Uninstall.exe\" /S"; do
    [ "$(registered "${value%%=*}")" = "${value#*=}" ] || fail "the registered ${value%%=*} is not ${value#*=}"
done
[ -f "$shortcut" ] && [ -f "$folder/Uninstall.exe" ] || fail "no Start-menu entry or no uninstaller"
diff -r -x Uninstall.exe "$unzipped" "$folder" || fail "the installed files differ from the zip's"
[ "$(wine "$folder/peltool.exe" --version | tr -d '\r')" = "peltool $version" ] ||
    fail "the installed peltool.exe does not give version $version"

# Played from the Start-menu entry; the Wine server, which ends with the game, stands for it.
wine start "$(winepath -w "$shortcut" | tr -d '\r')"
wineserver -w &
GAME_PID=$!
win_start_up "PEL2D - TEST|*"
# Closed as a player closes it: taskkill without /f sends WM_CLOSE (the id is hexadecimal in winedbg's list).
pid=$(wine winedbg --command "info proc" | tr -d '\r' | awk "/'brikatan.exe'/ {sub(/^=/, \"\", \$1); print \$1; exit}")
wine taskkill /pid $((16#${pid:-0})) >/dev/null || fail "no brikatan.exe to close"
e2e_wait_exit
GAME_PID=
E2E_WORK=$folder e2e_log_complete || fail "no complete log in the install folder: the entry did not start it there"

# It runs on from a copy of itself: the Wine server's end is waited for.
wine "$folder/Uninstall.exe" /S || fail "the silent uninstall failed"
wineserver -w
[ ! -e "$folder" ] && [ ! -e "$shortcut" ] || fail "the install folder or the Start-menu entry is left"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall key is left"
diff "$tmp/before" <(snapshot | grep -vx './users/[^/]*/AppData/Local/Programs') || fail "the uninstall left files"
echo "package: $base.zip and $base-setup.exe installed, played and uninstalled under Wine"
