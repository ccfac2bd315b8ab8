# The fuzz targets and their settings, shared by fuzz-long.sh and fuzz-merge.sh (sourced).
#
# target  max_len  seed pattern in the build's data folder ("-" for none)
# max_len: room for the format's interesting sizes without slowing the runs down: a whole
# colour-mix table is 65,536 bytes; a bank needs a small picture; the rest are small.
fuzz_targets=(
  "map      8192   *.map"
  "replay   8192   *.KRREP"
  "sp4      4096   *.sp4"
  "bmp      8192   *.bmp"
  "add      65540  *.Add"
  "add_engine 65540 *.Add"
  "wave     4096   *.wav"
  "midi     4096   *.mid"
  "ini      1024   -"
  "sp4_bank 16384  -"
)

# fuzz_copy_seeds DEST TARGET SEEDS: copies into DEST what the tests replay for TARGET, its
# checked-in corpus ($corpus/TARGET) and the build's data files matching SEEDS ($data).
fuzz_copy_seeds() {
  local dest=$1 t=$2 seeds=$3 f
  [[ -d $corpus/$t ]] && cp "$corpus/$t"/* "$dest"/ 2>/dev/null
  if [[ $seeds != - ]]; then
    for f in "$data"/$seeds; do [[ -f $f ]] && cp "$f" "$dest"/; done
  fi
  return 0
}
