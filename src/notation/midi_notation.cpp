#include "notation/midi_notation.h"

#include <algorithm>
#include <pugixml.hpp>

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
  const char* type;
  int dots;
  int64_t ticks;
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

// Splits a length into written values; a remainder below the shortest
// value keeps its exact length under the shortest type.
std::vector<NoteValue> split_length(int64_t length, const std::vector<NoteValue>& values) {
  std::vector<NoteValue> parts;
  while (length > 0) {
    const NoteValue* fit = nullptr;
    for (const NoteValue& value : values) {
      if (value.ticks <= length) {
        fit = &value;
        break;
      }
    }
    if (fit == nullptr) {
      parts.push_back({values.back().type, 0, length});
      break;
    }
    parts.push_back(*fit);
    length -= fit->ticks;
  }
  return parts;
}

void append_pitch(xml_node note, int pitch, bool flats) {
  static constexpr const char* kSharpSteps[] = {"C", "C", "D", "D", "E", "F", "F", "G", "G", "A", "A", "B"};
  static constexpr const char* kFlatSteps[] = {"C", "D", "D", "E", "E", "F", "G", "G", "A", "A", "B", "B"};
  static constexpr int kSharpAlters[] = {0, 1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0};
  const int pc = pitch % 12;
  xml_node node = note.append_child("pitch");
  node.append_child("step").text().set(flats ? kFlatSteps[pc] : kSharpSteps[pc]);
  const int alter = kSharpAlters[pc] == 0 ? 0 : flats ? -1 : 1;
  if (alter != 0) node.append_child("alter").text().set(alter);
  node.append_child("octave").text().set(pitch / 12 - 1);
}

class PartWriter {
 public:
  PartWriter(const MidiNotes& midi, const std::vector<std::string>& lyrics, bool flats)
      : midi_(midi), lyrics_(lyrics), flats_(flats), values_(note_values(midi.division)),
        bar_(int64_t{midi.beats} * midi.division * 4 / std::max(midi.beat_type, 1)) {}

  int64_t bar() const { return bar_; }

  // The chords of one channel, put into voices.
  std::vector<std::vector<Chord>> voices(int channel) const {
    std::vector<std::vector<Chord>> voices;
    for (int i = 0; i < static_cast<int>(midi_.notes.size()); ++i) {
      const SoundingNote& note = midi_.notes[static_cast<size_t>(i)];
      if (note.channel != channel || note.length <= 0) continue;
      bool placed = false;
      for (std::vector<Chord>& voice : voices) {
        Chord& last = voice.back();
        if (last.start == note.start && last.length == note.length) {
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

  void write_voice(xml_node measure, const std::vector<Chord>& voice, int number, int64_t from) {
    int64_t position = from;
    const int64_t to = from + bar_;
    for (const Chord& chord : voice) {
      const int64_t end = chord.start + chord.length;
      if (end <= from || chord.start >= to) continue;
      const int64_t start = std::max(chord.start, from);
      if (start > position) write_rest(measure, start - position, number);
      const int64_t stop = std::min(end, to);
      const std::vector<NoteValue> parts = split_length(stop - start, values_);
      for (size_t p = 0; p < parts.size(); ++p) {
        const bool tied_before = p > 0 || chord.start < from;
        const bool tied_after = p + 1 < parts.size() || end > to;
        const bool first_piece = p == 0 && chord.start >= from;
        for (size_t m = 0; m < chord.members.size(); ++m) {
          write_note(measure, chord.members[m], parts[p], number, m > 0, tied_before, tied_after,
                     first_piece);
        }
      }
      position = stop;
    }
    if (position < to) write_rest(measure, to - position, number);
  }

 private:
  void write_rest(xml_node measure, int64_t length, int voice) {
    for (const NoteValue& part : split_length(length, values_)) {
      xml_node note = measure.append_child("note");
      note.append_child("rest");
      finish(note, part, voice);
    }
  }

  void write_note(xml_node measure, int index, const NoteValue& part, int voice, bool chord,
                  bool tied_before, bool tied_after, bool first_piece) {
    xml_node note = measure.append_child("note");
    if (chord) note.append_child("chord");
    append_pitch(note, midi_.notes[static_cast<size_t>(index)].pitch, flats_);
    note.append_child("duration").text().set(static_cast<long long>(part.ticks));
    if (tied_before) note.append_child("tie").append_attribute("type").set_value("stop");
    if (tied_after) note.append_child("tie").append_attribute("type").set_value("start");
    note.append_child("voice").text().set(voice);
    note.append_child("type").text().set(part.type);
    for (int d = 0; d < part.dots; ++d) note.append_child("dot");
    if (tied_before || tied_after) {
      xml_node notations = note.append_child("notations");
      if (tied_before) notations.append_child("tied").append_attribute("type").set_value("stop");
      if (tied_after) notations.append_child("tied").append_attribute("type").set_value("start");
    }
    const size_t at = static_cast<size_t>(index);
    if (first_piece && at < lyrics_.size() && !lyrics_[at].empty()) {
      xml_node lyric = note.append_child("lyric");
      lyric.append_attribute("number").set_value(1);
      lyric.append_child("syllabic").text().set("single");
      lyric.append_child("text").text().set(lyrics_[at].c_str());
    }
  }

  void finish(xml_node note, const NoteValue& part, int voice) {
    note.append_child("duration").text().set(static_cast<long long>(part.ticks));
    note.append_child("voice").text().set(voice);
    note.append_child("type").text().set(part.type);
    for (int d = 0; d < part.dots; ++d) note.append_child("dot");
  }

  const MidiNotes& midi_;
  const std::vector<std::string>& lyrics_;
  bool flats_;
  std::vector<NoteValue> values_;
  int64_t bar_;
};

}  // namespace

MidiNotes read_midi_notes(std::string_view format0) {
  MidiNotes midi;
  midi.division = static_cast<int>(be(format0, 12, 2));
  // The track starts with the time signature and the tempo (22 + 8 + 7).
  midi.beats = static_cast<uint8_t>(format0.size() > 26 ? format0[26] : 4);
  midi.beat_type = 1 << std::min<int>(static_cast<uint8_t>(format0.size() > 27 ? format0[27] : 2), 6);
  const uint32_t tempo = be(format0, 34, 3);
  midi.tempo = tempo == 0 ? 120 : static_cast<int>(60000000 / tempo);
  size_t at = 37;
  int64_t tick = 0;
  std::vector<size_t> open;
  while (at < format0.size()) {
    uint64_t delta = 0;
    uint8_t b = 0x80;
    while (at < format0.size() && (b & 0x80) != 0) {
      b = static_cast<uint8_t>(format0[at++]);
      delta = (delta << 7) | (b & 0x7F);
    }
    tick += static_cast<int64_t>(delta);
    if (at >= format0.size()) break;
    const uint8_t status = static_cast<uint8_t>(format0[at]);
    if (status == 0xFF) break;  // the end of the track
    const uint8_t kind = status & 0xF0;
    const size_t size = kind == 0xC0 || kind == 0xD0 ? 2 : 3;
    if (at + size > format0.size()) break;
    const int channel = status & 0x0F;
    const int pitch = static_cast<uint8_t>(format0[at + 1]);
    const int velocity = size == 3 ? static_cast<uint8_t>(format0[at + 2]) : 0;
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
  return midi;
}

std::string write_musicxml(const MidiNotes& midi, const std::vector<std::string>& lyrics, bool flats) {
  PartWriter writer(midi, lyrics, flats);
  int64_t end = 0;
  bool used[16] = {};
  for (const SoundingNote& note : midi.notes) {
    end = std::max(end, note.start + note.length);
    used[note.channel & 15] = true;
  }
  const int64_t bar = std::max<int64_t>(writer.bar(), 1);
  const int64_t measures = std::max<int64_t>(1, (end + bar - 1) / bar);

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
    for (int64_t m = 0; m < measures; ++m) {
      xml_node measure = part.append_child("measure");
      measure.append_attribute("number").set_value(static_cast<long long>(m + 1));
      if (m == 0) {
        xml_node attributes = measure.append_child("attributes");
        attributes.append_child("divisions").text().set(midi.division);
        attributes.append_child("key").append_child("fifths").text().set(0);
        xml_node time = attributes.append_child("time");
        time.append_child("beats").text().set(midi.beats);
        time.append_child("beat-type").text().set(midi.beat_type);
        xml_node clef = attributes.append_child("clef");
        const bool low = count > 0 && pitch_sum / count < 60;
        clef.append_child("sign").text().set(low ? "F" : "G");
        clef.append_child("line").text().set(low ? 4 : 2);
        if (first_part) {
          xml_node direction = measure.append_child("direction");
          direction.append_attribute("placement").set_value("above");
          xml_node metronome = direction.append_child("direction-type").append_child("metronome");
          metronome.append_child("beat-unit").text().set("quarter");
          metronome.append_child("per-minute").text().set(midi.tempo);
          direction.append_child("sound").append_attribute("tempo").set_value(midi.tempo);
        }
      }
      for (size_t v = 0; v < std::max<size_t>(voices.size(), 1); ++v) {
        if (v > 0) measure.append_child("backup").append_child("duration").text().set(static_cast<long long>(bar));
        static const std::vector<Chord> kEmpty;
        writer.write_voice(measure, v < voices.size() ? voices[v] : kEmpty, static_cast<int>(v + 1), m * bar);
      }
    }
    first_part = false;
  }
  return lay_out(document);
}

}  // namespace zelvo::notation
