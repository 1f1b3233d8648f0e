#pragma once

// One thing in a work folder that the jobs accept but that is probably a
// mistake, with the file and the place in it.
#include <string>
#include <vector>

#include "base/message.h"

namespace zelvo::check {

struct Finding {
  std::string file;   // "incom.htm", "conar.txt", "inarm.xml"
  std::string place;  // "table TCONF, row 1, column 2", "line 7"; may be empty
  std::string text;   // what was found and what the job will make of it
};

using Findings = std::vector<Finding>;

// Formats `pair` (English or Spanish by `language`) into a finding's text.
std::string say(int language, base::MessagePair pair, ...);

// "file: place: text" (or "file: text" without a place), one line.
std::string format_finding(const Finding& finding);

}  // namespace zelvo::check
