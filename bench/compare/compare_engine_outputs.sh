#!/bin/sh
# Runs the harmonizer of two source trees on the same work folders and
# compares everything they print and write (console text, exit status,
# outar.mid, outco.*, _brindebug/*) byte for byte:
#   compare_engine_outputs.sh OLD_TREE OLD_BUILD NEW_TREE NEW_BUILD [RANDOM_COUNT]
# The inputs: examples/demo under several settings, the harmonizer's test
# data, the fuzz corpora of the harmonizer and its readers (MIDI files of
# every format among them) replayed as work folders, the prepared fugue
# (through fugue_driver.cpp) and RANDOM_COUNT random four-voice pieces with
# every tone type allowed (random_listing.py).
set -eu
absolute() { (cd "$1" && pwd); }
old_tree=$(absolute "$1") old_build=$(absolute "$2") randoms=${5:-300}
new_tree=$(absolute "$3") new_build=$(absolute "$4")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/engine-compare.XXXXXX)
demo=$new_tree/examples/demo
data=$new_tree/tests/data
corpus=$new_tree/fuzz/corpus
cases=0 differ=0

all_types() {  # conar with every tone type allowed, listings on
  sed -e 's/^NonHarmTonesSortDF.*/NonHarmTonesSortDF = 1, 1, 1, 1, 1, 1, 1, 1/' \
      -e 's/^Debug.*/Debug = 1/' -e 's/^ShowLineInfo.*/ShowLineInfo = 1/' "$@"
}

# run NAME COMMAND SETUP...: SETUP (a shell snippet run in the folder) makes
# the inputs; COMMAND is harmonize or all.
run() {
  name=$1 command=$2 setup=$3
  for side in old new; do
    # Both sides run in the same folder, which some messages name.
    d=$work/case/$name
    mkdir -p "$d" "$work/$side"
    (cd "$d" && eval "$setup")
    build=$old_build; [ $side = new ] && build=$new_build
    (cd "$d" && "$build/zelvo" --work . "$command" > console.txt 2>&1; echo "exit $?" >> console.txt) || true
    mv "$d" "$work/$side/$name"
  done
  cases=$((cases + 1))
  if ! diff -r "$work/old/$name" "$work/new/$name" > /dev/null; then
    differ=$((differ + 1))
    echo "DIFFERS: $name"
  fi
}

for v in plain debug; do
  conf="cp $demo/conar.txt conar.txt"
  [ $v = debug ] && conf="all_types $demo/conar.txt > conar.txt"
  run demo-all-$v all "cp $demo/incom.htm $demo/insec.xml $demo/inarm.xml $demo/inmus.xml .; $conf"
  run demo-xml-$v harmonize "cp $demo/inarm.xml $demo/inmus.xml .; $conf; sed -i 's/^MusicSource.*/MusicSource = 0/' conar.txt"
  run demo-rur-$v harmonize "cp $demo/inarm.xml .; cp $data/harmonizer/composer_outco.rur outco.rur; $conf"
  run demo-mid-$v harmonize "cp $demo/inarm.xml .; cp $data/harmonizer/composer_outco.mid outco.mid; $conf; sed -i 's/^MusicSource.*/MusicSource = 3/' conar.txt"
  for x in musescore_piece musescore_voices; do
    run $x-$v harmonize "cp $demo/inarm.xml .; cp $data/harmonizer/$x.xml inmus.xml; $conf; sed -i -e 's/^MusicSource.*/MusicSource = 0/' -e 's/^LastMusicIns.*/LastMusicIns = 4/' -e 's/^FirstHarmIns.*/FirstHarmIns = 4/' conar.txt"
  done
done

# Negative weights: costs below zero, which the pool keeps by scans and
# exchanges.
for w in "10, -100, 20, -10, 5, 50, -50" "-1, -1, -1, -1, -1, -1, -1"; do
  run "demo-weights-$(echo "$w" | tr -d ' ,')" harmonize "cp $demo/inarm.xml .; cp $data/harmonizer/composer_outco.rur outco.rur; all_types $demo/conar.txt | sed 's/^NonHarmTonesCoefDF.*/NonHarmTonesCoefDF = $w/' > conar.txt"
done

for f in "$corpus"/harmonizer_fuzz/* "$corpus"/listing_fuzz/*; do
  b=$(basename "$f") k=$(basename "$(dirname "$f")")
  run $k-$b harmonize "cp $demo/inarm.xml .; cp $f outco.rur; all_types $demo/conar.txt > conar.txt"
done
for f in "$corpus"/midi_fuzz/* "$corpus"/midi_merge_fuzz/* "$corpus"/midi_codec_fuzz/* "$corpus"/notate_fuzz/* \
         $(find "$data" "$new_tree/examples" -type f -name '*.mid'); do
  # Test data repeats names: the case counter keeps the folders apart.
  b=$(basename "$f") k=$(basename "$(dirname "$f")")
  run $k-$cases-$b harmonize "cp $demo/inarm.xml .; cp $f outco.mid; all_types $demo/conar.txt > conar.txt; sed -i 's/^MusicSource.*/MusicSource = 3/' conar.txt"
done
for f in "$corpus"/musicxml_fuzz/*; do
  b=$(basename "$f")
  run musicxml-$b harmonize "cp $f inmus.xml; cp $f inarm.xml; printf 'MusicSource = 0\nNonHarmTonesSortDF = 1, 1, 1, 1, 1, 1, 1, 1\nNonHarmTonesCoefDF = 10, 100, 20, 10, 5, 50, 50\nDebug = 1\n' > conar.txt"
done

seed=1
while [ $seed -le "$randoms" ]; do
  run random-$seed harmonize "cp $demo/inarm.xml .; python3 $here/random_listing.py . $seed"
  seed=$((seed + 1))
done

# The fugue, through a small driver built against each tree.
for side in old new; do
  tree=$old_tree build=$old_build
  [ $side = new ] && tree=$new_tree build=$new_build
  g++ -std=c++20 -O2 -I"$tree/src" "$here/fugue_driver.cpp" -o "$work/fugue_$side" \
    "$build/libzelvo_harmonizer.a" "$build/libzelvo_engine.a" "$build/libzelvo_midi.a" \
    "$build/libzelvo_files.a" "$build/libzelvo_console.a" $(ls "$build/libzelvo_base.a" 2> /dev/null) -lpthread
done
for v in 0 1 2 3 4; do
  for side in old new; do
    mkdir -p "$work/$side/fugue-$v"
    (cd "$work/$side/fugue-$v" && "$work/fugue_$side" "$new_tree/bench/fugue/fugue_prepared.txt" $v > result.txt)
  done
  cases=$((cases + 1))
  diff -r "$work/old/fugue-$v" "$work/new/fugue-$v" > /dev/null || { differ=$((differ + 1)); echo "DIFFERS: fugue-$v"; }
done

echo "$cases cases compared, $differ differ ($work)"
[ $differ -eq 0 ]
