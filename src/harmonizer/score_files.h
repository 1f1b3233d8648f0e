#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "console/job_console.h"
#include "console/score_opener.h"
#include "console/work_files.h"

namespace zelvo::harmonizer {

using ScoreFile = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

// Opens a music or harmony file of the work folder `folder` through the
// application's opener when it gave one, else as it is; empty when there is
// no such file.
inline ScoreFile open_score_file(console::ScoreOpener* opener, console::JobConsole& console,
                                 const std::string& folder, const char* name, const char* mode) {
  std::FILE* file = opener != nullptr ? opener->open_score(folder, name, console)
                                      : std::fopen(console::work_path(folder, name).c_str(), mode);
  return ScoreFile(file, &std::fclose);
}

// Whether the score just opened may change meter (see MeterFollowing).
inline bool follows_meter_changes(const console::ScoreOpener* opener) {
  return opener != nullptr && opener->last_score_is_sound();
}

}  // namespace zelvo::harmonizer
