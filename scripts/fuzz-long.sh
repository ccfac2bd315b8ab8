#!/usr/bin/env bash
# Long fuzzing runs of every reader, one fuzzer process at a time (the machine is shared).
#
#   scripts/fuzz-long.sh [target ...]        default: every target, in the order below
#
# Needs the fuzz build (cmake --preset fuzz && cmake --build build-fuzz -j2) and the data
# files of a normal build as seeds (build/bin; DATA to take them elsewhere). For each
# target: a working corpus under $WORK (its corpus folder plus those data files), then RUNS
# executions. Each target's log goes to $RESULTS/<target>.log, anything a fuzzer finds
# to $RESULTS/<target>-crash-* (and the like), and one line per target to
# $RESULTS/summary.txt: executions, exec/s, coverage, and whether it failed.
#
# Environment: RUNS (default 10000000), DATA (default build/bin), RESULTS (default
# build-fuzz/fuzz-long), WORK (default /tmp/korrindal-fuzz-long), WORKERS (default 1):
# with more, that many fuzzer processes share the target's corpus, each running
# RUNS / WORKERS executions (their logs are <target>.log.<n>), and the summary line adds
# up their executions and speeds.
set -u

top=$(cd "$(dirname "$0")/.." && pwd)
bin="$top/build-fuzz/bin"
corpus="$top/tests/fuzz/corpus"
data=${DATA:-$top/build/bin}
runs=${RUNS:-10000000}
results=${RESULTS:-$top/build-fuzz/fuzz-long}
work=${WORK:-/tmp/korrindal-fuzz-long}
workers=${WORKERS:-1}

. "$top/scripts/fuzz-targets.sh"

mkdir -p "$results" "$work"
summary="$results/summary.txt"
{
  echo "# $(date -u '+%Y-%m-%d %H:%M:%S UTC')  runs=$runs  workers=$workers  commit $(git -C "$top" rev-parse --short HEAD 2>/dev/null)"
  printf '%-11s %12s %9s %8s %8s  %s\n' target execs exec/s cov seconds result
} >>"$summary"

wanted=("$@")
for line in "${fuzz_targets[@]}"; do
  read -r t max_len seeds <<<"$line"
  if ((${#wanted[@]})) && [[ " ${wanted[*]} " != *" $t "* ]]; then continue; fi
  fuzzer="$bin/fuzz_${t}_libfuzzer"
  log="$results/$t.log"
  if [[ ! -x $fuzzer ]]; then
    printf '%-11s %12s %9s %8s %8s  %s\n' "$t" - - - - "missing $fuzzer" >>"$summary"
    continue
  fi
  dir="$work/$t"
  rm -rf "$dir"
  mkdir -p "$dir"
  fuzz_copy_seeds "$dir" "$t" "$seeds"
  start=$(date +%s)
  flags=(-max_len="$max_len" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$results/$t-")
  if ((workers > 1)); then
    # libFuzzer starts the workers and writes each one's output to fuzz-<n>.log where it runs.
    rm -f "$results"/fuzz-*.log "$log".*
    (cd "$results" && "$fuzzer" -jobs="$workers" -workers="$workers" -runs=$((runs / workers)) "${flags[@]}" "$dir") >"$log" 2>&1
    rc=$?
    for ((n = 0; n < workers; ++n)); do mv "$results/fuzz-$n.log" "$log.$n" 2>/dev/null; done
    logs=("$log".*)
  else
    "$fuzzer" -runs="$runs" "${flags[@]}" "$dir" >"$log" 2>&1
    rc=$?
    logs=("$log")
  fi
  seconds=$(( $(date +%s) - start ))
  # Each log's last status line ("#N DONE cov: ... exec/s: ..." or the last pulse before a
  # crash): executions and speeds added up over the workers, the best coverage.
  execs=0 speed=0 cov=0
  for l in "${logs[@]}"; do
    stats=$(grep -E '^#[0-9]+' "$l" | tail -n 1)
    e=$(sed -nE 's/^#([0-9]+).*/\1/p' <<<"$stats")
    v=$(sed -nE 's/.*exec\/s: ([0-9]+).*/\1/p' <<<"$stats")
    c=$(sed -nE 's/.*cov: ([0-9]+).*/\1/p' <<<"$stats")
    execs=$((execs + ${e:-0})) speed=$((speed + ${v:-0}))
    ((${c:-0} > cov)) && cov=$c
  done
  if ((rc == 0)); then result=ok; else result="FAILED (exit $rc; see $log)"; fi
  printf '%-11s %12s %9s %8s %8s  %s\n' "$t" "${execs:--}" "${speed:--}" "${cov:--}" "$seconds" "$result" >>"$summary"
done
