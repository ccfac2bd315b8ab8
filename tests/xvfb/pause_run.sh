#!/bin/sh
# The game window's own keys, pressed as a player would (xdotool) and seen through screenshots
# of the window (ImageMagick), under a virtual X server with a window manager:
#   - Z (one of the fire keys besides the fixed layouts) starts a game from the title;
#   - while the game runs, two pictures a second apart differ (it moves);
#   - P pauses: two pictures a second apart are identical, and differ from the running game's;
#   - F12 writes the frame as a 640x480 PNG named by date and time into the program's folder,
#     and the window's caption says where;
#   - P again resumes: the pictures move again; Escape ends the program with 0.
# Arguments: the korrindal executable, a folder for the screenshots and logs.
# Exit codes: 0 pass, 1 fail, 77 skipped (no X server or a tool missing).
set -u
BIN=$1
OUT=$2

. "$(dirname "$0")/common.sh"
need matchbox-window-manager xdotool import compare identify

rm -rf "$OUT"
mkdir -p "$OUT/home"
HOME_DIR=$OUT/home
printf '[Options]\nFullScreen=0\nEnableBGM=0\n' >"$HOME_DIR/korrindal.ini"

start_window_manager

"$BIN" --home "$HOME_DIR" --start >"$OUT/run.out" 2>"$OUT/run.err" &
PID=$!
GAME=$(timeout 20 xdotool search --sync --onlyvisible --name '^Korrindal$' 2>/dev/null | head -1)
[ -n "$GAME" ] || fail "the game window did not appear ($(cat "$OUT/run.err"))"
xdotool windowfocus --sync "$GAME"
sleep 2
xdotool keydown z; sleep 0.3; xdotool keyup z   # held, as a player does, for a few ticks
sleep 4   # the stage set-up, the ship flying in

shot() { import -window "$GAME" "$OUT/$1.png"; }
# The number of pixels that differ between two pictures.
differ() { compare -metric AE "$OUT/$1.png" "$OUT/$2.png" null: 2>&1 | cut -d' ' -f1; }

shot running1
sleep 1
shot running2
[ "$(differ running1 running2)" != "0" ] || fail "the running game did not move in a second"

xdotool key p
sleep 0.5
shot paused1
sleep 1
shot paused2
[ "$(differ paused1 paused2)" = "0" ] || fail "the paused game moved ($(differ paused1 paused2) pixels differ)"
[ "$(differ running2 paused1)" != "0" ] || fail "the pause shows nothing"

xdotool key F12
sleep 1
PNG=$(ls "$HOME_DIR"/korrindal_*.png 2>/dev/null | head -1)
[ -n "$PNG" ] || fail "F12 wrote no screenshot into the program's folder ($(cat "$OUT/run.err"))"
case "$(basename "$PNG")" in
    korrindal_[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]_[0-9][0-9]-[0-9][0-9]-[0-9][0-9].png) ;;
    *) fail "the screenshot is not named by date and time: $PNG" ;;
esac
[ "$(identify -format '%m %wx%h' "$PNG")" = "PNG 640x480" ] || fail "the screenshot is not a 640x480 PNG: $(identify "$PNG")"
# The paused frame it holds is the one the window shows (scaled 1:1 here, or larger).
grep -q "screenshot saved: $PNG" "$OUT/run.err" || fail "no line says where the screenshot went: $(cat "$OUT/run.err")"
xdotool getwindowname "$GAME" | grep -q "$PNG" || fail "the caption does not say where: $(xdotool getwindowname "$GAME")"

xdotool key p
sleep 0.5
shot resumed1
sleep 1
shot resumed2
[ "$(differ resumed1 resumed2)" != "0" ] || fail "the game did not resume"

xdotool key Escape
timeout 20 sh -c "while kill -0 $PID 2>/dev/null; do sleep 0.2; done" || fail "the program did not end"
wait "$PID"
rc=$?
PID=
[ "$rc" -eq 0 ] || fail "exit code $rc ($(cat "$OUT/run.err"))"
kill "$WM" 2>/dev/null
echo "pass: screenshot $PNG"
exit 0
