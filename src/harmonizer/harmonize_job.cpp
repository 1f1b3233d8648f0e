#include "harmonizer/harmonize_job.h"

#include <cstdio>
#include <string>
#include <variant>

#include "base/work_folder_name.h"
#include "base/work_files.h"
#include "engine/harmonize_units.h"
#include "engine/engine_messages.h"
#include "harmonizer/configuration.h"
#include "harmonizer/debug_listings.h"
#include "base/message_id.h"
#include "harmonizer/harmony_reader.h"
#include "harmonizer/music.h"
#include "harmonizer/other_parts.h"
#include "harmonizer/output.h"
#include "harmonizer/tones_file.h"

namespace zelvo::harmonizer {

using enum base::MessageId;

namespace {

// The folder the messages name: the one the job was given, also when it
// runs on a copy of the work's files.
const std::string& named_folder(const HarmonizerState& state) {
  return state.named_folder.empty() ? state.work_folder : state.named_folder;
}

// A step's error ends the job as the harmonizer's stages always ended:
// the message, then the stop message if Stop was pressed, else the abort
// (always the abort after a score file the opener refused). A file that did
// not open is followed by the folder it was looked for in.
void or_stop(console::JobConsole& console, const base::Status& status, const HarmonizerState& state) {
  if (status.ok()) return;
  const base::Message& error = status.error();
  console.print(error);
  if ((error.id() == kErrorOpeningFile || error.id() == kMidiCannotRead) && !error.arguments().empty()) {
    if (const auto* file = std::get_if<std::string>(&error.arguments()[0])) {
      console_print(console, kLookedForIn, file->c_str(), base::shown_work_folder(named_folder(state)).c_str());
    }
  }
  if (status.stop_may_win()) check_stop(console);
  abort_job(console);
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
  const ConfigurationRead configuration = read_configuration(settings, *files::ReaderOrFolder(state.inputs, state.work_folder));
  if (!configuration.found) {
    console_print(console, kErrorOpeningFile, base::kConfigurationStem);
    console_print(console, kNoConfigurationIn, base::shown_work_folder(named_folder(state)).c_str());
    check_stop(console);
    abort_job(console);
  }
  or_stop(console, configuration.status, state);
  console_print(console, kReadingMusic);
  check_stop(console);
  or_stop(console, read_music(state, console, Preparation::kCheckOnly), state);
  console_print(console, kReadingHarmony);
  check_stop(console);
  or_stop(console, read_harmony(state, console), state);
  or_stop(console, read_music(state, console), state);

  DebugListings listings(state, console);
  if (const base::Status harmonized =
          engine::harmonize_units(state.engine, settings, console, &listings, state.progress);
      !harmonized.ok()) {
    if (engine::stop_wins_over(harmonized.error())) console::fail_or_stop(console, harmonized.error());
    console::fail(console, harmonized.error());
  }
  rejoin_notes(state);
  list_result(state);
  if (settings.KeepOtherParts != 0) or_stop(console, add_other_parts(state, console), state);
  console_print(console, kGeneratingMidi);
  check_stop(console);
  std::snprintf(state.output_name, kOutputNameSize, "%s", base::kHarmonyMidi);
  or_stop(console, write_harmony_midi(state), state);
  write_tones_file(state);
}

}  // namespace zelvo::harmonizer
