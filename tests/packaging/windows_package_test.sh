#!/usr/bin/env bash
# The Windows packages as a player gets them, under Wine in a prefix of the test's own: the zip and the
# installer built by CPack from this build, named for the version and the processor of the program inside; the
# zip holding the game, the tool, data\ and a readme in Windows line endings; the installer, which asks for no
# administrator rights, run silently, putting the zip's very files into the user's programs folder with a
# Start-menu entry and an uninstaller registered for the user; the installed tool answering with the package's
# version; the game started from the Start-menu entry on a virtual screen, writing its log and bitmaps into
# its install folder; then the registered silent uninstall leaving nothing behind.
#   windows_package_test.sh CMAKE CPACK BUILD_FOLDER
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/lib.sh"
cmake=$1
cpack=$2
build=$3

E2E_WORK=$(mktemp -d)
tmp=$E2E_WORK
export WINEPREFIX=$tmp/wine HOME=$tmp/home WINEDEBUG=-all
# No Mono or Gecko installers, and no menu entries written for the desktop the test runs on.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null || true; e2e_cleanup' EXIT
mkdir "$HOME"

"$cpack" -G "ZIP;NSIS" --config "$build/CPackConfig.cmake" -B "$tmp/package" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log"; fail "cpack could not build the packages"; }
mapfile -t zips < <(find "$tmp/package" -maxdepth 1 -name '*.zip')
[ ${#zips[@]} = 1 ] || fail "expected one zip, got ${#zips[@]}"
zip=${zips[0]}
base=$(basename "$zip" .zip)
setup=$tmp/package/$base-setup.exe
[ -f "$setup" ] || fail "no installer $(basename "$setup") beside $base.zip"
# Windows reads what rights a program needs from its manifest: the invoker's own, for a per-user install.
grep -aq 'requestedExecutionLevel level="asInvoker"' "$setup" ||
    fail "the installer asks for administrator rights"
[[ $base =~ ^brikatan-([0-9.]+)-(win64|win32)$ ]] || fail "the zip is named $base.zip"
version=${BASH_REMATCH[1]}
arch=${BASH_REMATCH[2]}

# The zip: everything in one folder named as the zip, the program built for the processor its name says.
"$cmake" -E tar tf "$zip" >"$tmp/zip-entries"
grep -v "^$base/" "$tmp/zip-entries" && fail "entries outside $base/"
grep -q '\.bmp$' "$tmp/zip-entries" && fail "the zip holds expanded bitmaps"
for path in brikatan.exe peltool.exe README.txt data/spr/arka.spr data/snd/ses/top.WAV data/snd/oyun.mp3; do
    grep -qxF "$base/$path" "$tmp/zip-entries" || fail "the zip has no $path"
done
mkdir "$tmp/unzipped"
(cd "$tmp/unzipped" && "$cmake" -E tar xf "$zip")
unzipped=$tmp/unzipped/$base
case $arch in
    win64) format=pei-x86-64 ;;
    win32) format=pei-i386 ;;
esac
objdump -f "$unzipped/brikatan.exe" | grep -q "file format $format" ||
    fail "brikatan.exe in $base.zip is no $format"
[ "$(grep -vc $'\r$' "$unzipped/README.txt")" = 0 ] ||
    fail "README.txt has lines without Windows line endings"
grep -q "^Brikatan $version"$'\r$' "$unzipped/README.txt" || fail "README.txt does not name version $version"

# A Wine of the test's own, on a screen of its own (the game's window needs one from the start of the prefix).
e2e_start_x 640x480x16
wineboot -i >"$tmp/wineboot.log" 2>&1 || { cat "$tmp/wineboot.log"; fail "wineboot could not make a prefix"; }
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
windows_path() { wine cmd /c "echo $1" | tr -d '\r'; }
unix_path() { winepath -u "$1" | tr -d '\r'; }
snapshot() {
    # The user's and the shared folders, without Windows' own files and the temporary files, which the
    # uninstaller leaves as Windows does: its copy there is removed on the next start.
    (cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -path '*/Temp' -prune -o -print | sort)
}
snapshot >"$tmp/before"

wine "$setup" /S || fail "the silent install failed"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brikatan'
registered() { wine reg query "$key" /v "$1" | tr -d '\r' | sed -n "s/^ *$1 *REG_SZ *//p"; }
location=$(registered InstallLocation)
[ "$location" = "$(windows_path '%LOCALAPPDATA%')\\Programs\\Brikatan" ] ||
    fail "installed in '$location', not in the user's programs folder"
folder=$(unix_path "$location")
[ "$(registered DisplayVersion)" = "$version" ] || fail "the registered version is not $version"
shortcut=$(unix_path "$(windows_path '%APPDATA%')\\Microsoft\\Windows\\Start Menu\\Programs\\Brikatan.lnk")
[ -f "$shortcut" ] || fail "no Start-menu entry"

# The installed files are the zip's, and the uninstaller.
diff -r -x Uninstall.exe "$unzipped" "$folder" || fail "the installed files differ from the zip's"
[ -f "$folder/Uninstall.exe" ] || fail "no uninstaller"
[ "$(wine "$folder/peltool.exe" --version | tr -d '\r')" = "peltool $version" ] ||
    fail "the installed peltool.exe does not give version $version"

# Play from the Start-menu entry as a player starts it. The game is not the test's child: the Wine server,
# which ends when its last program has ended, stands for it.
wine start "$(windows_path '%APPDATA%')\\Microsoft\\Windows\\Start Menu\\Programs\\Brikatan.lnk"
wineserver -w &
GAME_PID=$!
# Under Wine the game's boxes are windows of its own class beside its full-screen window: its notice, and
# where this prefix has no sound device or no music decoder, the messages about those. Each is answered once
# it is shown, until the menu is drawn: the screen's bottom rows, which no box covers, show something.
game_window() {
    xwininfo -root -tree | awk '/"PEL2D - TEST": \("brikatan.exe"/ && / 640x480\+0\+0 / {print $1; exit}'
}
game_boxes() {
    xwininfo -root -tree |
        awk '/\("brikatan.exe" "brikatan.exe"\)/ && !/"Default IME"/ && !/ 640x480\+0\+0 / {print $1}'
}
shown() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
answered=0
while window=$(game_window) && { [ -z "$window" ] || ! e2e_shows_frame "$window" 640x60+0+420; }; do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before drawing its menu"
    for box in $(game_boxes); do
        if shown "$box"; then
            xdotool windowfocus --sync "$box" key Return 2>/dev/null || true
            answered=$((answered + 1))
        fi
    done
    sleep 0.3
done
[ "$answered" -gt 0 ] || fail "the game showed no notice"
# Closed as a player closes a window: Wine's taskkill without /f sends WM_CLOSE. It finds the game by its
# process id (in hexadecimal in the debugger's list), not by its name.
pid=$(wine winedbg --command "info proc" | tr -d '\r' |
    awk "/'brikatan.exe'/ {sub(/^=/, \"\", \$1); print \$1; exit}")
[ -n "$pid" ] || fail "no brikatan.exe among Wine's processes"
wine taskkill /pid $((16#$pid)) >/dev/null
e2e_wait_exit
GAME_PID=
[ "$(tail -c 9 "$folder/pel3dlog.htm" | od -An -c | tr -s ' ')" = " < / h t m l > \r \n" ] ||
    fail "no complete log in the install folder: the entry did not start the game there"

# The registered silent uninstall, as Windows' list of programs runs it. The uninstaller runs on from a copy
# of itself, so the test waits for the Wine server again.
quiet=$(registered QuietUninstallString)
[ "$quiet" = "\"$location\\Uninstall.exe\" /S" ] || fail "the quiet uninstall command is '$quiet'"
wine "$folder/Uninstall.exe" /S || fail "the silent uninstall failed"
wineserver -w
[ ! -e "$folder" ] || fail "the install folder is left: $(cd "$folder" && find . | tr '\n' ' ')"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is left"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall key is left"
# Windows' own folder for the user's programs stays, as Windows keeps it.
diff "$tmp/before" <(snapshot | grep -vx './users/[^/]*/AppData/Local/Programs') ||
    fail "the uninstall left files"
echo "package: $base.zip and $base-setup.exe installed, played and uninstalled under Wine"
