#include "notation/midi_notation.h"

#include <algorithm>
#include <pugixml.hpp>

#include "notation/measure_layout.h"
#include "notation/xml_layout.h"

namespace zelvo::notation {

namespace {

using pugi::xml_node;

uint32_t be(std::string_view bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count && at + i < bytes.size(); ++i) {
    value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
  }
  return value;
}

// A chord of one voice: notes that start and end together.
struct Chord {
  int64_t start;
  int64_t length;
  std::vector<int> members;  // indexes into the notes
};

struct NoteValue {
  const char* type;  // nullptr: a measure rest
  int dots;
  int64_t ticks;
  bool triplet = false;  // three in the time of two: `ticks` is 2/3 of the type's
};

// The written values a length can be made of, longest first.
std::vector<NoteValue> note_values(int64_t quarter) {
  static constexpr const char* kTypes[] = {"whole", "half", "quarter", "eighth", "16th", "32nd", "64th", "128th"};
  std::vector<NoteValue> values;
  for (int i = 0; i < 8; ++i) {
    const int64_t scaled = quarter * 4;
    if (scaled % (int64_t{1} << i) != 0) break;
    const int64_t plain = scaled >> i;
    if (plain % 4 == 0) values.push_back({kTypes[i], 2, plain / 4 * 7});
    if (plain % 2 == 0) values.push_back({kTypes[i], 1, plain / 2 * 3});
    values.push_back({kTypes[i], 0, plain});
  }
  std::stable_sort(values.begin(), values.end(),
                   [](const NoteValue& a, const NoteValue& b) { return a.ticks > b.ticks; });
  return values;
}

// Greedy in plain and dotted values; a remainder below the shortest value
// keeps its exact length under the shortest type. A rest (`at`, its place in
// the measure, not -1) takes plain values that start on a multiple of their
// own length where there is one (a quarter rest and a half rest from the
// second beat of 4/4, not a dotted half), so the beats show.
void add_plain_values(int64_t length, int64_t at, const std::vector<NoteValue>& values,
                      std::vector<NoteValue>& parts) {
  while (length > 0) {
    const NoteValue* fit = nullptr;
    for (const NoteValue& value : values) {
      if (value.ticks > length) continue;
      if (at >= 0 && (value.dots > 0 || at % value.ticks != 0)) continue;
      fit = &value;
      break;
    }
    for (size_t i = 0; fit == nullptr && i < values.size(); ++i) {
      if (values[i].ticks <= length) fit = &values[i];
    }
    if (fit == nullptr) {
      parts.push_back({values.back().type, 0, length});
      break;
    }
    parts.push_back(*fit);
    length -= fit->ticks;
    if (at >= 0) at += fit->ticks;
  }
}

// Triplet values (each 2/3 of a plain value) for `ticks`, a multiple of
// `third`: one value when there is one that long, else thirds.
void add_triplet_values(int64_t ticks, int64_t third, const std::vector<NoteValue>& values,
                        std::vector<NoteValue>& parts) {
  for (const NoteValue& value : values) {
    if (value.dots == 0 && ticks % 2 == 0 && value.ticks == ticks / 2 * 3) {
      parts.push_back({value.type, 0, ticks, true});
      return;
    }
  }
  for (; ticks > 0; ticks -= third) parts.push_back({values.back().type, 0, third, true});
}

// Splits a length starting at tick `start` into written values. Lengths off
// the grid of the shortest plain value (the composer writes notes of 11/12
// of a quarter note) are made exact with triplet values where the shortest
// value divides by 3: first those that bring the start back onto the grid,
// then plain values, then those for the end; so a note's end and the next
// note's or rest's start make whole triplets. `measure_start` is -1 for a
// note, the start of the measure for a rest.
std::vector<NoteValue> split_length(int64_t start, int64_t length, const std::vector<NoteValue>& values,
                                    int64_t measure_start = -1) {
  std::vector<NoteValue> parts;
  const int64_t unit = values.back().ticks;
  const int64_t third = unit % 3 == 0 ? unit / 3 * 2 : 0;
  int64_t tail = 0;
  if (third > 0) {
    for (int64_t k = 1; k < 3 && start % unit != 0; ++k) {
      if ((start + k * third) % unit != 0) continue;
      if (k * third <= length) {
        add_triplet_values(k * third, third, values, parts);
        length -= k * third;
        start += k * third;
      }
      break;
    }
    for (int64_t k = 1; k < 3 && length % unit != 0; ++k) {
      if (k * third <= length && (length - k * third) % unit == 0) tail = k * third;
    }
  }
  add_plain_values(length - tail, measure_start < 0 ? -1 : start - measure_start, values, parts);
  if (tail > 0) add_triplet_values(tail, third, values, parts);
  return parts;
}

const char* accidental_name(int alter) {
  switch (alter) {
    case -2: return "flat-flat";
    case -1: return "flat";
    case 1: return "sharp";
    case 2: return "double-sharp";
    default: return "natural";
  }
}

// One written note or rest of a voice in a measure.
struct Piece {
  int64_t at;  // ticks from the measure's start
  NoteValue value;
  int voice;
  int index = -1;  // into the notes; -1 for a rest
  bool chord = false;
  bool tied_before = false;
  bool tied_after = false;
  bool first_piece = false;
  Spelling spelling{};
  int octave = 0;
  bool accidental = false;
};

class PartWriter {
 public:
  PartWriter(const MidiNotes& midi, const std::vector<std::string>& lyrics)
      : midi_(midi), lyrics_(lyrics), values_(note_values(midi.division)) {}

  // The chords of one channel, put into voices.
  std::vector<std::vector<Chord>> voices(int channel) const {
    std::vector<std::vector<Chord>> voices;
    for (int i = 0; i < static_cast<int>(midi_.notes.size()); ++i) {
      const SoundingNote& note = midi_.notes[static_cast<size_t>(i)];
      if (note.channel != channel || note.length <= 0) continue;
      bool placed = false;
      for (std::vector<Chord>& voice : voices) {
        Chord& last = voice.back();
        // A unison goes to another voice: notation programs tie only one
        // of two equal notes of a chord.
        const bool unison = std::any_of(last.members.begin(), last.members.end(), [&](int m) {
          return midi_.notes[static_cast<size_t>(m)].pitch == note.pitch;
        });
        if (last.start == note.start && last.length == note.length && !unison) {
          last.members.push_back(i);
          placed = true;
        } else if (last.start + last.length <= note.start) {
          voice.push_back(Chord{note.start, note.length, {i}});
          placed = true;
        }
        if (placed) break;
      }
      if (!placed) voices.push_back({Chord{note.start, note.length, {i}}});
    }
    return voices;
  }

  // The measure's notes and rests, voice after voice; each voice fills the
  // measure and the next one backs up to its start.
  void write_measure(xml_node measure, const std::vector<std::vector<Chord>>& voices, const Measure& bar) {
    std::vector<Piece> pieces;
    for (size_t v = 0; v < std::max<size_t>(voices.size(), 1); ++v) {
      static const std::vector<Chord> kEmpty;
      voice_pieces(v < voices.size() ? voices[v] : kEmpty, static_cast<int>(v + 1), bar, pieces);
    }
    mark_accidentals(pieces, bar.key);
    int voice = 1;
    for (const Piece& piece : pieces) {
      if (piece.voice != voice) {
        measure.append_child("backup").append_child("duration").text().set(static_cast<long long>(bar.length));
        voice = piece.voice;
      }
      write_piece(measure, piece);
    }
  }

 private:
  void voice_pieces(const std::vector<Chord>& voice, int number, const Measure& bar, std::vector<Piece>& pieces) {
    const int64_t from = bar.start;
    const int64_t to = from + bar.length;
    int64_t position = from;
    for (const Chord& chord : voice) {
      const int64_t end = chord.start + chord.length;
      if (end <= from || chord.start >= to) continue;
      const int64_t start = std::max(chord.start, from);
      if (start > position) add_rest(bar, position, start - position, number, pieces);
      const int64_t stop = std::min(end, to);
      int64_t at = start - from;
      const std::vector<NoteValue> parts = split_length(start, stop - start, values_);
      for (size_t p = 0; p < parts.size(); ++p) {
        for (size_t m = 0; m < chord.members.size(); ++m) {
          Piece piece{at, parts[p], number};
          piece.index = chord.members[m];
          piece.chord = m > 0;
          piece.tied_before = p > 0 || chord.start < from;
          piece.tied_after = p + 1 < parts.size() || end > to;
          piece.first_piece = p == 0 && chord.start >= from;
          const int pitch = midi_.notes[static_cast<size_t>(piece.index)].pitch;
          piece.spelling = spell_pitch(pitch, bar.key);
          const int natural = pitch - piece.spelling.alter;
          piece.octave = (natural >= 0 ? natural / 12 : (natural - 11) / 12) - 1;
          pieces.push_back(piece);
        }
        at += parts[p].ticks;
      }
      position = stop;
    }
    if (position < to) add_rest(bar, position, to - position, number, pieces);
  }

  // A rest; one that fills the measure is a measure rest (no type), as
  // notation programs show a bar without notes in any time signature. In a
  // compound time (6/8, 9/8, 12/8, ...) a rest runs to the next beat, then
  // takes whole beats of a dotted value each.
  void add_rest(const Measure& bar, int64_t start, int64_t length, int voice, std::vector<Piece>& pieces) {
    if (start == bar.start && length == bar.length) {
      pieces.push_back(Piece{0, NoteValue{nullptr, 0, length}, voice});
      return;
    }
    const auto add = [&](int64_t from, int64_t ticks) {
      int64_t at = from - bar.start;
      for (const NoteValue& part : split_length(from, ticks, values_, bar.start)) {
        pieces.push_back(Piece{at, part, voice});
        at += part.ticks;
      }
    };
    const bool compound = bar.beat_type >= 8 && bar.beats % 3 == 0 && bar.beats > 3;
    const int64_t beat = int64_t{midi_.division} * 4 / bar.beat_type * 3;
    const auto dotted_beat = std::find_if(values_.begin(), values_.end(), [&](const NoteValue& value) {
      return value.dots == 1 && value.ticks == beat;
    });
    if (!compound || dotted_beat == values_.end()) {
      add(start, length);
      return;
    }
    const int64_t to_beat = std::min(length, (beat - (start - bar.start) % beat) % beat);
    add(start, to_beat);
    int64_t at = start + to_beat;
    for (; at + beat <= start + length; at += beat) pieces.push_back(Piece{at - bar.start, *dotted_beat, voice});
    add(at, start + length - at);
  }

  // An accidental is shown where a note's alteration differs from what the
  // key signature, or an earlier note of the same letter and octave in the
  // measure (in any voice), leaves in force. A note tied from before shows
  // none and changes nothing.
  static void mark_accidentals(std::vector<Piece>& pieces, Key key) {
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

  void write_piece(xml_node measure, const Piece& piece) {
    xml_node note = measure.append_child("note");
    if (piece.index < 0) {
      // A second voice silent for the whole bar is not shown.
      if (piece.value.type == nullptr && piece.voice > 1) note.append_attribute("print-object").set_value("no");
      xml_node rest = note.append_child("rest");
      if (piece.value.type == nullptr) rest.append_attribute("measure").set_value("yes");
    } else {
      if (piece.chord) note.append_child("chord");
      xml_node pitch = note.append_child("pitch");
      const char step[2] = {piece.spelling.step, 0};
      pitch.append_child("step").text().set(step);
      if (piece.spelling.alter != 0) pitch.append_child("alter").text().set(piece.spelling.alter);
      pitch.append_child("octave").text().set(piece.octave);
    }
    note.append_child("duration").text().set(static_cast<long long>(piece.value.ticks));
    if (piece.tied_before) note.append_child("tie").append_attribute("type").set_value("stop");
    if (piece.tied_after) note.append_child("tie").append_attribute("type").set_value("start");
    note.append_child("voice").text().set(piece.voice);
    if (piece.value.type != nullptr) note.append_child("type").text().set(piece.value.type);
    for (int d = 0; d < piece.value.dots; ++d) note.append_child("dot");
    if (piece.accidental) note.append_child("accidental").text().set(accidental_name(piece.spelling.alter));
    if (piece.value.triplet) {
      xml_node modification = note.append_child("time-modification");
      modification.append_child("actual-notes").text().set(3);
      modification.append_child("normal-notes").text().set(2);
    }
    if (piece.tied_before || piece.tied_after) {
      xml_node notations = note.append_child("notations");
      if (piece.tied_before) notations.append_child("tied").append_attribute("type").set_value("stop");
      if (piece.tied_after) notations.append_child("tied").append_attribute("type").set_value("start");
    }
    const size_t at = static_cast<size_t>(piece.index);
    if (piece.index >= 0 && piece.first_piece && at < lyrics_.size() && !lyrics_[at].empty()) {
      xml_node lyric = note.append_child("lyric");
      lyric.append_attribute("number").set_value(1);
      lyric.append_child("syllabic").text().set("single");
      lyric.append_child("text").text().set(lyrics_[at].c_str());
    }
  }

  const MidiNotes& midi_;
  const std::vector<std::string>& lyrics_;
  std::vector<NoteValue> values_;
};

void append_key(xml_node attributes, Key key) {
  xml_node node = attributes.append_child("key");
  node.append_child("fifths").text().set(key.fifths);
  node.append_child("mode").text().set(key.minor ? "minor" : "major");
}

void append_time(xml_node attributes, const Measure& bar) {
  xml_node time = attributes.append_child("time");
  time.append_child("beats").text().set(bar.beats);
  time.append_child("beat-type").text().set(bar.beat_type);
}

}  // namespace

MidiNotes read_midi_notes(std::string_view format0) {
  MidiNotes midi;
  // A division of 0 (no tick is any length) is read as one tick a quarter note.
  midi.division = std::max(1, static_cast<int>(be(format0, 12, 2)));
  midi.meters.clear();
  bool tempo_seen = false;
  size_t at = 22;  // after the header chunk and the track's own header
  int64_t tick = 0;
  uint8_t running = 0;
  std::vector<size_t> open;
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(format0[i]); };
  while (at < format0.size()) {
    uint64_t delta = 0;
    uint8_t b = 0x80;
    for (int i = 0; i < 4 && at < format0.size() && (b & 0x80) != 0; ++i) {
      b = byte(at++);
      delta = (delta << 7) | (b & 0x7F);
    }
    tick += static_cast<int64_t>(delta);
    if (at >= format0.size()) break;
    const uint8_t status = byte(at);
    if (status == 0xFF) {
      if (at + 2 >= format0.size()) break;
      const uint8_t type = byte(at + 1);
      const size_t length = byte(at + 2);  // the merged track's meta events are short
      const size_t data = at + 3;
      if (type == 0x2F || data + length > format0.size()) break;
      if (type == 0x58 && length >= 2 && byte(data) > 0) {
        if (!midi.meters.empty() && midi.meters.back().tick == tick) midi.meters.pop_back();
        midi.meters.push_back({tick, byte(data), 1 << std::min<int>(byte(data + 1), 6)});
      } else if (type == 0x59 && length >= 2) {
        const int fifths = static_cast<int8_t>(byte(data));
        if (!midi.keys.empty() && midi.keys.back().tick == tick) midi.keys.pop_back();
        midi.keys.push_back({tick, Key{std::clamp(fifths, -7, 7), byte(data + 1) == 1}});
      } else if (type == 0x51 && length == 3 && !tempo_seen) {
        const uint32_t tempo = be(format0, data, 3);
        midi.tempo = tempo == 0 ? 120 : static_cast<int>(60000000 / tempo);
        tempo_seen = true;
      }
      at = data + length;
      continue;
    }
    if (status < 0x80 && running == 0) break;
    const uint8_t kind_status = status < 0x80 ? running : status;
    if (status >= 0x80) {
      if (status >= 0xF0) break;  // the merged track holds no system messages
      running = status;
      ++at;
    }
    const uint8_t kind = kind_status & 0xF0;
    const size_t size = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
    if (at + size > format0.size()) break;
    const int channel = kind_status & 0x0F;
    const int pitch = byte(at);
    const int velocity = size == 2 ? byte(at + 1) : 0;
    at += size;
    if (kind == 0x90 && velocity > 0) {
      open.push_back(midi.notes.size());
      midi.notes.push_back(SoundingNote{channel, tick, -1, pitch});
    } else if (kind == 0x80 || kind == 0x90) {
      for (auto it = open.begin(); it != open.end(); ++it) {
        SoundingNote& note = midi.notes[*it];
        if (note.channel != channel || note.pitch != pitch) continue;
        note.length = tick - note.start;
        open.erase(it);
        break;
      }
    }
  }
  for (const size_t index : open) midi.notes[index].length = tick - midi.notes[index].start;
  if (midi.meters.empty() || midi.meters.front().tick != 0) midi.meters.insert(midi.meters.begin(), {0, 4, 4});
  return midi;
}

void add_key_from_notes(MidiNotes& midi) {
  if (!midi.keys.empty()) return;
  std::vector<int> pitches;
  std::vector<int64_t> lengths;
  for (const SoundingNote& note : midi.notes) {
    pitches.push_back(note.pitch);
    lengths.push_back(note.length);
  }
  midi.keys.push_back({0, estimate_key(pitches, lengths)});
}

std::string write_musicxml(const MidiNotes& midi, const std::vector<std::string>& lyrics) {
  PartWriter writer(midi, lyrics);
  int64_t end = 0;
  bool used[16] = {};
  for (const SoundingNote& note : midi.notes) {
    end = std::max(end, note.start + note.length);
    used[note.channel & 15] = true;
  }
  std::vector<Measure> measures;
  if (!lay_out_measures(midi, end, measures)) return {};

  pugi::xml_document document;
  xml_node root = document.append_child("score-partwise");
  root.append_attribute("version").set_value("3.1");
  xml_node list = root.append_child("part-list");
  for (int c = 0; c < 16; ++c) {
    if (!used[c]) continue;
    xml_node part = list.append_child("score-part");
    part.append_attribute("id").set_value(("P" + std::to_string(c + 1)).c_str());
    part.append_child("part-name").text().set(("Instrument " + std::to_string(c + 1)).c_str());
  }
  bool first_part = true;
  for (int c = 0; c < 16; ++c) {
    if (!used[c]) continue;
    xml_node part = root.append_child("part");
    part.append_attribute("id").set_value(("P" + std::to_string(c + 1)).c_str());
    const std::vector<std::vector<Chord>> voices = writer.voices(c);
    int64_t pitch_sum = 0;
    int64_t count = 0;
    for (const SoundingNote& note : midi.notes) {
      if (note.channel == c) {
        pitch_sum += note.pitch;
        ++count;
      }
    }
    for (size_t m = 0; m < measures.size(); ++m) {
      const Measure& bar = measures[m];
      xml_node measure = part.append_child("measure");
      measure.append_attribute("number").set_value(static_cast<long long>(m + 1));
      if (m == 0 || bar.key_shown || bar.time_shown) {
        xml_node attributes = measure.append_child("attributes");
        if (m == 0) attributes.append_child("divisions").text().set(midi.division);
        if (bar.key_shown) append_key(attributes, bar.key);
        if (bar.time_shown) append_time(attributes, bar);
        if (m == 0) {
          xml_node clef = attributes.append_child("clef");
          const bool low = count > 0 && pitch_sum / count < 60;
          clef.append_child("sign").text().set(low ? "F" : "G");
          clef.append_child("line").text().set(low ? 4 : 2);
        }
      }
      if (m == 0 && first_part) {
        xml_node direction = measure.append_child("direction");
        direction.append_attribute("placement").set_value("above");
        xml_node metronome = direction.append_child("direction-type").append_child("metronome");
        metronome.append_child("beat-unit").text().set("quarter");
        metronome.append_child("per-minute").text().set(midi.tempo);
        direction.append_child("sound").append_attribute("tempo").set_value(midi.tempo);
      }
      writer.write_measure(measure, voices, bar);
    }
    first_part = false;
  }
  return lay_out(document);
}

}  // namespace zelvo::notation
