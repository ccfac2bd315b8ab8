# Sourced by the install and package tests: an installed game played as an ordinary user.
#   play_installed PROGRAM TREE OUT
# makes TREE (the install: a prefix, or an unpacked package's root) read-only; the program
# PROGRAM in it, run as an ordinary user (root writes anywhere, so a root run drops to nobody)
# with a home and XDG folders under OUT/user, plays a whole game headless: its replay and
# colour-mix cache must land in $XDG_DATA_HOME/korrindal, its settings in
# $XDG_CONFIG_HOME/korrindal, and nothing in TREE; then the program plays that replay back
# to the same score. Sets SCORE and REPLAY; calls fail (below) on a fault and exits
# 77 when the run cannot be made as an ordinary user.
play_installed() {
    PROGRAM=$1
    TREE=$2
    OUT=$3
    USERDIR=$OUT/user
    mkdir -p "$USERDIR/home"
    RUN=""
    if [ "$(id -u)" -eq 0 ]; then
        command -v setpriv >/dev/null 2>&1 || { echo "skipped: running as root without setpriv"; exit 77; }
        chown -R 65534:65534 "$USERDIR"
        chmod 755 "$OUT"
        # Every folder up to the tree must be passable for that user.
        d=$OUT
        while [ "$d" != "/" ]; do chmod o+x "$d" 2>/dev/null; d=$(dirname "$d"); done
        RUN="setpriv --reuid=65534 --regid=65534 --clear-groups"
    fi
    chmod -R a-w "$TREE"
    touch "$OUT/before"
    sleep 1
    play() {
        (cd / && env HOME="$USERDIR/home" XDG_DATA_HOME="$USERDIR/data" XDG_CONFIG_HOME="$USERDIR/config" \
            $RUN "$PROGRAM" "$@")
    }
    play --headless --settings --summary --autopilot 1 --start-from 3 --until-title --no-draw >"$OUT/game.out" 2>"$OUT/game.err" ||
        fail "the installed game failed: $(cat "$OUT/game.err")"
    SCORE=$(sed -n 's/.*"score":\([0-9]*\).*/\1/p' "$OUT/game.out")
    [ -n "$SCORE" ] && [ "$SCORE" -gt 0 ] || fail "the game scored nothing: $(cat "$OUT/game.out")"
    REPLAY=$USERDIR/data/korrindal/LastGame.KRREP
    [ -f "$REPLAY" ] || fail "no replay in the XDG data folder: $(ls -R "$USERDIR"; cat "$OUT/game.err")"
    ls "$USERDIR/data/korrindal" | grep -q '\.Add$' || fail "no colour-mix cache in the XDG data folder"
    INI=$USERDIR/config/korrindal/korrindal.ini
    [ -f "$INI" ] || fail "no settings file in the XDG config folder"
    grep -qx "Highscore=$SCORE" "$INI" || fail "the best score $SCORE is not in the settings: $(cat "$INI")"
    grep -q '^\[Keys\]' "$INI" || fail "the settings file lists no keys: $(cat "$INI")"
    NEW=$(find "$TREE" -newer "$OUT/before" 2>/dev/null)
    [ -z "$NEW" ] || fail "the game wrote into the install: $NEW"

    # The replay plays back from the user's folder to the same score.
    play --headless --summary --replay "$REPLAY" --until-title --no-draw >"$OUT/replay.out" 2>"$OUT/replay.err" ||
        fail "the replay did not play: $(cat "$OUT/replay.err")"
    grep -q "\"score\":$SCORE," "$OUT/replay.out" || fail "the replay scored otherwise: $(cat "$OUT/replay.out") (game: $SCORE)"
}

# The start both runs share: the tools they need (a missing one skips the run with 77), a
# fail that leaves the output folder removable, and that folder made afresh.
need_tools() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
    done
}

fail() {
    echo "FAIL: $*"
    [ -d "$OUT" ] && chmod -R u+w "$OUT" 2>/dev/null
    exit 1
}

fresh_out() {
    [ -d "$OUT" ] && chmod -R u+w "$OUT" 2>/dev/null
    rm -rf "$OUT"
    mkdir -p "$OUT"
}
