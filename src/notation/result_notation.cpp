#include "notation/result_notation.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "harmonizer/note_time.h"
#include "notation/midi_merge.h"
#include "notation/midi_notation.h"
#include "notation/notation_messages.h"

namespace zelvo::notation {

namespace {

using Key = std::tuple<int32_t, int32_t, int64_t>;  // instrument, pitch, start click

std::vector<std::string> tone_type_lyrics(const MidiNotes& midi,
                                          const harmonizer::HarmonizerState& state) {
  const engine::EngineState& engine = state.engine;
  const engine::TimeSettings& time = state.settings.time;
  std::map<Key, int32_t> types;
  for (int32_t i = 0; i < engine.result_count; ++i) {
    const engine::MusicNote& n = engine.result[i];
    // Keyed by the tick the note has in outar.mid.
    types.emplace(Key{n.Inst, n.Note, harmonizer::midi_tick(time, n.Cpin, n.Ckin)},
                  engine.result_tones[i].tone_type);
  }
  std::vector<std::string> lyrics;
  for (const SoundingNote& note : midi.notes) {
    const auto found = types.find(Key{note.channel + 1, note.pitch, note.start});
    const bool labelled = found != types.end() && found->second != engine::kRe;
    lyrics.push_back(labelled ? engine::tone_type_name(found->second) : "");
  }
  return lyrics;
}

// A flat key's scale holds B-flat without B, or E-flat without E.
bool flat_scale(const harmonizer::HarmonizerState& state) {
  const char* marks = state.engine.scales.entries[0].marks;
  const auto present = [&](int pc) { return marks[pc] != '_' && (marks[pc] < 'a' || marks[pc] > 'z'); };
  return (present(10) && !present(11)) || (present(3) && !present(4));
}

}  // namespace

bool write_result_notation(const char* midi_name, const char* xml_name,
                           const harmonizer::HarmonizerState* harmonizer) {
  std::ifstream in(midi_name, std::ios::binary);
  if (!in) return false;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  std::string format0;
  if (merge_any_midi(bytes.str(), format0) != MidiMerge::kMerged) return false;
  const MidiNotes midi = read_midi_notes(format0);
  const std::vector<std::string> lyrics =
      harmonizer != nullptr ? tone_type_lyrics(midi, *harmonizer) : std::vector<std::string>{};
  const std::string text = write_musicxml(midi, lyrics, harmonizer != nullptr && flat_scale(*harmonizer));
  const std::string temporary = std::string(xml_name) + ".part";
  {
    std::ofstream out(temporary, std::ios::binary);
    out << text;
    if (!out.flush()) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), xml_name) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

void notate_job_result(console::Console& console, const char* midi_name, const char* xml_name,
                       const harmonizer::HarmonizerState* harmonizer) {
  if (!write_result_notation(midi_name, xml_name, harmonizer)) {
    console::fail(console, kNotationNotWritten, midi_name, xml_name);
  }
  console_print(console, kNotationWritten, xml_name);
  check_stop(console);
}

}  // namespace zelvo::notation
