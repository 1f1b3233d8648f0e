#include "check/harmony_check.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "check/check_messages.h"
#include "check/scratch_run.h"
#include "base/work_files.h"
#include "engine/bar_time.h"
#include "harmonizer/configuration.h"
#include "harmonizer/harmonizer_state.h"
#include "harmonizer/harmony_reader.h"
#include "harmonizer/music.h"
#include "harmonizer/other_parts.h"

namespace zelvo::check {

namespace {

// The last bar in which a note of `notes` starts or, with `to_end`, still
// sounds; by the time settings given (their meter map when the meter changes).
int32_t last_bar(const engine::MusicNote* notes, int32_t count, const engine::TimeSettings& time,
                 bool to_end) {
  const int64_t per_bar = std::max<int64_t>(1, time.clicks_per_bar());
  int64_t last = 0;
  for (int32_t i = 0; i < count; ++i) {
    const engine::MusicNote& note = notes[i];
    const int64_t click = static_cast<int64_t>(note.Ckin) + (to_end ? std::max(0, note.Dur - 1) : 0);
    if (engine::has_meter_changes(time)) {
      const int64_t at = engine::bar_start(time, note.Cpin) + click;
      last = std::max<int64_t>(last, engine::position_at(time, at).bar);
    } else {
      last = std::max<int64_t>(last, note.Cpin + click / per_bar);
    }
  }
  return static_cast<int32_t>(std::min<int64_t>(last, 2147483647));
}

bool music_file_present(const std::string& folder, int32_t source) {
  if (source < 0 || source >= base::kMusicSourceCount) return true;  // the harmonizer reports it
  std::error_code error;
  return std::filesystem::exists(base::work_path(folder, base::kMusicSourceFiles[source]), error) ||
         (source == 0 && std::filesystem::exists(base::work_path(folder, base::kMusicArchive), error));
}

// The configuration file the harmonizer reads.
const char* configuration_name(const std::string& folder) {
  std::error_code error;
  return std::filesystem::exists(base::work_path(folder, base::kConfigurationFile), error)
             ? base::kConfigurationFile
             : base::kConfigurationText;
}

// Parts of the music that the result will not have: those outside the
// configured range, unless KeepOtherParts keeps them.
void check_parts_left_out(harmonizer::HarmonizerState& state, const std::string& folder,
                          console::JobConsole& scratch, int language, Findings& findings) {
  const engine::HarmonizerSettings& settings = state.settings;
  if (settings.KeepOtherParts != 0) return;
  std::vector<int32_t> parts;
  std::string error;
  if (!run_step(scratch, [&] { return harmonizer::find_other_parts(state, scratch, parts); }, error) ||
      parts.empty()) {
    return;
  }
  std::string list;
  for (const int32_t part : parts) list += (list.empty() ? "" : ", ") + std::to_string(part);
  findings.push_back({configuration_name(folder), std::string(),
                      say(language, kPartsLeftOut, base::kMusicSourceFiles[settings.MusicSource],
                          static_cast<int>(settings.FirstMusicIns), static_cast<int>(settings.LastMusicIns),
                          list.c_str())});
}

}  // namespace

void check_harmony(const std::string& folder, console::JobConsole& scratch, int language, Findings& findings,
                   console::ScoreOpener* opener) {
  auto state = std::make_unique<harmonizer::HarmonizerState>();
  state->score_opener = opener;
  state->work_folder = folder;
  std::string error;
  // A configuration that does not read is the configuration check's finding.
  if (!harmonizer::read_configuration(state->settings, folder).status.ok()) return;
  std::error_code exists_error;
  const bool harmony_present =
      std::filesystem::exists(base::work_path(folder, base::kHarmonyFile), exists_error) ||
      (opener != nullptr && std::filesystem::exists(base::work_path(folder, base::kHarmonyArchive), exists_error));
  if (!harmony_present || !music_file_present(folder, state->settings.MusicSource)) return;
  if (opener != nullptr) {
    // As the job does: the music is opened first, so that the harmony file
    // follows its pickup. A fault in it is reported below, where the job
    // reads it again.
    run_step(
        scratch, [&] { return harmonizer::read_music(*state, scratch, harmonizer::Preparation::kCheckOnly); }, error);
  }
  if (!run_step(scratch, [&] { return harmonizer::read_harmony(*state, scratch); }, error)) {
    findings.push_back({base::kHarmonyFile, std::string(), say(language, kBadConfigLine, error.c_str())});
    return;
  }
  const engine::MusicNoteTable& table = state->engine.music;
  // Kept for a second count in the music's meters, which a harmony file
  // follows when the music changes meter.
  const std::vector<engine::MusicNote> harmony(table.notes.data(), table.notes.data() + table.note_count);
  int32_t harmony_end = last_bar(table.notes.data(), table.note_count, state->settings.time, true);
  if (!run_step(scratch, [&] { return harmonizer::read_music(*state, scratch); }, error)) {
    findings.push_back({base::kMusicSourceFiles[state->settings.MusicSource], std::string(), say(language, kBadConfigLine, error.c_str())});
    return;
  }
  const int32_t music_end = last_bar(table.notes.data(), table.note_count, state->settings.time, false);
  if (engine::has_meter_changes(state->settings.time)) {
    harmony_end = last_bar(harmony.data(), static_cast<int32_t>(harmony.size()), state->settings.time, true);
  }
  if (harmony_end < music_end) {
    findings.push_back({base::kHarmonyFile, std::string(), say(language, kHarmonyEndsEarly, harmony_end, music_end)});
  }
  check_parts_left_out(*state, folder, scratch, language, findings);
}

}  // namespace zelvo::check
