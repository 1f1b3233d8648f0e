#include "notation/note_writer.h"

#include <algorithm>

#include "notation/general_midi.h"
#include "notation/part_names.h"

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

void append_lyric(xml_node note, int number, const std::string& text) {
  xml_node lyric = note.append_child("lyric");
  lyric.append_attribute("number").set_value(number);
  lyric.append_child("syllabic").text().set("single");
  lyric.append_child("text").text().set(text.c_str());
}

}  // namespace

void write_note(xml_node measure, const Piece& piece, const NoteContext& part) {
  const MidiNotes& midi = part.midi;
  const std::vector<std::string>& lyrics = part.lyrics;
  const ReadableMarks* marks = part.marks;
  const bool drums = part.drums;
  xml_node note = measure.append_child("note");
  if (piece.index < 0) {
    // A second voice silent for the whole bar is not shown.
    const bool second = marks != nullptr ? piece.line > 1 : piece.voice > 1;
    if (piece.value.type == nullptr && second) note.append_attribute("print-object").set_value("no");
    xml_node rest = note.append_child("rest");
    if (piece.value.type == nullptr) rest.append_attribute("measure").set_value("yes");
  } else {
    if (piece.chord) note.append_child("chord");
  }
  if (piece.index >= 0 && drums) {
    const DrumPlace place = drum_place(midi.notes[static_cast<size_t>(piece.index)].pitch);
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
  if (piece.index >= 0 && drums) {
    const int key = midi.notes[static_cast<size_t>(piece.index)].pitch;
    note.append_child("instrument").append_attribute("id").set_value(drum_id(kDrumChannel, key).c_str());
  }
  note.append_child("voice").text().set(piece.voice);
  if (piece.value.type != nullptr) note.append_child("type").text().set(piece.value.type);
  for (int d = 0; d < piece.value.dots; ++d) note.append_child("dot");
  if (piece.accidental && !drums) note.append_child("accidental").text().set(accidental_name(piece.spelling.alter));
  if (piece.value.triplet) {
    xml_node modification = note.append_child("time-modification");
    modification.append_child("actual-notes").text().set(3);
    modification.append_child("normal-notes").text().set(2);
  }
  if (marks != nullptr && piece.index >= 0 && drums) {
    const bool cross = drum_place(midi.notes[static_cast<size_t>(piece.index)].pitch).cross;
    if (cross) note.append_child("notehead").text().set("x");
  }
  if (marks != nullptr && part.staves > 1) note.append_child("staff").text().set(piece.staff);
  const size_t at = static_cast<size_t>(piece.index);
  const bool staccato = marks != nullptr && piece.index >= 0 && piece.first_piece && !drums &&
                        at < marks->staccato.size() && marks->staccato[at];
  if (piece.tied_before || piece.tied_after || staccato) {
    xml_node notations = note.append_child("notations");
    if (piece.tied_before) notations.append_child("tied").append_attribute("type").set_value("stop");
    if (piece.tied_after) notations.append_child("tied").append_attribute("type").set_value("start");
    if (staccato) notations.append_child("articulations").append_child("staccato");
  }
  if (marks != nullptr) {
    // One lyric for the chord, on its first note: its notes' tone types in turn.
    // A note tied over shows the type of its part that sounds from this piece.
    if (piece.index < 0 || piece.chord) return;
    std::vector<std::string> types;
    for (const int member : *piece.members) {
      const size_t m = static_cast<size_t>(member);
      if (piece.first_piece && m < lyrics.size()) types.push_back(lyrics[m]);
      for (const HeldLyric& held : marks->held) {
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
  } else if (piece.index >= 0 && piece.first_piece && at < lyrics.size() && !lyrics[at].empty()) {
    append_lyric(note, 1, lyrics[at]);
  }
}

}  // namespace zelvo::notation
