#!/usr/bin/env bash
# The .deb built by CPack, its dependencies right and lintian clean, unpacked (not installed): its files where
# Debian puts a game's, its entries valid, its launcher playing from the player's XDG folder, the tree untouched.
#   deb_test.sh CPACK BUILD_FOLDER
source "$(dirname "$0")/../e2e/lib.sh"
cpack=$1 build=$2

E2E_WORK=$(mktemp -d) tmp=$E2E_WORK

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/package" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log"; fail "cpack could not build the package"; }
deb=$(find "$tmp/package" -maxdepth 1 -name '*.deb')
[ "$(basename "$deb")" = "brikatan_$(dpkg-deb -f "$deb" Version)_$(dpkg --print-architecture).deb" ] ||
    fail "the package file is named $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libsdl2-2.0-0 libmpg123-0 libgl1 libglu1-mesa libstdc++6 libc6; do
    tr ',|' '\n\n' <<<"$depends" | awk '{print $1}' | grep -qxF "$library" || fail "no dependency on $library: $depends"
done
lintian --fail-on error,warning "$deb" >"$tmp/lintian.log" 2>&1 || { cat "$tmp/lintian.log"; fail "lintian"; }

# Everything under /usr, owned by root, no bitmap of a run; lintian wants the copyright, manual pages and a
# stripped program, the run below the program, its data and peltool, launcher_test.sh the rest.
dpkg-deb -c "$deb" >"$tmp/contents"
awk '$2 != "root/root" || ($6 !~ /^\.\/usr\// && $6 != "./") || $6 ~ /\.bmp$/ { print; bad = 1 } END { exit bad }' \
    "$tmp/contents" || fail "files outside /usr, not root's or expanded bitmaps (above)"
grep -qE '^-rwxr-xr-x .* \./usr/games/brikatan$' "$tmp/contents" || fail "no launcher in /usr/games"
grep -q ' \./usr/share/icons/hicolor/48x48/apps/brikatan.png$' "$tmp/contents" || fail "the package has no icon"

root=$tmp/root
dpkg-deb -x "$deb" "$root"
grep -qx 'Exec=/usr/games/brikatan' "$root/usr/share/applications/brikatan.desktop" ||
    fail "the menu entry does not start /usr/games/brikatan"
desktop-file-validate "$root/usr/share/applications/brikatan.desktop" || fail "the menu entry is not valid"
appstreamcli validate --no-net "$root/usr/share/metainfo/example.zentro.brikatan.metainfo.xml" ||
    fail "the software-centre entry is not valid"
[ "$("$root/usr/bin/peltool" --version)" = "peltool $(dpkg-deb -f "$deb" Version)" ] ||
    fail "peltool --version does not give the package's version"

# A run from the unpacked tree, read-only as an installed one is.
chmod -R a-w "$root"
touch "$tmp/before-run"
sleep 1
folder=$tmp/xdg/brikatan
e2e_start_x 640x480x16
e2e_launch env HOME="$tmp/home" XDG_DATA_HOME="$tmp/xdg" "$root/usr/games/brikatan"
e2e_answer_box "PEL2D - TEST"
window=$(e2e_game_window)
e2e_wait_frame "$window" || fail "the installed game shows no drawn frame"
"$XCLOSE" "$window"
e2e_wait_exit
[ "$GAME_STATUS" = 0 ] || fail "the installed game exited with status $GAME_STATUS"

e2e_log_complete "$folder/pel3dlog.htm" || fail "no complete log in the player's folder"
for bmp in spr/font.bmp spr/arka.bmp spr/efek/exp0.bmp; do
    [ -f "$folder/data/$bmp" ] && [ ! -L "$folder/data/$bmp" ] || fail "no $bmp expanded in the player's folder"
done
[ -z "$(find "$root" -newer "$tmp/before-run")" ] || fail "the run changed the installed tree"
