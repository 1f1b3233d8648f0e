// Any MIDI file as `zelvo notate` writes it: merged into one track with
// every time and key signature, read as notes, laid out in measures, spelled
// and written as MusicXML, exact and on a grid; its tempos and track names
// read from the file as it is. The file is parsed once for both, and that
// must give what the merge's own reading and the labels' own reading give.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "notation/measure_layout.h"
#include "intake/midi_merge.h"
#include "notation/midi_notation.h"
#include "notation/notation_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo::notation;
  using namespace zelvo::intake;
  if (size > 4096) return 0;  // enough for every kind of event; keeps the MusicXML small
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  MidiNotes midi;
  const MidiMerge answer = read_midi_with_labels(bytes, midi);
  zelvo::midi::Song merged;
  if (merge_any_midi(bytes, merged) != answer) __builtin_trap();
  if (answer != MidiMerge::kMerged) return 0;
  MidiNotes apart = read_midi_notes(merged);
  // The merged track reads as the file written of it does.
  std::string format0;
  if (merge_any_midi(bytes, format0) != MidiMerge::kMerged || !(read_midi_notes(format0) == apart)) __builtin_trap();
  read_midi_labels(bytes, apart);
  if (!(apart == midi)) __builtin_trap();
  add_key_from_notes(midi);
  int64_t end = 0;
  for (const SoundingNote& note : midi.notes) {
    if (note.length < 0 || note.channel > 15) __builtin_trap();
    end = std::max(end, note.start + note.length);
  }
  std::vector<Measure> measures;
  const bool laid_out = lay_out_measures(midi, end, measures);
  int64_t at = 0;
  for (const Measure& measure : measures) {
    if (measure.start != at || measure.length <= 0 || measure.key.fifths < -7 || measure.key.fifths > 7) {
      __builtin_trap();
    }
    at += measure.length;
  }
  if (laid_out && at < end) __builtin_trap();
  // Only short pieces are written whole: a long one (many bars, many
  // voices of rests, bars of hundreds of beats) costs time, not coverage.
  bool short_bars = true;
  for (const TimeSignature& meter : midi.meters) short_bars = short_bars && meter.beats <= 8 * meter.beat_type;
  if (laid_out && short_bars && measures.size() <= 32 && midi.notes.size() <= 128) {
    (void)write_musicxml(midi, std::vector<std::string>(midi.notes.size(), "pa"));
    (void)write_notation(midi, std::vector<std::string>(midi.notes.size(), "pa"), Grid::kChosen);
    (void)write_notation(midi, {}, Grid::kEighthTriplet);
  }
  return 0;
}
