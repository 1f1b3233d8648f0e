#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "console/job_console.h"
#include "console/score_opener.h"
#include "base/work_files.h"
#include "midi/song.h"

namespace zelvo::harmonizer {

using ScoreFile = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

// Opens a music or harmony file of the work folder `folder` through the
// application's opener when it gave one, else as it is; empty when there is
// no such file. A file the opener refuses ends the reading step with the
// opener's status (base::stop_with).
inline ScoreFile open_score_file(console::ScoreOpener* opener, console::JobConsole& console,
                                 const std::string& folder, const char* name, const char* mode) {
  if (opener == nullptr) return ScoreFile(std::fopen(base::work_path(folder, name).c_str(), mode), &std::fclose);
  console::OpenedScore opened = opener->open_score(folder, name, console);
  if (!opened.status.ok()) base::stop_with(opened.status);
  return ScoreFile(opened.file, &std::fclose);
}

// outco.mid as the opener hands it over: the file, or the one track it
// merged a multi-track file into (then `file` is empty).
struct MidiMusic {
  ScoreFile file{nullptr, &std::fclose};
  std::optional<midi::Song> merged;
};

// The same as open_score_file for outco.mid.
inline MidiMusic open_midi_music(console::ScoreOpener* opener, console::JobConsole& console,
                                 const std::string& folder, const char* name) {
  MidiMusic music;
  if (opener == nullptr) {
    music.file.reset(std::fopen(base::work_path(folder, name).c_str(), "rb"));
    return music;
  }
  console::OpenedScore opened = opener->open_score(folder, name, console);
  if (!opened.status.ok()) base::stop_with(opened.status);
  music.file.reset(opened.file);
  music.merged = std::move(opened.merged_midi);
  return music;
}

// Whether the readers follow the changes of meter of the score just opened.
// Only files known to be sound (well formed XML, MIDI whose chunks all read)
// are followed; any other is read as it always was, the last time signature
// stated holding for the whole.
inline bool follows_meter_changes(const console::ScoreOpener* opener) {
  return opener != nullptr && opener->last_score_is_sound();
}

}  // namespace zelvo::harmonizer
