#include "notation/measure_pieces.h"

#include <algorithm>
#include <utility>

namespace zelvo::notation {

namespace {

// A rest; one that fills the measure is a measure rest (no type), as
// notation programs show a bar without notes in any time signature. In a
// compound time (6/8, 9/8, 12/8, ...) a rest runs to the next beat, then
// takes whole beats of a dotted value each.
void add_rest(const MidiNotes& midi, const std::vector<NoteValue>& values, const Measure& bar, int64_t start,
              int64_t length, int voice, std::vector<Piece>& pieces) {
  if (start == bar.start && length == bar.length) {
    pieces.push_back(Piece{0, NoteValue{nullptr, 0, length}, voice});
    return;
  }
  const auto add = [&](int64_t from, int64_t ticks) {
    int64_t at = from - bar.start;
    for (const NoteValue& part : split_length(from, ticks, values, bar.start)) {
      pieces.push_back(Piece{at, part, voice});
      at += part.ticks;
    }
  };
  const bool compound = bar.beat_type >= 8 && bar.beats % 3 == 0 && bar.beats > 3;
  const int64_t beat = int64_t{midi.division} * 4 / bar.beat_type * 3;
  const auto dotted_beat = std::find_if(values.begin(), values.end(), [&](const NoteValue& value) {
    return value.dots == 1 && value.ticks == beat;
  });
  if (!compound || dotted_beat == values.end()) {
    add(start, length);
    return;
  }
  const int64_t to_beat = std::min(length, (beat - (start - bar.start) % beat) % beat);
  add(start, to_beat);
  int64_t at = start + to_beat;
  for (; at + beat <= start + length; at += beat) pieces.push_back(Piece{at - bar.start, *dotted_beat, voice});
  add(at, start + length - at);
}

void voice_pieces(const MidiNotes& midi, const std::vector<NoteValue>& values, const std::vector<Chord>& voice,
                  int number, const Measure& bar, std::vector<Piece>& pieces) {
  const int64_t from = bar.start;
  const int64_t to = from + bar.length;
  int64_t position = from;
  for (const Chord& chord : voice) {
    const int64_t end = chord.start + chord.length;
    if (end <= from || chord.start >= to) continue;
    const int64_t start = std::max(chord.start, from);
    if (start > position) add_rest(midi, values, bar, position, start - position, number, pieces);
    const int64_t stop = std::min(end, to);
    int64_t at = start - from;
    const std::vector<NoteValue> parts = split_length(start, stop - start, values);
    for (size_t p = 0; p < parts.size(); ++p) {
      for (size_t m = 0; m < chord.members.size(); ++m) {
        Piece piece{at, parts[p], number};
        piece.members = &chord.members;
        piece.index = chord.members[m];
        piece.chord = m > 0;
        piece.tied_before = p > 0 || chord.start < from;
        piece.tied_after = p + 1 < parts.size() || end > to;
        piece.first_piece = p == 0 && chord.start >= from;
        piece.from = from + at;
        const int pitch = midi.notes[static_cast<size_t>(piece.index)].pitch;
        piece.spelling = spell_pitch(pitch, bar.key);
        const int natural = pitch - piece.spelling.alter;
        piece.octave = (natural >= 0 ? natural / 12 : (natural - 11) / 12) - 1;
        pieces.push_back(piece);
      }
      at += parts[p].ticks;
    }
    position = stop;
  }
  if (position < to) add_rest(midi, values, bar, position, to - position, number, pieces);
}

// An accidental is shown where a note's alteration differs from what the
// key signature, or an earlier note of the same letter and octave in the
// measure (in any voice), leaves in force. A note tied from before shows
// none and changes nothing.
void mark_accidentals(std::vector<Piece>& pieces, Key key) {
  std::vector<Piece*> by_time;
  for (Piece& piece : pieces) {
    if (piece.index >= 0) by_time.push_back(&piece);
  }
  std::stable_sort(by_time.begin(), by_time.end(), [](const Piece* a, const Piece* b) { return a->at < b->at; });
  std::vector<std::pair<std::pair<char, int>, int>> in_force;
  for (Piece* piece : by_time) {
    if (piece->tied_before) continue;
    const std::pair<char, int> place{piece->spelling.step, piece->octave};
    auto found = std::find_if(in_force.begin(), in_force.end(), [&](const auto& e) { return e.first == place; });
    const int alter = found != in_force.end() ? found->second : signature_alter(key, piece->spelling.step);
    if (alter == piece->spelling.alter) continue;
    piece->accidental = true;
    if (found != in_force.end()) {
      found->second = piece->spelling.alter;
    } else {
      in_force.push_back({place, piece->spelling.alter});
    }
  }
}

}  // namespace

std::vector<Piece> measure_pieces(const MidiNotes& midi, const std::vector<NoteValue>& values,
                                  const VoiceLayout& layout, const Measure& bar) {
  std::vector<Piece> pieces;
  const std::vector<std::vector<Chord>>& voices = layout.voices;
  for (size_t v = 0; v < std::max<size_t>(voices.size(), 1); ++v) {
    static const std::vector<Chord> kEmpty;
    const size_t first = pieces.size();
    voice_pieces(midi, values, v < voices.size() ? voices[v] : kEmpty, static_cast<int>(v + 1), bar, pieces);
    for (size_t p = first; p < pieces.size() && v < layout.staff.size(); ++p) {
      pieces[p].staff = layout.staff[v];
      pieces[p].line = layout.line[v];
    }
  }
  mark_accidentals(pieces, bar.key);
  return pieces;
}

}  // namespace zelvo::notation
