#include "harmonizer/harmonize_job.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "console/windows1252.h"
#include "console/work_files.h"
#include "engine/harmonize_units.h"
#include "engine/engine_messages.h"
#include "harmonizer/configuration.h"
#include "harmonizer/console_lines.h"
#include "harmonizer/debug_listings.h"
#include "console/message_id.h"
#include "harmonizer/harmony_reader.h"
#include "harmonizer/music.h"
#include "harmonizer/output.h"
#include "harmonizer/tones_file.h"

namespace zelvo::harmonizer {

using enum console::MessageId;

namespace {

// A step's error ends the job as the harmonizer's stages always ended:
// the message, then the stop message if Stop was pressed, else the abort
// (always the abort after a score file the opener refused).
void or_stop(console::JobConsole& console, const console::Status& status) {
  if (status.ok()) return;
  if (!status.stop_may_win()) console::fail(console, status.error());
  console::fail_or_stop(console, status.error());
}

}  // namespace

void harmonize(HarmonizerState& state, console::JobConsole& console) {
  engine::HarmonizerSettings& settings = state.settings;
  settings.time.clicks_per_beat = 1024;
  settings.time.clicks_per_sixteenth = 256;
  settings.time.meters.count = 0;
  settings.ShowLineInfo = 0;
  reset_debug_listings(state.debug);

  console_print(console, kHarmonizerStartMessage);
  check_stop(console);
  const ConfigurationRead configuration = read_configuration(settings, state.work_folder);
  if (!configuration.found) {
    console_print(console, kErrorOpeningFile, console::kConfigurationStem);
    std::error_code error;
    const std::string& named = state.named_folder.empty() ? state.work_folder : state.named_folder;
    const std::filesystem::path where =
        named.empty() ? std::filesystem::current_path(error) : std::filesystem::path(named);
    const std::string folder = std::filesystem::weakly_canonical(where, error).string();
    console_print(console, kNoConfigurationIn, error ? "." : console::from_utf8(folder).c_str());
    check_stop(console);
    abort_job(console);
  }
  or_stop(console, configuration.status);
  console_print(console, kReadingMusic);
  check_stop(console);
  or_stop(console, read_music(state, console, Preparation::kCheckOnly));
  console_print(console, kReadingHarmony);
  check_stop(console);
  or_stop(console, read_harmony(state, console));
  or_stop(console, read_music(state, console));

  DebugListings listings(state, console);
  ConsoleLines lines(console);
  if (const console::Status harmonized =
          engine::harmonize_units(state.engine, settings, lines, &listings, state.progress);
      !harmonized.ok()) {
    if (engine::stop_wins_over(harmonized.error())) console::fail_or_stop(console, harmonized.error());
    console::fail(console, harmonized.error());
  }
  rejoin_notes(state);
  list_result(state);
  console_print(console, kGeneratingMidi);
  check_stop(console);
  std::snprintf(state.output_name, kOutputNameSize, "%s", console::kHarmonyMidi);
  or_stop(console, write_harmony_midi(state));
  write_tones_file(state);
}

}  // namespace zelvo::harmonizer
