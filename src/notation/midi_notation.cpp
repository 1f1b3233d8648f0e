#include "notation/midi_notation.h"

#include <algorithm>
#include <pugixml.hpp>

#include "intake/xml_layout.h"
#include "notation/measure_attributes.h"
#include "notation/measure_layout.h"
#include "notation/measure_pieces.h"
#include "notation/note_values.h"
#include "notation/note_writer.h"
#include "notation/part_names.h"
#include "notation/tempo_marks.h"
#include "notation/voice_layout.h"

namespace zelvo::notation {

namespace {

using pugi::xml_node;

// The measure's notes and rests, voice after voice; each voice fills the
// measure and the next one backs up to its start.
void write_measure(xml_node measure, const NoteContext& part, const std::vector<NoteValue>& values,
                   const VoiceLayout& layout, const Measure& bar) {
  int voice = 1;
  for (const Piece& piece : measure_pieces(part.midi, values, layout, bar)) {
    if (piece.voice != voice) {
      measure.append_child("backup").append_child("duration").text().set(static_cast<long long>(bar.length));
      voice = piece.voice;
    }
    write_note(measure, piece, part);
  }
}

// The score: the exact one without `marks`, else the readable one.
std::string write_score(const MidiNotes& midi, const std::vector<std::string>& lyrics, const ReadableMarks* marks) {
  const std::vector<NoteValue> values = note_values(midi.division, marks ? marks->step : 0);
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
    part.append_child("part-name").text().set(part_name(midi, c).c_str());
  }
  bool first_part = true;
  for (int c = 0; c < 16; ++c) {
    if (!used[c]) continue;
    xml_node part = root.append_child("part");
    part.append_attribute("id").set_value(("P" + std::to_string(c + 1)).c_str());
    VoiceLayout layout{channel_voices(midi, c), {}, {}};
    int staves = 1;
    if (marks != nullptr) staves = arrange_staves(midi, c, layout);
    const NoteContext notes{midi, lyrics, marks, marks != nullptr && c == kDrumChannel, staves};
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
      write_measure(measure, notes, values, layout, bar);
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
