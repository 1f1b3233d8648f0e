#include "harmonizer/tones_file.h"

#include <cstdio>
#include <string>

#include "base/work_files.h"
#include "files/result_writer.h"
#include "engine/model.h"
#include "harmonizer/note_time.h"

namespace zelvo::harmonizer {

std::vector<ToneLine> result_tones(const HarmonizerState& state) {
  const engine::EngineState& engine = state.engine;
  std::vector<ToneLine> tones;
  for (int32_t i = 0; i < engine.result_count; ++i) {
    const engine::MusicNote& note = engine.result[i];
    if (note.Cpin == 0) continue;  // removed: not in the MIDI file either
    const engine::ResultTone& tone = engine.result_tones[i];
    tones.push_back({static_cast<int32_t>(note.Inst), midi_tick(state.settings.time, note.Cpin, note.Ckin),
                     static_cast<int32_t>(note.Note), static_cast<int32_t>(tone.given_pitch),
                     engine::tone_type_name(tone.tone_type)});
  }
  return tones;
}

void write_tones_file(const HarmonizerState& state) {
  std::string text = "# channel tick chosen given type\n";
  char line[96];
  for (const ToneLine& tone : result_tones(state)) {
    std::snprintf(line, sizeof line, "%d %d %d %d %s\n", static_cast<int>(tone.channel), static_cast<int>(tone.tick),
                  static_cast<int>(tone.chosen), static_cast<int>(tone.given), tone.type);
    text += line;
  }
  files::write_output(state.results, state.work_folder, kTonesFileName, text, files::Replace::kWhole);
}

}  // namespace zelvo::harmonizer
