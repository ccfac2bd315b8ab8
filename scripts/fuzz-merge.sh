#!/usr/bin/env bash
# Folds what long fuzzing runs found into the checked-in corpora, so that every test run
# replays the inputs that reached code the seeds do not.
#
#   scripts/fuzz-merge.sh WORK [target ...]     default: every target with a folder in WORK
#
# WORK is a fuzz-long.sh working folder (WORK/<target>/ holds the corpus a run grew). For
# each target, libFuzzer's merge starts from what the tests already replay (the target's
# folder in tests/fuzz/corpus and, for targets seeded from the build's data, those files)
# and keeps only the run's inputs that add coverage to it; they are copied into
# tests/fuzz/corpus/<target>/ named found-<sha1 of the input>, and one line per target
# says how many and how many bytes. Nothing already checked in is changed or removed.
#
# Needs the fuzz build (cmake --preset fuzz && cmake --build build-fuzz -j2) and the data
# files of a normal build (build/bin; DATA to take them elsewhere).
set -u

top=$(cd "$(dirname "$0")/.." && pwd)
bin="$top/build-fuzz/bin"
corpus="$top/tests/fuzz/corpus"
data=${DATA:-$top/build/bin}

if (($# < 1)) || [[ ! -d $1 ]]; then
  echo "usage: $0 WORK [target ...]   (WORK: a fuzz-long.sh working folder)" >&2
  exit 2
fi
work=$1
shift
. "$top/scripts/fuzz-targets.sh"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
wanted=("$@")
for line in "${fuzz_targets[@]}"; do
  read -r t max_len seeds <<<"$line"
  if ((${#wanted[@]})) && [[ " ${wanted[*]} " != *" $t "* ]]; then continue; fi
  [[ -d $work/$t ]] || continue
  fuzzer="$bin/fuzz_${t}_libfuzzer"
  if [[ ! -x $fuzzer ]]; then
    echo "$t: missing $fuzzer" >&2
    status=1
    continue
  fi
  out="$scratch/$t"
  mkdir -p "$out" "$corpus/$t"
  fuzz_copy_seeds "$out" "$t" "$seeds"
  ls "$out" >"$scratch/$t.before"
  if ! "$fuzzer" -merge=1 -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
      "$out" "$work/$t" >"$scratch/$t.log" 2>&1; then
    echo "$t: the merge failed; its output:" >&2
    tail -n 20 "$scratch/$t.log" >&2
    status=1
    continue
  fi
  count=0 bytes=0
  while read -r name; do
    # The merge names what it adds by the SHA-1 of its contents; one already checked in can
    # come back when a run's coverage differs slightly from the last.
    [[ -e $corpus/$t/found-$name ]] && continue
    cp "$out/$name" "$corpus/$t/found-$name"
    count=$((count + 1)) bytes=$((bytes + $(stat -c %s "$out/$name")))
  done < <(ls "$out" | grep -vxF -f "$scratch/$t.before")
  printf '%-11s %5d inputs added, %8d bytes\n' "$t" "$count" "$bytes"
done
exit $status
