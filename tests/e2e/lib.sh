# Helpers for the end-to-end tests (source this file). Every wait is on the program's own progress; CTest's
# time-out ends a test whose program hangs.
set -euo pipefail

# The window's picture goes beside E2E_WORK, a folder that may be left read-only.
E2E_PIDS=()
e2e_cleanup() {
    local pid
    [ -z "${GAME_PID:-}" ] || { kill "$GAME_PID" 2>/dev/null; wait "$GAME_PID" 2>/dev/null; } || true
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    [ ${#E2E_PIDS[@]} = 0 ] || wait "${E2E_PIDS[@]}" 2>/dev/null || true
    [ -z "${E2E_WORK:-}" ] || { chmod -R u+w "$E2E_WORK" 2>/dev/null || true; rm -rf "$E2E_WORK" "$E2E_WORK.frame.png"; }
}
trap e2e_cleanup EXIT

# fail MESSAGE: with the game's own last words when it has ended.
fail() {
    echo "FAIL: $*" >&2
    [ -z "${GAME_PID:-}" ] || [ -z "${E2E_WORK:-}" ] || e2e_alive || cat "$E2E_WORK/stderr.txt" >&2 2>/dev/null || true
    exit 1
}
e2e_alive() { kill -0 "$GAME_PID" 2>/dev/null; }

# e2e_start_x WxHxD: Xvfb on a free display (or :$E2E_DISPLAY), exported as DISPLAY.
e2e_start_x() {
    local fifo number
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb ${E2E_DISPLAY:+":$E2E_DISPLAY"} -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    read -r number <"$fifo" || fail "Xvfb did not start"
    rm -f "$fifo"
    export DISPLAY=":$number"
}
# e2e_stop_x: stops the server of the last e2e_start_x (the demo recorder and the benchmarks change screens).
e2e_stop_x() {
    local last=$((${#E2E_PIDS[@]} - 1))
    kill "${E2E_PIDS[$last]}" 2>/dev/null || true
    wait "${E2E_PIDS[$last]}" 2>/dev/null || true
    unset 'E2E_PIDS[$last]'
}

# e2e_workdir RUN_FOLDER: a scratch copy of the run folder to play in, as E2E_WORK.
e2e_workdir() { E2E_WORK=$(mktemp -d); cp -r "$1/." "$E2E_WORK/"; }
# e2e_launch COMMAND...: starts the game in E2E_WORK as GAME_PID.
e2e_launch() { (cd "$E2E_WORK" && exec "$@" >"$E2E_WORK/stdout.txt" 2>"$E2E_WORK/stderr.txt") & GAME_PID=$!; }

# e2e_find_window ERE: the first window whose xwininfo line matches; 1 if the game ends first. Boxes: "TITLE": ()
e2e_find_window() {
    local id
    until id=$(xwininfo -root -tree 2>/dev/null | grep -m 1 -E "$1" | awk '{print $1}') && [ -n "$id" ]; do
        e2e_alive || return 1
        sleep 0.2
    done
    echo "$id"
}

# e2e_answer_box CAPTION: Return until it closes (a box not yet taking keys loses it); a later box may reuse its id.
e2e_answer_box() {
    local id
    id=$(e2e_find_window "\"$1\": \(\)") || fail "no message box \"$1\" appeared"
    while xwininfo -root -tree | grep -qF "$id \"$1\": ()"; do
        xdotool key --window "$id" Return 2>/dev/null || true
        sleep 0.5
    done
}

e2e_game_window() { e2e_find_window '"PEL2D - TEST": \("' || fail "the game window did not appear"; }

# e2e_shows_frame WINDOW [WxH+X+Y]: whether it shows other than black (an unmapped window cannot be read yet).
e2e_shows_frame() {
    local frame="$E2E_WORK.frame.png"
    import -window "$1" ${2:+-crop "$2"} "$frame" 2>/dev/null &&
        [ "$(convert "$frame" -format '%[fx:maxima]' info:)" != "0" ]
}
# e2e_wait_frame WINDOW: until it shows a drawn frame; status 1 if the game ends first.
e2e_wait_frame() { until e2e_shows_frame "$1"; do e2e_alive || return 1; sleep 0.5; done; }

# e2e_wait_exit: GAME_STATUS once the game ends (not in a command substitution: only this shell can wait).
e2e_wait_exit() { GAME_STATUS=0 && wait "$GAME_PID" || GAME_STATUS=$?; }

# e2e_polled: once a frame has read everything sent before, its F1 screenshot ekrang.tga whole. F1, seen up then
# down, is held and left for growing turns until two frames fall into them; a teardown frame saves none.
e2e_polled() {
    local shot=$E2E_WORK/ekrang.tga turn=2 i
    [ ! -e "$shot" ] || : >"$shot"
    until [ -s "$shot" ]; do
        e2e_alive || fail "the program ended while a frame was awaited"
        xdotool keydown F1
        for ((i = 0; i < turn; i++)); do [ -s "$shot" ] && break || sleep 0.05; done
        xdotool keyup F1
        for ((i = 0; i < turn; i++)); do [ -s "$shot" ] && break || sleep 0.05; done
        turn=$((turn < 64 ? turn * 2 : turn))
    done
    until [ "$(stat -c %s "$shot")" = 921618 ]; do e2e_alive || fail "the program ended mid-screenshot"; sleep 0.05; done
}
# e2e_screenshot NAME: a screenshot once everything sent before is read, kept as NAME.tga.
e2e_screenshot() { e2e_polled; mv "$E2E_WORK/ekrang.tga" "$E2E_WORK/$1.tga"; }

# e2e_log_complete [LOG]: the log (E2E_WORK's when not given) ends with the page's closing tag and a CR LF.
e2e_log_complete() { [ "$(tail -c 9 "${1:-$E2E_WORK/pel3dlog.htm}" | od -An -c | tr -s ' ')" = " < / h t m l > \r \n" ]; }

e2e_tap() { xdotool "${1}down" "$2" && e2e_polled && xdotool "${1}up" "$2" && e2e_polled; }
press_key() { e2e_tap key "$1"; }
click() { e2e_tap mouse "${1:-1}"; }
# e2e_quit: F12 on the menu, then e2e_wait_exit.
e2e_quit() { xdotool keydown F12 && e2e_wait_exit && xdotool keyup F12; }
# move_mouse DX DY: steps of at most 10, each doubled by the acceleration however the game's polls group them.
move_mouse() {
    local dx=$1 dy=$2 sx sy
    while [ "$dx" != 0 ] || [ "$dy" != 0 ]; do
        sx=$((dx > 10 ? 10 : (dx < -10 ? -10 : dx)))
        sy=$((dy > 10 ? 10 : (dy < -10 ? -10 : dy)))
        xdotool mousemove_relative -- "$sx" "$sy"
        dx=$((dx - sx)) dy=$((dy - sy))
        sleep 0.02
    done
}
# From the menu, a new game: the cursor pushed to (0, 0), then doubled to (300, 220), inside "<-Yeni Oyun->".
click_new_game() {
    e2e_polled
    move_mouse -400 -400
    move_mouse 150 110
    click
}

# Kinds of screen: switch* have the game's mode; scaled and filled are full screen scaled, with bars or none;
# window has neither mode nor framebuffer objects (Mesa as OpenGL 2.1): the question, answered Yes, and a window.
declare -A E2E_SCREENS=([switch16]=640x480x16 [switch24]=640x480x24 [scaled]=1280x720x24 [filled]=1024x768x24
    [window]=1024x768x24)
# e2e_screen KIND: sets E2E_KIND and E2E_SCREEN.
e2e_screen() { E2E_KIND=$1 E2E_SCREEN=${E2E_SCREENS[$1]:-} && [ -n "$E2E_SCREEN" ] || fail "no screen kind $1"; }
e2e_start_screen() {
    e2e_start_x "$E2E_SCREEN"
    [ "$E2E_KIND" != window ] || export MESA_GL_VERSION_OVERRIDE=2.1 MESA_EXTENSION_OVERRIDE=-GL_ARB_framebuffer_object
}
# e2e_answer_start: the notice, the question only in a window, then the game's window.
e2e_answer_start() {
    e2e_answer_box "PEL2D - TEST"
    [ "$E2E_KIND" != window ] || e2e_answer_box "ERROR"
    e2e_game_window >/dev/null
    [ "$E2E_KIND" = window ] || ! xwininfo -root -tree | grep -q '"ERROR": ()' || fail "the question on $E2E_KIND"
}

# e2e_wall_cells TGA: of the wall's 12 x 18 cells, each averaged, how many are lit, clearly blue, clearly yellow.
e2e_wall_cells() {
    convert "$1" -auto-orient -crop 594x216+20+50 +repage -scale '18x12!' -depth 8 txt:- |
        awk -F'[(),]' 'NR > 1 {
            r = $3; g = $4; b = $5; m = r > g ? r : g; m = m > b ? m : b
            if (m > 70) { lit++; if (b > r + 35) blue++; if (r > b + 35) yellow++ }
        } END { print lit + 0, blue + 0, yellow + 0 }'
}
