#!/usr/bin/env bash
# Opens the MusicXML that zelvo writes with two notation programs: MuseScore 3
# must make a PDF of it with exit status 0 and, exporting it again as
# MusicXML, keep every note's pitch and onset within a sixteenth (on the
# grid it is written on) or, written with --grid exact, every note's pitch,
# start and length as the MIDI file has them; LilyPond's musicxml2ly must
# read it without error. The written file itself holds no value shorter
# than a sixteenth and no two lyrics at one place. The files: the results of
# the demo and of every example (tone types as lyrics), a MIDI file with
# changes of time and key signature and a bar cut short, a drum pattern,
# lead sheets in D minor and E-flat major harmonized from their chord
# symbols, and MuseScore's own demo scores played into MIDI files.
#   interop_check.sh ZELVO SOURCE_DIR
# Exit 77 (skipped) when a program is missing: scripts/install-notation-checkers.
set -euo pipefail
source_dir=$2
data=$source_dir/tests/data/notation/interop
notes=$source_dir/scripts/notation-notes.py
readable=$source_dir/tests/notation/readable_check.py

for program in mscore3 musicxml2ly csvmidi midicsv python3; do
  if ! command -v "$program" > /dev/null; then
    echo "$program is not installed (scripts/install-notation-checkers installs the checkers)"
    exit 77
  fi
done
zelvo=$(realpath "$1")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# MuseScore keeps its settings and caches under the home folder.
export HOME=$work/home QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/home
mkdir -p "$HOME"
chmod 700 "$HOME"
failures=0

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# check MIDI MUSICXML: both programs on MUSICXML, its notes against MIDI's.
check() {
  local midi=$1 xml=$2 base=${2%.musicxml}
  echo "== $xml"
  if ! mscore3 -o "$base.pdf" "$xml" > "$base.mscore.log" 2>&1 || [ ! -s "$base.pdf" ]; then
    fail "mscore3 made no PDF of $xml"; cat "$base.mscore.log"
  fi
  if ! mscore3 -o "$base.back.xml" "$xml" > "$base.mscore.log" 2>&1; then
    fail "mscore3 did not export $xml again"; cat "$base.mscore.log"
  fi
  "$notes" "$midi" > "$base.midi.notes"
  "$notes" "$xml" > "$base.written.notes"
  if ! diff "$base.midi.notes" "$base.written.notes"; then fail "$xml does not hold the notes of $midi"; fi
  "$notes" "$base.back.xml" > "$base.back.notes"
  if ! diff "$base.midi.notes" "$base.back.notes"; then fail "MuseScore read other notes from $xml"; fi
  if ! musicxml2ly -o "$base.ly" "$xml" > "$base.ly.log" 2>&1 || grep -qi "error" "$base.ly.log"; then
    fail "musicxml2ly did not read $xml"; cat "$base.ly.log"
  fi
}

# check_readable MIDI MUSICXML: the same for notes written on a grid.
check_readable() {
  local midi=$1 xml=$2 base=${2%.musicxml}
  echo "== $xml"
  "$readable" "$midi" "$xml" --layout || fail "$xml is not the readable notation of $midi"
  if ! mscore3 -o "$base.back.xml" "$xml" > "$base.mscore.log" 2>&1; then
    fail "mscore3 did not convert $xml"; cat "$base.mscore.log"
  fi
  "$readable" "$midi" "$base.back.xml" || fail "MuseScore read other notes from $xml"
  if ! musicxml2ly -o "$base.ly" "$xml" > "$base.ly.log" 2>&1 || grep -qi "error" "$base.ly.log"; then
    fail "musicxml2ly did not read $xml"; cat "$base.ly.log"
  fi
}

# expect_key MUSICXML FIFTHS MODE: the first key signature written.
expect_key() {
  local key
  key=$(grep -m2 -E "<fifths>|<mode>" "$1" | sed -E 's/ *<[^>]*>//g' | tr '\n' ' ' || true)
  [ "$key" = "$2 $3 " ] || fail "$1 starts in the key $key, not $2 $3"
}

for example in "$source_dir"/examples/*/; do
  name=$(basename "$example")
  [ -f "$example/incom.htm" ] || continue
  cp -r "$example" "$work/$name"
  "$zelvo" --work "$work/$name" --notation all > "$work/$name.log" || { cat "$work/$name.log"; fail "$name"; }
  for result in outco outar; do
    [ -f "$work/$name/$result.mid" ] && check_readable "$work/$name/$result.mid" "$work/$name/$result.musicxml"
  done
done
grep -q "<lyric" "$work/demo/outar.musicxml" || fail "no tone type under the demo's harmonization"
for result in outco outar; do
  "$zelvo" notate "$work/demo/$result.mid" -o "$work/demo/$result.exact.musicxml" --grid exact > /dev/null ||
    fail "zelvo notate --grid exact $result.mid"
  check "$work/demo/$result.mid" "$work/demo/$result.exact.musicxml"
done

mkdir "$work/meters"
csvmidi "$data/meters.csv" "$work/meters/meters.mid"
"$zelvo" notate "$work/meters/meters.mid" > /dev/null || fail "zelvo notate meters.mid"
expect_key "$work/meters/meters.musicxml" -3 major
check_readable "$work/meters/meters.mid" "$work/meters/meters.musicxml"
"$zelvo" notate "$work/meters/meters.mid" -o "$work/meters/exact.musicxml" --grid exact > /dev/null ||
  fail "zelvo notate --grid exact meters.mid"
check "$work/meters/meters.mid" "$work/meters/exact.musicxml"

mkdir "$work/drums"
csvmidi "$data/drums.csv" "$work/drums/drums.mid"
"$zelvo" notate "$work/drums/drums.mid" > /dev/null || fail "zelvo notate drums.mid"
grep -q "<unpitched>" "$work/drums/drums.musicxml" || fail "the drums are not on a percussion staff"
check_readable "$work/drums/drums.mid" "$work/drums/drums.musicxml"

# MuseScore's demo scores (where its package has them), played into MIDI.
for score in /usr/share/mscore3*/demos/{Reunion.mscz,Fugue_1.mscx,Brassed_Up.mscx,Dynamic_Strings.mscx}; do
  [ -f "$score" ] || continue
  name=$(basename "${score%.*}")
  mkdir "$work/$name"
  mscore3 -o "$work/$name/$name.mid" "$score" > /dev/null 2>&1 || { fail "mscore3 did not play $score"; continue; }
  "$zelvo" notate "$work/$name/$name.mid" > /dev/null || fail "zelvo notate $name.mid"
  check_readable "$work/$name/$name.mid" "$work/$name/$name.musicxml"
done

for sheet in minor_lead_sheet:-1:minor flat_lead_sheet:-3:major; do
  IFS=: read -r name fifths mode <<< "$sheet"
  mkdir "$work/$name"
  cp "$data/conar.txt" "$work/$name/"
  cp "$data/$name.xml" "$work/$name/inmus.xml"
  (cd "$work/$name" && "$zelvo" chords inmus.xml && "$zelvo" --notation harmonize) > "$work/$name.log" ||
    { cat "$work/$name.log"; fail "$name"; }
  expect_key "$work/$name/outar.musicxml" "$fifths" "$mode"
  check_readable "$work/$name/outar.mid" "$work/$name/outar.musicxml"
done

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "every file read by both programs with its notes"
