#!/bin/sh
# A game played in the real game window, with the keyboard as a player would (xdotool), and
# its replay played back headless must end in the same game: same score, same state hash.
#
#   1. The program starts from a fresh home folder with --start --summary at the third stage
#      (a short game: the ship is shot down in about 20 s, and the clock there has two
#      minutes left whatever happens). Both keyboard layouts
#      steer it in turn: layout A (keypad 8/2/4/6, Backspace fires) and layout B (T/V/F/H,
#      1 fires). Fire is pressed only early on; then the ship moves without firing until it
#      has been shot down three times (or the clock runs out), and the title comes back,
#      which saves "LastGame".
#   2. Escape closes the window; the program prints its summary line and ends with 0.
#   3. "LastGame" played headless (--replay ... --summary) ends with the same score and the
#      same state hash, with music and effects as in the window and with neither.
# Keys xdotool drops on a loaded machine do not matter: whatever reached the game is in its
# replay. The script only checks that some keys did reach it.
#
# Arguments: the korrindal executable, a folder for the logs.
# Exit codes: 0 pass, 1 fail, 77 skipped (no X server or a tool missing).
set -u
BIN=$1
OUT=$2

. "$(dirname "$0")/common.sh"
need matchbox-window-manager xdotool od awk

rm -rf "$OUT"
mkdir -p "$OUT/home" "$OUT/replay_home"
HOME_DIR=$OUT/home
LAST=$HOME_DIR/LastGame.KRREP
printf '[Options]\nFullScreen=0\n' >"$HOME_DIR/korrindal.ini"
STARTED=$(date +%s)
# The game ends within about 125 s of play whatever happens (the clock); the rest is room
# for a machine that is slow to start or to draw.
DEADLINE=$((STARTED + 200))

HELD=""
release() {
    [ -n "$HELD" ] && xdotool keyup $HELD 2>/dev/null
    HELD=""
}
before_fail() { release; }

start_window_manager

"$BIN" --home "$HOME_DIR" --start --start-from 3 --summary >"$OUT/window.out" 2>"$OUT/window.err" &
PID=$!
GAME=$(timeout 30 xdotool search --sync --onlyvisible --name '^Korrindal$' 2>/dev/null | head -1)
[ -n "$GAME" ] || fail "the game window did not appear ($(cat "$OUT/window.err"))"
xdotool windowfocus --sync "$GAME" 2>/dev/null
sleep 1

# Holds the keys for the given seconds, unless the game is over (its replay saved) or the
# program has gone. False once there is nothing more to play.
hold() {
    keys=$1
    seconds=$2
    [ -e "$LAST" ] && return 1
    kill -0 "$PID" 2>/dev/null || fail "the program ended during the game ($(cat "$OUT/window.err"))"
    [ "$(date +%s)" -lt "$DEADLINE" ] || fail "the game was not over within $((DEADLINE - STARTED)) s"
    # Focus is kept on the game window: without it the game pauses.
    xdotool windowfocus "$GAME" 2>/dev/null
    HELD=$keys
    xdotool keydown $keys 2>/dev/null
    sleep "$seconds"
    release
    return 0
}

# Early on, while the first ship surely lives, each layout moves and fires. The last fire
# key is let go long before the game can be over: a fire press at the title would start
# another game.
hold "KP_8 BackSpace" 0.8 && hold "KP_4 BackSpace" 0.6 && hold "KP_6 BackSpace" 0.6 && hold "KP_2" 0.3 &&
    hold "t 1" 0.8 && hold "f 1" 0.6 && hold "h 1" 0.6 && hold "v" 0.3
# Then no fire: the layouts take turns steering the ship about until it is shot down for good.
while hold "KP_8 KP_4" 0.7 && hold "h" 0.9 && hold "KP_6" 0.6 && hold "t f" 0.8 && hold "KP_2 KP_6" 0.4 &&
    hold "v h" 0.4; do :; done
PLAYED=$(($(date +%s) - STARTED))

# The title is back and the replay saved; a moment for the title's frames, then Escape.
sleep 1
close_with_escape 30
WINDOW=$(grep '^{' "$OUT/window.out" | tail -1)
[ -n "$WINDOW" ] || fail "the game window printed no summary line: $(cat "$OUT/window.out")"

field() { echo "$1" | sed -n "s/.*\"$2\":\"\{0,1\}\([0-9a-f]*\).*/\1/p"; }
[ "$(field "$WINDOW" scene)" = "2" ] || fail "the window did not end at the title (a key started another game?): $WINDOW"

# What reached the game: ticks with a direction, ticks with fire (bytes 13 on, the length
# in bytes 9..12).
LEN=$(od -An -tu4 -j8 -N4 "$LAST" | tr -d ' ')
COUNTS=$(od -An -tu1 -v -j12 -N"$LEN" "$LAST" |
    awk '{ for (i = 1; i <= NF; ++i) { if ($i % 16) ++moved; if (int($i / 16) % 2) ++fired } }
         END { printf "%d %d", moved, fired }')
MOVED=${COUNTS% *}
FIRED=${COUNTS#* }
[ "$MOVED" -gt 0 ] || fail "no key reached the game (a replay of $LEN ticks without a direction)"

"$BIN" --headless --home "$OUT/replay_home" --replay "$LAST" --until-title --no-draw --summary \
    >"$OUT/replay.out" 2>"$OUT/replay.err" || fail "the headless replay failed: $(cat "$OUT/replay.err")"
REPLAY=$(grep '^{' "$OUT/replay.out" | tail -1)
echo "window: $WINDOW"
echo "replay: $REPLAY"
for f in score state; do
    [ "$(field "$WINDOW" $f)" = "$(field "$REPLAY" $f)" ] ||
        fail "the replay of the game window's game ends with another $f: window $(field "$WINDOW" $f), replay $(field "$REPLAY" $f)"
done
[ -n "$(field "$WINDOW" state)" ] || fail "no state hash in the summary: $WINDOW"
# The game window played with music and effects on; the same game without them is the same
# game.
"$BIN" --headless --home "$OUT/replay_home" --replay "$LAST" --until-title --no-draw --no-music --no-sound-effects \
    --summary >"$OUT/silent.out" 2>"$OUT/silent.err" || fail "the silent headless replay failed: $(cat "$OUT/silent.err")"
SILENT=$(grep '^{' "$OUT/silent.out" | tail -1)
[ "$(field "$SILENT" state)" = "$(field "$WINDOW" state)" ] ||
    fail "without music and effects the replay ends in another state: $SILENT"
echo "pass: $LEN ticks ($MOVED with a direction, $FIRED with fire), played in ${PLAYED} s"
exit 0
