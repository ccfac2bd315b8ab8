# What the Xvfb runs share, sourced by each of them after setting BIN and OUT. PID (the
# program under test) and WM (the window manager) are stopped when a run fails.

export KORRINDAL_NO_MESSAGE_BOXES=1 SDL_AUDIODRIVER=dummy

# Skips the run (exit 77) unless every named tool is installed and an X server answers.
need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
    done
    [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "skipped: no X server"; exit 77; }
}

# What a run undoes before it stops its processes on a failure; a run may define its own.
before_fail() { :; }

fail() {
    echo "FAIL: $*"
    before_fail
    [ -n "${PID:-}" ] && kill "$PID" 2>/dev/null
    [ -n "${WM:-}" ] && kill "$WM" 2>/dev/null
    exit 1
}

# Escape in the game window (GAME), then waits up to $1 seconds for the program (PID) to end
# and for the window manager to go; fails unless the program ended with 0.
close_with_escape() {
    xdotool windowfocus --sync "$GAME" 2>/dev/null
    xdotool key Escape
    timeout "$1" sh -c "while kill -0 $PID 2>/dev/null; do sleep 0.2; done" || fail "Escape did not end the program"
    wait "$PID"
    rc=$?
    PID=
    kill "$WM" 2>/dev/null
    [ "$rc" -eq 0 ] || fail "the game window's run ended with $rc ($(cat "$OUT/window.err"))"
}

# A window manager, so that windows are mapped, focused and sized as on a desktop.
start_window_manager() {
    matchbox-window-manager -use_titlebar no &
    WM=$!
    sleep 0.5
}
