#!/bin/sh
# The windowed program under a virtual X server with a window manager, driven by the
# keyboard as a player would (xdotool), seen through screenshots of the screen (ImageMagick).
#
#   1. A first run in a fresh program folder: the startup dialog appears at its scaled size
#      with an empty, disabled replay list; the full-screen box is cleared with Shift+Tab and
#      Space; Enter starts; the game window appears; Escape closes it; the program ends with
#      0 and the settings file holds the choice.
#   2. A game is played headless (--settings, the playtest autopilot): its replays are saved
#      and its best score written into the same settings file.
#   3. A second windowed run lists the replays with their scores; Down and Enter play the best
#      one in the game window; Escape ends it; the best score is written back.
#   4. A replay named on the command line that cannot be loaded is reported and the dialog
#      opens all the same; Escape there ends the program without writing the settings.
#
# Arguments: the korrindal executable, a folder for the screenshots and logs.
# Exit codes: 0 pass, 1 fail, 77 skipped (no X server or a tool missing).
set -u
BIN=$1
OUT=$2

. "$(dirname "$0")/common.sh"
need matchbox-window-manager xdotool import convert identify

rm -rf "$OUT"
mkdir -p "$OUT/home"
HOME_DIR=$OUT/home
INI=$HOME_DIR/korrindal.ini

start_window_manager

# Starts the program with the given arguments; DIALOG is its visible window.
start() {
    log=$1
    shift
    "$BIN" --home "$HOME_DIR" "$@" >"$OUT/$log.out" 2>"$OUT/$log.err" &
    PID=$!
    DIALOG=$(timeout 20 xdotool search --sync --onlyvisible --pid "$PID" 2>/dev/null | head -1)
    [ -n "$DIALOG" ] || fail "$log: no window appeared ($(cat "$OUT/$log.err"))"
    sleep 1   # a few frames drawn
    xdotool windowfocus --sync "$DIALOG"
}

# The dialog's picture as the X server holds it: SHOT = the file; the whole screen beside it.
shoot_dialog() {
    import -window root "$OUT/screen_$1"
    import -window "$DIALOG" "$OUT/$1"
    SHOT=$OUT/$1
    DIALOG_W=$(identify -format %w "$SHOT")
    DIALOG_H=$(identify -format %h "$SHOT")
}

# The share of dark pixels (text) in the replay list's area of a dialog picture at scale 2.
list_ink() {
    convert "$1" -crop 680x170+350+54 +repage -colorspace gray -threshold 50% -negate -format "%[fx:mean]" info:
}

# Waits for the game window, takes its picture, closes it with Escape and waits for the end.
play_and_close() {
    name=$1
    GAME=$(timeout 20 xdotool search --sync --onlyvisible --name '^Korrindal$' 2>/dev/null | head -1)
    [ -n "$GAME" ] || fail "$name: the game window did not appear"
    xdotool search --onlyvisible --pid "$PID" | grep -qx "$DIALOG" && fail "$name: the dialog is still shown"
    # The engine starts once the window is up (the soundfont loads first: a second or more
    # for a large set on a busy machine): wait up to 15 s for the first frames.
    tries=0
    while :; do
        sleep 1
        import -window root "$OUT/$name.png"
        lit=$(convert "$OUT/$name.png" -colorspace gray -format "%[fx:mean]" info:)
        awk "BEGIN { exit !($lit > 0.02) }" && break
        tries=$((tries + 1))
        [ "$tries" -lt 15 ] || fail "$name: the game window is dark ($lit)"
    done
    xdotool windowfocus --sync "$GAME"
    xdotool key Escape
    timeout 20 sh -c "while kill -0 $PID 2>/dev/null; do sleep 0.2; done" || fail "$name: the program did not end"
    wait "$PID"
    rc=$?
    PID=
    [ "$rc" -eq 0 ] || fail "$name: exit code $rc ($(cat "$OUT/$name.err"))"
}

# 1. First run.
start first
shoot_dialog dialog_first.png
[ "$DIALOG_W" -eq 1058 ] && [ "$DIALOG_H" -eq 526 ] || fail "the dialog is ${DIALOG_W}x${DIALOG_H}, not 529x263 at scale 2"
ink=$(list_ink "$SHOT")
awk "BEGIN { exit !($ink < 0.002) }" || fail "the empty replay list shows text ($ink)"
[ -e "$INI" ] && fail "the settings were written before the game started"
xdotool key shift+Tab shift+Tab shift+Tab space   # start -> start-from list -> smooth-motion box -> full-screen box (the empty list is skipped)
sleep 0.3
shoot_dialog dialog_first_cleared.png
xdotool key Return
play_and_close first
grep -qx "FullScreen=0" "$INI" || fail "the full-screen choice was not written: $(cat "$INI")"
grep -qx "SmoothMotion=1" "$INI" || fail "the smooth-motion choice was not written: $(cat "$INI")"
grep -qx "Highscore=0" "$INI" || fail "no best score in the settings: $(cat "$INI")"

# 2. A game with a score, played headless with the same settings file.
"$BIN" --headless --home "$HOME_DIR" --settings --summary --autopilot 0 --start-from 2 --no-draw --until-title \
    >"$OUT/game.out" 2>"$OUT/game.err" || fail "the headless game failed: $(cat "$OUT/game.err")"
BEST=$(sed -n 's/.*"hiscore":\([0-9]*\).*/\1/p' "$OUT/game.out")
[ -n "$BEST" ] && [ "$BEST" -gt 0 ] || fail "the headless game scored nothing: $(cat "$OUT/game.out")"
[ -e "$HOME_DIR/HighScore.KRREP" ] || fail "no HighScore replay"
grep -qx "Highscore=$BEST" "$INI" || fail "the best score $BEST was not written: $(cat "$INI")"
grep -qx "FullScreen=0" "$INI" || fail "the headless run changed the full-screen choice: $(cat "$INI")"

# 3. Second run: the replays are listed; the best one plays.
start second
shoot_dialog dialog_second.png
ink=$(list_ink "$SHOT")
awk "BEGIN { exit !($ink > 0.01) }" || fail "the replay list shows no lines ($ink)"
before=$(stat -c %Y.%i "$INI")
xdotool key Down   # the first line, HighScore, selected
sleep 0.3
shoot_dialog dialog_second_selected.png
xdotool key Return
play_and_close second
grep -qx "Highscore=$BEST" "$INI" || fail "the best score was not kept: $(cat "$INI")"
[ "$(stat -c %Y.%i "$INI")" != "$before" ] || fail "the settings were not written at the end of the second run"

# 4. A replay on the command line that cannot be loaded.
printf 'bad' >"$OUT/bad.KRREP"
cp "$INI" "$OUT/ini_before"
start badreplay "$OUT/bad.KRREP"
grep -q "bad.KRREP" "$OUT/badreplay.err" || fail "no message about the bad replay: $(cat "$OUT/badreplay.err")"
shoot_dialog dialog_badreplay.png
xdotool key Escape
timeout 20 sh -c "while kill -0 $PID 2>/dev/null; do sleep 0.2; done" || fail "Escape did not end the dialog"
wait "$PID" || fail "the dialog's Escape did not end the program with 0"
PID=
cmp -s "$INI" "$OUT/ini_before" || fail "a run that never started the game wrote the settings"

kill "$WM" 2>/dev/null
echo "pass: best score $BEST; screenshots in $OUT"
exit 0
