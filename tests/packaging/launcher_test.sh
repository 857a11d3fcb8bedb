#!/usr/bin/env bash
# `cmake --install` into a scratch prefix lays out the game, its data, menu entry and icons; the installed
# launcher runs the program in the player's own folder, keeps that folder's links to the data in step with the
# installed tree across upgrades and moves, keeps the player's own files, and says why when it has no folder.
# The program is replaced by a stand-in that records where it ran, so no display is needed.
#   launcher_test.sh CMAKE BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail
cmake=$1
build=$2
source=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix=$tmp/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log"; fail "install"; }

# The layout.
launcher=$prefix/games/brikatan
program=$prefix/lib/games/brikatan/brikatan
installed=$prefix/share/games/brikatan/data
[ -x "$launcher" ] && head -n 1 "$launcher" | grep -q '^#!/bin/sh' || fail "no launcher script at $launcher"
file -b "$program" | grep -q '^ELF' || fail "no program at $program"
[ -x "$prefix/bin/peltool" ] || fail "peltool is not installed"
diff <(cd "$source/data" && find . -type f ! -name '*.bmp' ! -name '.*' | sort) <(cd "$installed" && find . -type f | sort) ||
    fail "the installed data differs from the game's files"
desktop=$prefix/share/applications/brikatan.desktop
desktop-file-validate "$desktop" || fail "the menu entry is not a valid desktop file"
grep -qx "Exec=$launcher" "$desktop" || fail "the menu entry does not start $launcher"
grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "the menu entry is not filed under games"
for size in 32 48 64 128; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/brikatan.png
    [ "$(identify -format '%m %wx%h' "$icon")" = "PNG ${size}x$size" ] || fail "no $size px icon"
done

# The stand-in program: where it ran, and a bitmap written beside an image as the game does.
cat >"$program" <<'STANDIN'
#!/bin/sh
pwd >"$STANDIN_LOG"
echo expanded >data/spr/arka.bmp
STANDIN
export STANDIN_LOG=$tmp/ran-in

run() {  # run ENV-ASSIGNMENTS... : the launcher with this environment only
    env -i PATH="$PATH" STANDIN_LOG="$STANDIN_LOG" "$@" "$launcher"
}

# check_folder FOLDER INSTALLED: the program ran there; every installed file is linked from FOLDER/data.
check_folder() {
    [ "$(cat "$STANDIN_LOG")" = "$1" ] || fail "the program ran in $(cat "$STANDIN_LOG"), not $1"
    [ -d "$1/data/spr" ] && [ ! -L "$1/data/spr" ] || fail "$1/data/spr is not a folder of its own"
    [ "$(cat "$1/data/spr/arka.bmp")" = expanded ] || fail "the bitmap was not written in $1"
    local file
    while IFS= read -r file; do
        [ -L "$1/data/$file" ] && [ "$1/data/$file" -ef "$2/$file" ] || fail "$1/data/$file is not linked to $2"
    done < <(cd "$2" && find . -type f | sed 's|^\./||')
    [ ! -e "$2/spr/arka.bmp" ] || fail "the bitmap was written into the installed tree"
}

home=$tmp/home
run HOME="$home"
check_folder "$home/.local/share/brikatan" "$installed"
run HOME="$home" XDG_DATA_HOME="$tmp/xdg"
check_folder "$tmp/xdg/brikatan" "$installed"
run HOME="$home" XDG_DATA_HOME=relative/xdg
check_folder "$home/.local/share/brikatan" "$installed"
folder=$home/.local/share/brikatan

# An upgrade: a new image, a sound dropped, an image redrawn. A file of the player's own stays.
echo new >"$installed/spr/yeni.spr"
rm "$installed/snd/ses/yan.WAV"
echo redrawn >"$installed/spr/duvar.spr"
rm "$folder/data/spr/sopa.spr"
echo mine >"$folder/data/spr/sopa.spr"
run HOME="$home"
[ "$(cat "$folder/data/spr/yeni.spr")" = new ] || fail "a new file of an upgrade is not linked"
[ ! -e "$folder/data/snd/ses/yan.WAV" ] && [ ! -L "$folder/data/snd/ses/yan.WAV" ] ||
    fail "the link to a file the upgrade dropped is left behind"
[ "$(cat "$folder/data/spr/duvar.spr")" = redrawn ] || fail "a redrawn file is not seen through its link"
[ "$(cat "$folder/data/spr/sopa.spr")" = mine ] || fail "the player's own file was replaced"
rm "$folder/data/spr/sopa.spr"

# The installed tree moved, started through a link to the launcher: every link turns to the new place.
mv "$prefix" "$tmp/moved"
mkdir "$tmp/bin"
ln -s "$tmp/moved/games/brikatan" "$tmp/bin/brikatan"
launcher=$tmp/bin/brikatan
run HOME="$home"
check_folder "$folder" "$tmp/moved/share/games/brikatan/data"

# No folder for the player's files: a clear message and a failure status, and the program is not started.
rm "$STANDIN_LOG"
status=0
run >/dev/null 2>"$tmp/err" || status=$?
[ "$status" = 1 ] && grep -q 'neither HOME nor XDG_DATA_HOME is set' "$tmp/err" || fail "no HOME was not reported"
touch "$tmp/plain-file"
status=0
run HOME="$tmp/plain-file" >/dev/null 2>"$tmp/err" || status=$?
[ "$status" = 1 ] && grep -q "cannot make the folder $tmp/plain-file" "$tmp/err" || fail "an unusable HOME was not reported"
[ ! -e "$STANDIN_LOG" ] || fail "the program was started without a folder"
echo "launcher: install layout, player folder, upgrade, move and failures checked"
