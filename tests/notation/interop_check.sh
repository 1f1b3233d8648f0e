#!/usr/bin/env bash
# Opens the MusicXML that zelvo writes with two notation programs: MuseScore 3
# must make a PDF of it with exit status 0 and, exporting it again as
# MusicXML, keep every note's pitch, start and length (as the MIDI file has
# them); LilyPond's musicxml2ly must read it without error. The files: the
# demo's composition and harmonization (tone types as lyrics), a MIDI file
# with changes of time and key signature and a bar cut short, and lead
# sheets in D minor and E-flat major harmonized from their chord symbols.
#   interop_check.sh ZELVO SOURCE_DIR
# Exit 77 (skipped) when a program is missing: scripts/install-notation-checkers.
set -euo pipefail
source_dir=$2
data=$source_dir/tests/data/notation/interop
notes=$source_dir/scripts/notation-notes.py

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

# expect_key MUSICXML FIFTHS MODE: the first key signature written.
expect_key() {
  local key
  key=$(grep -m2 -E "<fifths>|<mode>" "$1" | sed -E 's/ *<[^>]*>//g' | tr '\n' ' ' || true)
  [ "$key" = "$2 $3 " ] || fail "$1 starts in the key $key, not $2 $3"
}

cp -r "$source_dir/examples/demo" "$work/demo"
"$zelvo" --work "$work/demo" --notation all > "$work/demo.log" || { cat "$work/demo.log"; fail "the demo"; }
grep -q "<lyric" "$work/demo/outar.musicxml" || fail "no tone type under the demo's harmonization"
check "$work/demo/outco.mid" "$work/demo/outco.musicxml"
check "$work/demo/outar.mid" "$work/demo/outar.musicxml"

mkdir "$work/meters"
csvmidi "$data/meters.csv" "$work/meters/meters.mid"
"$zelvo" notate "$work/meters/meters.mid" > /dev/null || fail "zelvo notate meters.mid"
expect_key "$work/meters/meters.musicxml" -3 major
check "$work/meters/meters.mid" "$work/meters/meters.musicxml"

for sheet in minor_lead_sheet:-1:minor flat_lead_sheet:-3:major; do
  IFS=: read -r name fifths mode <<< "$sheet"
  mkdir "$work/$name"
  cp "$data/conar.txt" "$work/$name/"
  cp "$data/$name.xml" "$work/$name/inmus.xml"
  (cd "$work/$name" && "$zelvo" chords inmus.xml && "$zelvo" --notation harmonize) > "$work/$name.log" ||
    { cat "$work/$name.log"; fail "$name"; }
  expect_key "$work/$name/outar.musicxml" "$fifths" "$mode"
  check "$work/$name/outar.mid" "$work/$name/outar.musicxml"
done

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "every file read by both programs with its notes"
