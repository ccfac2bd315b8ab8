#!/bin/sh
# Records the golden replays of tests/e2e again, one autopilot game per stage, and pins what
# their playback gives now: run it when a change to play is meant to change them.
#
#   scripts/repin-golden.sh [BUILD_DIR]     (default: build)
#
# For each stage the strongest autopilot plays from the stage's start point with a fixed
# seed: stages 1 and 2 for as many steps as the stage, its tally and its fade take (the game
# in progress is saved with --save-replay), stage 3 until its ending has come and gone (the
# game's own "LastGame"). The files go to tests/e2e/data/GoldenStage<N>.KRREP; each is then
# played back headless, and the table in tests/e2e/golden_replay_e2e_test.cpp (between its
# "golden table" marks) is rewritten with the steps, score and state hash the playback ends
# with. The new lines are printed too. Review the diff and commit the files with the test.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
BIN=$BUILD/bin/korrindal
DATA=$ROOT/tests/e2e/data
TEST=$ROOT/tests/e2e/golden_replay_e2e_test.cpp
[ -x "$BIN" ] || { echo "no program at $BIN: build first (cmake --build build -j2)" >&2; exit 1; }
grep -q "golden table: begin" "$TEST" || { echo "no table marks in $TEST" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
SEED=11
LINES=$WORK/lines

field() { echo "$1" | sed -n "s/.*\"$2\":\"\{0,1\}\([0-9a-f]*\).*/\1/p"; }

# stage, start point, steps to record (0: until the title is back)
for row in "1 0 7400" "2 2 7300" "3 3 0"; do
    set -- $row
    stage=$1 from=$2 steps=$3
    file=$DATA/GoldenStage$stage.KRREP
    home=$WORK/home$stage
    mkdir -p "$home"
    if [ "$steps" -gt 0 ]; then
        "$BIN" --headless --no-draw --home "$home" --autopilot 3 --autopilot-seed $SEED --start-from "$from" \
            --ticks "$steps" --save-replay "$file"
        play="--ticks $steps"
    else
        "$BIN" --headless --no-draw --home "$home" --autopilot 3 --autopilot-seed $SEED --start-from "$from" \
            --until-title
        cp "$home/LastGame.KRREP" "$file"
        play="--until-title"
    fi
    mkdir -p "$WORK/play$stage"
    summary=$("$BIN" --headless --no-draw --summary --home "$WORK/play$stage" --replay "$file" $play)
    bosses=$(field "$summary" bosses)
    [ "$bosses" -ge 1 ] || { echo "stage $stage: the recorded game destroyed no boss: $summary" >&2; exit 1; }
    echo "    {$stage, \"GoldenStage$stage.KRREP\", $steps, $(field "$summary" score), \"$(field "$summary" state)\"}," >>"$LINES"
    echo "stage $stage: $(wc -c <"$file") bytes; playback: $summary"
done

# The table between the marks, replaced by the new lines.
awk -v lines="$LINES" '
    /golden table: end/ { skipping = 0 }
    !skipping { print }
    /golden table: begin/ { while ((getline l < lines) > 0) print l; skipping = 1 }
' "$TEST" >"$WORK/test.cpp"
cp "$WORK/test.cpp" "$TEST"
echo "pinned in $TEST:"
cat "$LINES"
echo "the game now plays differently: raise GameLogicVersion in src/game/logic_version.h and add its line to kVersionPins in $TEST"
