#include "harmonizer/tones_file.h"

#include <cstdio>
#include <string>

#include "console/work_files.h"
#include "engine/model.h"
#include "harmonizer/note_time.h"

namespace zelvo::harmonizer {

void write_tones_file(const HarmonizerState& state) {
  const engine::EngineState& engine = state.engine;
  const engine::TimeSettings& time = state.settings.time;
  std::string text = "# channel tick chosen given type\n";
  char line[96];
  for (int32_t i = 0; i < engine.result_count; ++i) {
    const engine::MusicNote& note = engine.result[i];
    if (note.Cpin == 0) continue;  // removed: not in the MIDI file either
    const int32_t tick = midi_tick(time, note.Cpin, note.Ckin);
    const engine::ResultTone& tone = engine.result_tones[i];
    std::snprintf(line, sizeof line, "%d %d %d %d %s\n", static_cast<int>(note.Inst), static_cast<int>(tick),
                  static_cast<int>(note.Note), static_cast<int>(tone.given_pitch),
                  engine::tone_type_name(tone.tone_type));
    text += line;
  }
  const std::string final_path = console::work_path(state.work_folder, kTonesFileName);
  const std::string temporary = final_path + ".part";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), final_path.c_str()) != 0) {
    std::remove(temporary.c_str());
  }
}

}  // namespace zelvo::harmonizer
