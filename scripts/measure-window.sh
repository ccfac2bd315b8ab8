#!/bin/sh
# The game window measured: a replay played for 60 s at a paced 60 and 144 Hz, with smooth
# motion on and off, then keys sent by xdotool during a game (input to present), each run's
# frame log summed up by frame-report.py, with its summary line (state hash) beside it and
# how often the machine itself held a sleeping process up meanwhile (host-stalls.py).
#
#   LP_NUM_THREADS=0 xvfb-run -a -s "-screen 0 640x480x24" scripts/measure-window.sh BIN REPLAY OUT
#
# HZS (default "60 144"), SMS ("on off"), SECS (62) and LAT (1: the latency runs; 0: none)
# narrow it down. On a machine without a GPU the window is drawn by llvmpipe: its thread pool
# competes with the game's threads on a small machine (LP_NUM_THREADS=0 keeps it on the
# presenting thread), and a screen as big as the window saves it from scaling each frame.
set -u
BIN=$1
REP=$2
M=$3
mkdir -p "$M"
SCRIPTS=$(dirname "$0")
export KORRINDAL_NO_MESSAGE_BOXES=1 SDL_AUDIODRIVER=dummy
matchbox-window-manager -use_titlebar no & WM=$!
sleep 0.5
for hz in ${HZS:-60 144}; do
  for sm in ${SMS:-on off}; do
    name=replay_${hz}_${sm}
    rm -rf $M/$name; mkdir -p $M/$name/home
    printf '[Options]\nFullScreen=0\n' > $M/$name/home/korrindal.ini
    KORRINDAL_PACE_HZ=$hz $BIN --home $M/$name/home --replay $REP --start --smooth-motion $sm \
      --frame-log $M/$name/frames.jsonl --summary > $M/$name/out 2> $M/$name/err &
    PID=$!
    python3 $SCRIPTS/host-stalls.py ${SECS:-62} > $M/$name/host.json & HOST=$!
    G=$(timeout 30 xdotool search --sync --onlyvisible --name '^Korrindal$' | head -1)
    xdotool windowfocus --sync $G
    sleep ${SECS:-62}
    xdotool windowfocus --sync $G; xdotool key Escape
    wait $PID $HOST
    echo "$name: $(python3 $SCRIPTS/frame-report.py $M/$name/frames.jsonl)"
    echo "$name summary: $(grep '^{' $M/$name/out | tail -1)"
    echo "$name machine: $(cat $M/$name/host.json)"
  done
done
if [ "${LAT:-1}" = 1 ]; then
for sm in on off; do
  name=latency_$sm
  rm -rf $M/$name; mkdir -p $M/$name/home
  printf '[Options]\nFullScreen=0\n' > $M/$name/home/korrindal.ini
  KORRINDAL_PACE_HZ=60 $BIN --home $M/$name/home --start --start-from 3 --smooth-motion $sm \
    --frame-log $M/$name/frames.jsonl --summary > $M/$name/out 2> $M/$name/err &
  PID=$!
  G=$(timeout 30 xdotool search --sync --onlyvisible --name '^Korrindal$' | head -1)
  xdotool windowfocus --sync $G
  sleep 1
  for i in $(seq 1 40); do
    xdotool key --delay 40 Left Right
    sleep 0.$(( (i * 37) % 9 + 1 ))
  done
  xdotool windowfocus --sync $G; xdotool key Escape
  wait $PID
  echo "$name: $(python3 $SCRIPTS/frame-report.py $M/$name/frames.jsonl)"
done
fi
kill $WM
