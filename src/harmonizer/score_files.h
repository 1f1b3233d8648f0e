#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "base/progress_lines.h"
#include "console/score_opener.h"
#include "midi/song.h"

namespace zelvo::harmonizer {

using ScoreFile = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

// A music or harmony file of the work folder as it is handed over: the
// file, or for a multi-track outco.mid the one track the opener merged it
// into (then `file` is empty).
struct ScoreInput {
  ScoreFile file{nullptr, &std::fclose};
  std::optional<midi::Song> merged;
};

// Opens a music or harmony file of the work folder `folder` through the
// application's opener when it gave one, else as it is; empty when there is
// no such file. A file the opener refuses ends the reading step with the
// opener's status (base::stop_with).
inline ScoreInput open_score_input(console::ScoreOpener* opener, base::ProgressLines& progress,
                                   const std::string& folder, const char* name) {
  console::OpenedScore opened = console::open_score(opener, folder, name, progress);
  if (!opened.status.ok()) base::stop_with(opened.status);
  ScoreInput input;
  input.file.reset(opened.file);
  input.merged = std::move(opened.merged_midi);
  return input;
}

// The same for a file the opener hands over only as a file.
inline ScoreFile open_score_file(console::ScoreOpener* opener, base::ProgressLines& progress,
                                 const std::string& folder, const char* name) {
  return std::move(open_score_input(opener, progress, folder, name).file);
}

// Whether the readers follow the changes of meter of the score just opened.
// Only files known to be sound (well formed XML, MIDI whose chunks all read)
// are followed; any other is read as it always was, the last time signature
// stated holding for the whole.
inline bool follows_meter_changes(const console::ScoreOpener* opener) {
  return opener != nullptr && opener->last_score_is_sound();
}

}  // namespace zelvo::harmonizer
