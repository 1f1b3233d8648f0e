#include "notation/tempo_marks.h"

namespace zelvo::notation {

using pugi::xml_node;

void append_tempo(xml_node measure, int tempo) {
  xml_node direction = measure.append_child("direction");
  direction.append_attribute("placement").set_value("above");
  xml_node metronome = direction.append_child("direction-type").append_child("metronome");
  metronome.append_child("beat-unit").text().set("quarter");
  metronome.append_child("per-minute").text().set(tempo);
  direction.append_child("sound").append_attribute("tempo").set_value(tempo);
}

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

}  // namespace zelvo::notation
