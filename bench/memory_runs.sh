#!/bin/sh
# Peak resident memory (kB, GNU time's %M) of each end-to-end run of the
# zelvo command: compose, harmonize and all on examples/demo, and harmonize
# on a big made-up piece (four voices over 190 bars, 1,922 notes written by
# random_listing.py, seed 7, every tone type allowed).
#   bench/memory_runs.sh [BUILD]      (default: build)
set -eu
tree=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$tree/build}
work=$(mktemp -d /tmp/zelvo-memory-runs.XXXXXX)
peak() {  # peak FOLDER COMMAND
  /usr/bin/time -f %M -o "$work/time.txt" "$build/zelvo" --work "$1" "$2" > /dev/null 2>&1 || true
  printf '%-10s %-10s %8s kB\n' "$(basename "$1")" "$2" "$(cat "$work/time.txt")"
}
for job in compose harmonize all; do
  rm -rf "$work/demo"
  cp -r "$tree/examples/demo" "$work/demo"
  [ $job = harmonize ] && "$build/zelvo" --work "$work/demo" compose > /dev/null
  peak "$work/demo" $job
done
mkdir "$work/big"
cp "$tree/examples/demo/inarm.xml" "$work/big"
python3 "$tree/bench/compare/random_listing.py" "$work/big" 7 190
printf '%s\n' 'FirstMusicIns = 1' 'LastMusicIns = 4' 'MusicSource = 1' 'FirstHarmIns = 4' \
  'HarmInsNum = 2' 'MelIns = 1' 'BassIns = 2' 'LinkLimit = 2' \
  'NonHarmTonesSortDF = 1, 1, 1, 1, 1, 1, 1, 1' \
  'NonHarmTonesCoefDF = 10, 100, 20, 10, 5, 50, 50' > "$work/big/conar.txt"
peak "$work/big" harmonize
[ -f "$work/big/outar.mid" ] || echo "the big piece was not harmonized"
echo "notes in the big piece: $(grep -c '^[0-9]' "$work/big/outco.rur")"
rm -rf "$work"
