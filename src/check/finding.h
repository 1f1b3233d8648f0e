#pragma once

// One thing in a work folder that the jobs accept but that is probably a
// mistake, with the file and the place in it.
#include <cstddef>
#include <string>
#include <vector>

#include "base/status.h"

namespace zelvo::check {

struct Finding {
  std::string file;   // "incom.htm", "conar.txt", "inarm.xml"
  std::string place;  // "table TCONF, row 1, column 2", "line 7"; may be empty
  std::string text;   // what was found and what the job will make of it
};

using Findings = std::vector<Finding>;

constexpr size_t kMaxFindingText = 999;  // longer texts are cut, as they always were

// `message` worded in `language` (kEnglish or kSpanish) as a finding's text.
std::string say(int language, const base::Message& message);
// The message of this name with these values, worded so.
template <typename... Args>
std::string say(int language, base::MessageId id, const Args&... args) {
  return say(language, base::Message(id, args...));
}

// "file: place: text" (or "file: text" without a place), one line.
std::string format_finding(const Finding& finding);

}  // namespace zelvo::check
