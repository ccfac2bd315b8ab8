#!/bin/sh
# The replay theatre in the real game window, driven with the keyboard (xdotool) and seen
# through screenshots of the window (ImageMagick):
#   1. A whole game recorded by the autopilot (the end-to-end tests' AutopilotGame.KRREP) is
#      played back in the window as the home folder's own LastGame.KRREP.
#   2. Right, Shift+Right seek forward; P pauses; "." and "," step one tick forward and back
#      (each step changes the picture, the step back shows another picture than the steps
#      forward); "]" and "[" change the speed; End and Home jump to the last tick and the
#      start. The timeline is drawn over the bottom of the screen meanwhile (the screenshots
#      are kept in the output folder).
#   3. End, Shift+Left, P resumes, Enter takes over half a minute before the end: the ship left
#      alone is shot down (or the clock runs out) and the title comes back. The taken-over
#      game is saved as TakeOver.KRREP (LastGame.KRREP is the watched file, which stays as it
#      was), and played back headless it ends with the window's score and state hash.
# Arguments: the korrindal executable, a folder for the screenshots and logs.
# Exit codes: 0 pass, 1 fail, 77 skipped (no X server or a tool missing).
set -u
BIN=$1
OUT=$2

. "$(dirname "$0")/common.sh"
need matchbox-window-manager xdotool import compare md5sum

rm -rf "$OUT"
mkdir -p "$OUT/home" "$OUT/replay_home"
HOME_DIR=$OUT/home
WATCHED=$HOME_DIR/LastGame.KRREP
SAVED=$HOME_DIR/TakeOver.KRREP
cp "$(dirname "$0")/../e2e/data/AutopilotGame.KRREP" "$WATCHED" || fail "no recorded game to watch"
BEFORE=$(md5sum <"$WATCHED")
printf '[Options]\nFullScreen=0\nEnableBGM=0\n' >"$HOME_DIR/korrindal.ini"

start_window_manager

"$BIN" --home "$HOME_DIR" --replay "$WATCHED" --start --summary >"$OUT/window.out" 2>"$OUT/window.err" &
PID=$!
GAME=$(timeout 20 xdotool search --sync --onlyvisible --name '^Korrindal$' 2>/dev/null | head -1)
[ -n "$GAME" ] || fail "the game window did not appear ($(cat "$OUT/window.err"))"
xdotool windowfocus --sync "$GAME" 2>/dev/null
sleep 3

shot() { import -window "$GAME" "$OUT/$1.png"; }
differ() { compare -metric AE "$OUT/$1.png" "$OUT/$2.png" null: 2>&1 | cut -d' ' -f1; }
press() {
    xdotool windowfocus "$GAME" 2>/dev/null
    xdotool key "$@"
    sleep 0.6
}

press Right
shot seek_forward
press shift+Right shift+Right
shot seek_forward_long
press p
shot paused
press period period period
shot step_forward
[ "$(differ paused step_forward)" != "0" ] || fail "three steps forward did not change the picture"
press comma
shot step_back
[ "$(differ step_forward step_back)" != "0" ] || fail "the step back did not change the picture"
press bracketright bracketright
shot speed_x4
press bracketleft bracketleft bracketleft bracketleft
shot speed_quarter
[ "$(differ speed_x4 speed_quarter)" != "0" ] || fail "the speed shown did not change"
press End
shot end
press Home
shot start
[ "$(differ end start)" != "0" ] || fail "End and Home show the same picture"
# Back to the normal speed, half a minute before the end (the final boss is there), and the
# player takes over.
press bracketright bracketright End shift+Left p
sleep 1
press Return
shot taken_over
kill -0 "$PID" 2>/dev/null || fail "the program ended during the playback ($(cat "$OUT/window.err"))"

# The ship, left alone, is shot down or runs out of time; the title saves the game.
DEADLINE=$(($(date +%s) + 90))
while [ ! -e "$SAVED" ]; do
    kill -0 "$PID" 2>/dev/null || fail "the program ended during the game ($(cat "$OUT/window.err"))"
    [ "$(date +%s)" -lt "$DEADLINE" ] || fail "the game taken over did not end within 90 s"
    xdotool windowfocus "$GAME" 2>/dev/null
    sleep 0.5
done
sleep 1
close_with_escape 20
[ "$(md5sum <"$WATCHED")" = "$BEFORE" ] || fail "the watched LastGame.KRREP was changed"
WINDOW=$(grep '^{' "$OUT/window.out" | tail -1)
[ -n "$WINDOW" ] || fail "the game window printed no summary line: $(cat "$OUT/window.out")"

field() { echo "$1" | sed -n "s/.*\"$2\":\"\{0,1\}\([0-9a-f]*\).*/\1/p"; }
"$BIN" --headless --home "$OUT/replay_home" --replay "$SAVED" --until-title --no-draw --summary \
    >"$OUT/replay.out" 2>"$OUT/replay.err" || fail "the headless replay failed: $(cat "$OUT/replay.err")"
REPLAY=$(grep '^{' "$OUT/replay.out" | tail -1)
echo "window: $WINDOW"
echo "replay: $REPLAY"
[ -n "$(field "$WINDOW" state)" ] || fail "no state hash in the summary: $WINDOW"
for f in score state; do
    [ "$(field "$WINDOW" $f)" = "$(field "$REPLAY" $f)" ] ||
        fail "the taken-over game's replay ends with another $f: window $(field "$WINDOW" $f), replay $(field "$REPLAY" $f)"
done
echo "pass"
exit 0
