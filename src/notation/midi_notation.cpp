#include "notation/midi_notation.h"

#include <algorithm>
#include <pugixml.hpp>

#include "notation/general_midi.h"
#include "notation/measure_layout.h"
#include "notation/note_values.h"
#include "notation/part_names.h"
#include "notation/voice_layout.h"
#include "intake/xml_layout.h"

namespace zelvo::notation {

namespace {

using pugi::xml_node;


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
  int64_t from = 0;  // its start in ticks of the music
  Spelling spelling{};
  int octave = 0;
  bool accidental = false;
  int staff = 1;
  int line = 1;
  const std::vector<int>* members = nullptr;  // the chord's notes
};

class PartWriter {
 public:
  PartWriter(const MidiNotes& midi, const std::vector<std::string>& lyrics, const ReadableMarks* marks)
      : midi_(midi), lyrics_(lyrics), marks_(marks), values_(note_values(midi.division, marks ? marks->step : 0)) {}

  void set_part(int channel, int staves) {
    drums_ = marks_ != nullptr && channel == kDrumChannel;
    staves_ = staves;
  }

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
  void write_measure(xml_node measure, const VoiceLayout& layout, const Measure& bar) {
    std::vector<Piece> pieces;
    const std::vector<std::vector<Chord>>& voices = layout.voices;
    for (size_t v = 0; v < std::max<size_t>(voices.size(), 1); ++v) {
      static const std::vector<Chord> kEmpty;
      const size_t first = pieces.size();
      voice_pieces(v < voices.size() ? voices[v] : kEmpty, static_cast<int>(v + 1), bar, pieces);
      for (size_t p = first; p < pieces.size() && v < layout.staff.size(); ++p) {
        pieces[p].staff = layout.staff[v];
        pieces[p].line = layout.line[v];
      }
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
          piece.members = &chord.members;
          piece.index = chord.members[m];
          piece.chord = m > 0;
          piece.tied_before = p > 0 || chord.start < from;
          piece.tied_after = p + 1 < parts.size() || end > to;
          piece.first_piece = p == 0 && chord.start >= from;
          piece.from = from + at;
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
      const bool second = marks_ != nullptr ? piece.line > 1 : piece.voice > 1;
      if (piece.value.type == nullptr && second) note.append_attribute("print-object").set_value("no");
      xml_node rest = note.append_child("rest");
      if (piece.value.type == nullptr) rest.append_attribute("measure").set_value("yes");
    } else {
      if (piece.chord) note.append_child("chord");
    }
    if (piece.index >= 0 && drums_) {
      const DrumPlace place = drum_place(midi_.notes[static_cast<size_t>(piece.index)].pitch);
      xml_node unpitched = note.append_child("unpitched");
      const char step[2] = {place.step, 0};
      unpitched.append_child("display-step").text().set(step);
      unpitched.append_child("display-octave").text().set(place.octave);
    } else if (piece.index >= 0) {
      xml_node pitch = note.append_child("pitch");
      const char step[2] = {piece.spelling.step, 0};
      pitch.append_child("step").text().set(step);
      if (piece.spelling.alter != 0) pitch.append_child("alter").text().set(piece.spelling.alter);
      pitch.append_child("octave").text().set(piece.octave);
    }
    note.append_child("duration").text().set(static_cast<long long>(piece.value.ticks));
    if (piece.tied_before) note.append_child("tie").append_attribute("type").set_value("stop");
    if (piece.tied_after) note.append_child("tie").append_attribute("type").set_value("start");
    if (piece.index >= 0 && drums_) {
      const int key = midi_.notes[static_cast<size_t>(piece.index)].pitch;
      note.append_child("instrument").append_attribute("id").set_value(drum_id(kDrumChannel, key).c_str());
    }
    note.append_child("voice").text().set(piece.voice);
    if (piece.value.type != nullptr) note.append_child("type").text().set(piece.value.type);
    for (int d = 0; d < piece.value.dots; ++d) note.append_child("dot");
    if (piece.accidental && !drums_) note.append_child("accidental").text().set(accidental_name(piece.spelling.alter));
    if (piece.value.triplet) {
      xml_node modification = note.append_child("time-modification");
      modification.append_child("actual-notes").text().set(3);
      modification.append_child("normal-notes").text().set(2);
    }
    if (marks_ != nullptr && piece.index >= 0 && drums_) {
      const bool cross = drum_place(midi_.notes[static_cast<size_t>(piece.index)].pitch).cross;
      if (cross) note.append_child("notehead").text().set("x");
    }
    if (marks_ != nullptr && staves_ > 1) note.append_child("staff").text().set(piece.staff);
    const size_t at = static_cast<size_t>(piece.index);
    const bool staccato = marks_ != nullptr && piece.index >= 0 && piece.first_piece && !drums_ &&
                          at < marks_->staccato.size() && marks_->staccato[at];
    if (piece.tied_before || piece.tied_after || staccato) {
      xml_node notations = note.append_child("notations");
      if (piece.tied_before) notations.append_child("tied").append_attribute("type").set_value("stop");
      if (piece.tied_after) notations.append_child("tied").append_attribute("type").set_value("start");
      if (staccato) notations.append_child("articulations").append_child("staccato");
    }
    if (marks_ != nullptr) {
      // One lyric for the chord, on its first note: its notes' tone types in turn.
      // A note tied over shows the type of its part that sounds from this piece.
      if (piece.index < 0 || piece.chord) return;
      std::vector<std::string> types;
      for (const int member : *piece.members) {
        const size_t m = static_cast<size_t>(member);
        if (piece.first_piece && m < lyrics_.size()) types.push_back(lyrics_[m]);
        for (const HeldLyric& held : marks_->held) {
          if (held.note == member && held.tick >= piece.from && held.tick < piece.from + piece.value.ticks) {
            types.push_back(held.text);
          }
        }
      }
      std::string text;
      for (size_t t = 0; t < types.size(); ++t) {
        if (types[t].empty() || std::find(types.begin(), types.begin() + static_cast<long>(t), types[t]) !=
                                    types.begin() + static_cast<long>(t)) {
          continue;
        }
        text += (text.empty() ? "" : "/") + types[t];
      }
      if (!text.empty()) append_lyric(note, piece.line, text);
    } else if (piece.index >= 0 && piece.first_piece && at < lyrics_.size() && !lyrics_[at].empty()) {
      append_lyric(note, 1, lyrics_[at]);
    }
  }

  static void append_lyric(xml_node note, int number, const std::string& text) {
    xml_node lyric = note.append_child("lyric");
    lyric.append_attribute("number").set_value(number);
    lyric.append_child("syllabic").text().set("single");
    lyric.append_child("text").text().set(text.c_str());
  }

  const MidiNotes& midi_;
  const std::vector<std::string>& lyrics_;
  const ReadableMarks* marks_;
  std::vector<NoteValue> values_;
  bool drums_ = false;
  int staves_ = 1;
};

void append_key(xml_node attributes, Key key) {
  xml_node node = attributes.append_child("key");
  node.append_child("fifths").text().set(key.fifths);
  node.append_child("mode").text().set(key.minor ? "minor" : "major");
}

void append_clef(xml_node attributes, int number, const char* sign, int line) {
  xml_node clef = attributes.append_child("clef");
  if (number > 0) clef.append_attribute("number").set_value(number);
  clef.append_child("sign").text().set(sign);
  if (line > 0) clef.append_child("line").text().set(line);
}

// A metronome mark where the measure's time has got to.
void append_tempo(xml_node measure, int tempo) {
  xml_node direction = measure.append_child("direction");
  direction.append_attribute("placement").set_value("above");
  xml_node metronome = direction.append_child("direction-type").append_child("metronome");
  metronome.append_child("beat-unit").text().set("quarter");
  metronome.append_child("per-minute").text().set(tempo);
  direction.append_child("sound").append_attribute("tempo").set_value(tempo);
}

// Every change of tempo in the measure, at its beat; the file's first tempo
// opens the first measure when no change is there.
void append_tempo_marks(xml_node measure, const MidiNotes& midi, const Measure& bar) {
  const bool opens = bar.start == 0 && (midi.tempos.empty() || midi.tempos.front().tick > 0);
  if (opens) append_tempo(measure, midi.tempo);
  int shown = opens ? midi.tempo : -1;
  for (size_t i = 0; i < midi.tempos.size(); ++i) {
    const TempoChange& change = midi.tempos[i];
    const int before = i > 0 ? midi.tempos[i - 1].tempo : -1;
    if (change.tick < bar.start || change.tick >= bar.start + bar.length) continue;
    if (change.tempo == before || change.tempo == shown) continue;
    // Notation programs place a direction where the measure's time has got
    // to: forward to its beat, then back to the start for the notes.
    const int64_t at = change.tick - bar.start;
    if (at > 0) measure.append_child("forward").append_child("duration").text().set(static_cast<long long>(at));
    append_tempo(measure, change.tempo);
    if (at > 0) measure.append_child("backup").append_child("duration").text().set(static_cast<long long>(at));
    shown = change.tempo;
  }
}

void append_time(xml_node attributes, const Measure& bar) {
  xml_node time = attributes.append_child("time");
  time.append_child("beats").text().set(bar.beats);
  time.append_child("beat-type").text().set(bar.beat_type);
}

}  // namespace


namespace {

// The score: the exact one without `marks`, else the readable one.
std::string write_score(const MidiNotes& midi, const std::vector<std::string>& lyrics, const ReadableMarks* marks) {
  PartWriter writer(midi, lyrics, marks);
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
    if (marks != nullptr) {
      append_named_part(list, midi, c);
      continue;
    }
    xml_node part = list.append_child("score-part");
    part.append_attribute("id").set_value(("P" + std::to_string(c + 1)).c_str());
    part.append_child("part-name").text().set(("Instrument " + std::to_string(c + 1)).c_str());
  }
  bool first_part = true;
  for (int c = 0; c < 16; ++c) {
    if (!used[c]) continue;
    xml_node part = root.append_child("part");
    part.append_attribute("id").set_value(("P" + std::to_string(c + 1)).c_str());
    VoiceLayout layout{writer.voices(c), {}, {}};
    int staves = 1;
    if (marks != nullptr) staves = arrange_staves(midi, c, layout);
    writer.set_part(c, staves);
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
        if (m == 0 && staves > 1) {
          attributes.append_child("staves").text().set(staves);
          append_clef(attributes, 1, "G", 2);
          append_clef(attributes, 2, "F", 4);
        } else if (m == 0 && marks != nullptr && c == kDrumChannel) {
          append_clef(attributes, 0, "percussion", 0);
        } else if (m == 0) {
          const bool low = count > 0 && pitch_sum / count < 60;
          append_clef(attributes, 0, low ? "F" : "G", low ? 4 : 2);
        }
      }
      if (first_part && marks != nullptr) {
        append_tempo_marks(measure, midi, bar);
      } else if (m == 0 && first_part) {
        append_tempo(measure, midi.tempo);
      }
      writer.write_measure(measure, layout, bar);
    }
    first_part = false;
  }
  return intake::lay_out(document);
}

}  // namespace

std::string write_musicxml(const MidiNotes& midi, const std::vector<std::string>& lyrics) {
  return write_score(midi, lyrics, nullptr);
}

std::string write_readable_musicxml(const MidiNotes& midi, const std::vector<std::string>& lyrics,
                                    const ReadableMarks& marks) {
  return write_score(midi, lyrics, &marks);
}

}  // namespace zelvo::notation
