# Helpers for the end-to-end tests: a virtual X server of the test's own, the game started in a scratch copy of
# its run folder, its message boxes found and answered, its window closed. Source this file.
set -euo pipefail

E2E_PIDS=()
e2e_cleanup() {
    local pid
    # A test that gives up leaves no game behind.
    if [ -n "${GAME_PID:-}" ]; then
        kill "$GAME_PID" 2>/dev/null || true
        wait "$GAME_PID" 2>/dev/null || true
    fi
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    if [ -n "${E2E_WORK:-}" ]; then
        chmod -R u+w "$E2E_WORK" 2>/dev/null || true
        rm -rf "$E2E_WORK" "$E2E_WORK.frame.png"
    fi
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# e2e_start_x WxHxD: starts Xvfb on a free display and exports DISPLAY. E2E_DISPLAY=N asks for display :N
# instead, for runs that share the machine with others who have their own numbers.
e2e_start_x() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb ${E2E_DISPLAY:+":$E2E_DISPLAY"} -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    local number
    read -r number <"$fifo" || fail "Xvfb did not start"
    rm -f "$fifo"
    export DISPLAY=":$number"
}

# e2e_stop_x: stops the server of the last e2e_start_x.
e2e_stop_x() {
    local last=$((${#E2E_PIDS[@]} - 1))
    kill "${E2E_PIDS[$last]}" 2>/dev/null || true
    wait "${E2E_PIDS[$last]}" 2>/dev/null || true
    unset 'E2E_PIDS[$last]'
}

# e2e_workdir RUN_FOLDER: a scratch copy of the run folder to play in; sets E2E_WORK.
e2e_workdir() {
    E2E_WORK=$(mktemp -d)
    cp -r "$1/." "$E2E_WORK/"
}

# e2e_launch COMMAND...: starts the game in E2E_WORK; sets GAME_PID.
e2e_launch() {
    (cd "$E2E_WORK" && exec "$@" >"$E2E_WORK/stdout.txt" 2>"$E2E_WORK/stderr.txt") &
    GAME_PID=$!
}

# Every wait below is on the program's own progress (a window listed, a frame shown, the process gone), however
# long that takes on a loaded machine; CTest's time-out is what ends a test whose program hangs.

# e2e_find_window PATTERN: prints the id of the first window whose xwininfo line matches the extended regular
# expression, waiting for it to appear; fails (status 1) if the game ends first. Message boxes have no class:
# ("TITLE": ()).
e2e_find_window() {
    local id=""
    while :; do
        id=$(xwininfo -root -tree 2>/dev/null | grep -E "$1" | head -n 1 | awk '{print $1}')
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$GAME_PID" 2>/dev/null || return 1
        sleep 0.2
    done
}

# e2e_answer_box CAPTION: presses Return in the message box with this caption (its default button). A box that
# is not yet taking keys loses the press, so it is pressed again, by the box's own window id, until it closes.
# Each box opens its own X connection, so the next box may get the same window id: the caption tells them apart.
e2e_answer_box() {
    local id
    id=$(e2e_find_window "\"$1\": \(\)") || fail "no message box \"$1\" appeared"
    while xwininfo -root -tree | grep -qF "$id \"$1\": ()"; do
        xdotool key --window "$id" Return 2>/dev/null || true
        sleep 0.5
    done
}

# e2e_game_window: the id of the game's window (it has a class, unlike the message boxes).
e2e_game_window() {
    e2e_find_window '"PEL2D - TEST": \("' || fail "the game window did not appear"
}

# e2e_shows_frame WINDOW [GEOMETRY]: whether the window (or this part of it, WxH+X+Y) now shows something other
# than black, a drawn frame. A window is listed before it is mapped, and cannot be read until it is. The picture
# goes beside the working folder, which a test may have made read-only.
e2e_shows_frame() {
    local frame="$E2E_WORK.frame.png"
    import -window "$1" ${2:+-crop "$2"} "$frame" 2>/dev/null &&
        [ "$(convert "$frame" -format '%[fx:maxima]' info:)" != "0" ]
}

# e2e_wait_frame WINDOW: waits until the window shows a drawn frame; fails (status 1) if the game ends first.
e2e_wait_frame() {
    until e2e_shows_frame "$1"; do
        kill -0 "$GAME_PID" 2>/dev/null || return 1
        sleep 0.5
    done
}

# e2e_wait_exit: waits for the game to end and sets GAME_STATUS to its exit status. (Not to be called in a
# command substitution: only this shell can collect its child's status.)
e2e_wait_exit() {
    GAME_STATUS=0
    wait "$GAME_PID" || GAME_STATUS=$?
}

# The game reads its input once a frame. What a test sends through the X server has been read once a frame has
# read an F1 sent after it, which the program shows by saving a screenshot (a frame of the teardown saves none,
# so a wait spans it). F1 counts only when one frame sees it up and a later one down: it is held and left for
# turns that grow until two frames fall into them, however slowly the frames come.
# e2e_polled: returns once a frame has read everything sent before the call and its screenshot, ekrang.tga, is
# whole (640 x 480 at 3 bytes a pixel after an 18-byte header), so that the next wait can empty it.
e2e_polled() {
    local shot=$E2E_WORK/ekrang.tga turn=2 i
    [ ! -e "$shot" ] || : >"$shot"
    until [ -s "$shot" ]; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the program ended while a frame was awaited"
        xdotool keydown F1
        for ((i = 0; i < turn; i++)); do [ -s "$shot" ] && break || sleep 0.05; done
        xdotool keyup F1
        for ((i = 0; i < turn; i++)); do [ -s "$shot" ] && break || sleep 0.05; done
        turn=$((turn < 64 ? turn * 2 : turn))
    done
    until [ "$(stat -c %s "$shot")" = 921618 ]; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the program ended while writing a screenshot"
        sleep 0.05
    done
}

# e2e_screenshot NAME: a screenshot taken once everything sent before has been read, kept as NAME.tga.
e2e_screenshot() {
    e2e_polled
    mv "$E2E_WORK/ekrang.tga" "$E2E_WORK/$1.tga"
}

# e2e_log_complete: the log ends with the page's closing tag and a CR LF.
e2e_log_complete() {
    [ "$(tail -c 9 "$E2E_WORK/pel3dlog.htm" | od -An -c | tr -s ' ')" = " < / h t m l > \r \n" ]
}

# Playing as a person does, through the X server, each change read by a frame before the next is made.
press_key() {
    xdotool keydown "$1"
    e2e_polled
    xdotool keyup "$1"
    e2e_polled
}
click() {
    xdotool mousedown "${1:-1}"
    e2e_polled
    xdotool mouseup "${1:-1}"
    e2e_polled
}
# e2e_quit: F12 on the menu; waits for the program to end (see e2e_wait_exit).
e2e_quit() {
    xdotool keydown F12
    e2e_wait_exit
    xdotool keyup F12
}
# Moves the mouse by (dx, dy) in steps of at most 10 pixels per axis. Each step is beyond the game's second
# acceleration threshold, where the movement is simply doubled, so the steps add up the same however the game's
# polls group them.
move_mouse() {
    local dx=$1 dy=$2 sx sy
    while [ "$dx" != 0 ] || [ "$dy" != 0 ]; do
        sx=$((dx > 10 ? 10 : (dx < -10 ? -10 : dx)))
        sy=$((dy > 10 ? 10 : (dy < -10 ? -10 : dy)))
        xdotool mousemove_relative -- "$sx" "$sy"
        dx=$((dx - sx))
        dy=$((dy - sy))
        sleep 0.02
    done
}

# From the menu, once it reads the mouse, a new game: the game's cursor follows relative movement and is held inside the screen, so
# pushing it far up and left puts it at (0, 0); (150, 110) more, doubled by the acceleration, reaches
# (300, 220), inside "<-Yeni Oyun->", which the click takes.
click_new_game() {
    e2e_polled
    move_mouse -400 -400
    move_mouse 150 110
    click
}

# Kinds of screen, by name, and what the game makes of each. switch16 (640x480x16) and switch24 (640x480x24) have
# its mode: full screen in it. scaled (1280x720x24) and filled (1024x768x24) have not: full screen at the
# desktop's mode, the picture scaled, with bars at the sides or none. window (1024x768x24) has neither, Mesa
# passing for an OpenGL 2.1 driver without framebuffer objects: the question, answered Yes, and a window.
# e2e_screen KIND: sets E2E_KIND and E2E_SCREEN for e2e_start_screen and e2e_answer_start.
e2e_screen() {
    E2E_KIND=$1
    case $1 in
        switch16) E2E_SCREEN=640x480x16 ;;
        switch24) E2E_SCREEN=640x480x24 ;;
        scaled) E2E_SCREEN=1280x720x24 ;;
        filled | window) E2E_SCREEN=1024x768x24 ;;
        *) fail "no screen kind $1" ;;
    esac
}
e2e_start_screen() {
    e2e_start_x "$E2E_SCREEN"
    [ "$E2E_KIND" != window ] || export MESA_GL_VERSION_OVERRIDE=2.1 MESA_EXTENSION_OVERRIDE=-GL_ARB_framebuffer_object
}

# e2e_answer_start: the notice, and only in a window the question; then waits for the game's window.
e2e_answer_start() {
    e2e_answer_box "PEL2D - TEST"
    [ "$E2E_KIND" != window ] || e2e_answer_box "ERROR"
    e2e_game_window >/dev/null
    [ "$E2E_KIND" = window ] || ! xwininfo -root -tree | grep -q '"ERROR": ()' || fail "the question on $E2E_KIND"
}

# e2e_wall_cells TGA: the wall's 12 x 18 cells in a screenshot, each averaged to one pixel: how many are lit, and
# how many of those are clearly blue and clearly yellow. The brick colours cycle through both.
e2e_wall_cells() {
    convert "$1" -auto-orient -crop 594x216+20+50 +repage -scale '18x12!' -depth 8 txt:- |
        awk -F'[(),]' 'NR > 1 {
            r = $3; g = $4; b = $5; m = r > g ? r : g; m = m > b ? m : b
            if (m > 70) { lit++; if (b > r + 35) blue++; if (r > b + 35) yellow++ }
        } END { print lit + 0, blue + 0, yellow + 0 }'
}
