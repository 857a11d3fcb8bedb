#!/usr/bin/env bash
# `cmake --install` lays out the game, its data and icons; the launcher runs a stand-in program in the player's
# folder, keeps its links to the data in step across upgrades and moves, keeps the player's files, and says why
# when it has no folder.
#   launcher_test.sh CMAKE BUILD_FOLDER SOURCE_FOLDER
source "$(dirname "$0")/../e2e/lib.sh"
cmake=$1 build=$2 source=$3
E2E_WORK=$(mktemp -d) tmp=$E2E_WORK

prefix=$tmp/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log"; fail "install"; }

launcher=$prefix/games/brikatan
program=$prefix/lib/games/brikatan/brikatan
installed=$prefix/share/games/brikatan/data
diff <(cd "$source/data" && find . -type f ! -name '*.bmp' ! -name '.*' | sort) \
    <(cd "$installed" && find . -type f | sort) || fail "the installed data differs from the game's files"
# The package's test checks the menu entry and finds the program and peltool installed.
[ "$(identify -format '%m %wx%h ' "$prefix"/share/icons/hicolor/{32x32,48x48,64x64,128x128}/apps/brikatan.png)" = \
    "PNG 32x32 PNG 48x48 PNG 64x64 PNG 128x128 " ] || fail "the icons are not installed at their sizes"

# Where it ran, and a bitmap written beside an image as the game does.
cat >"$program" <<'STANDIN'
#!/bin/sh
pwd >"$STANDIN_LOG"
echo expanded >data/spr/arka.bmp
STANDIN
export STANDIN_LOG=$tmp/ran-in

# run ENV-ASSIGNMENTS...: the launcher with this environment only.
run() { env -i PATH="$PATH" STANDIN_LOG="$STANDIN_LOG" "$@" "$launcher"; }

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
folder=$home/.local/share/brikatan
# XDG_DATA_HOME, and the player's folder then: a relative one is ignored.
for case in "|$folder" "$tmp/xdg|$tmp/xdg/brikatan" "relative/xdg|$folder"; do
    xdg=${case%%|*}
    run HOME="$home" ${xdg:+XDG_DATA_HOME=$xdg}
    check_folder "${case#*|}" "$installed"
done

# An upgrade: a new image, a sound dropped, an image redrawn. A file of the player's own stays.
echo new >"$installed/spr/yeni.spr"
rm "$installed/snd/ses/yan.WAV"
echo redrawn >"$installed/spr/duvar.spr"
rm "$folder/data/spr/sopa.spr"
echo mine >"$folder/data/spr/sopa.spr"
run HOME="$home"
for file in yeni.spr=new duvar.spr=redrawn sopa.spr=mine; do
    [ "$(cat "$folder/data/spr/${file%=*}")" = "${file#*=}" ] || fail "spr/${file%=*} is not the ${file#*=} one"
done
[ ! -e "$folder/data/snd/ses/yan.WAV" ] && [ ! -L "$folder/data/snd/ses/yan.WAV" ] ||
    fail "the link to a file the upgrade dropped is left behind"
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
touch "$tmp/plain-file"
for refusal in "|neither HOME nor XDG_DATA_HOME is set" "HOME=$tmp/plain-file|cannot make the folder $tmp/plain-file"; do
    status=0
    run ${refusal%%|*} >/dev/null 2>"$tmp/err" || status=$?
    [ "$status" = 1 ] && grep -qF "${refusal#*|}" "$tmp/err" || fail "no report: ${refusal#*|}"
done
[ ! -e "$STANDIN_LOG" ] || fail "the program was started without a folder"
