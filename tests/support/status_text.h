#pragma once

#include <string>

#include "base/status.h"

namespace zelvo::test {

// A step's message in English, as the media commands print it; empty when
// the step went on.
inline std::string english(const base::Status& status) {
  return status.ok() ? std::string() : base::render(status.error(), base::kEnglish);
}

// The same without the line ends the console puts around a job's message,
// for a record that shows it on one line.
inline std::string english_line(const base::Status& status) {
  std::string text = english(status);
  text.erase(0, text.find_first_not_of('\n'));
  text.erase(text.find_last_not_of('\n') + 1);
  return text;
}

}  // namespace zelvo::test
