#pragma once

#include <string>

#include "base/status.h"

namespace zelvo::test {

// A step's message in English, as the media commands print it; empty when
// the step went on.
inline std::string english(const base::Status& status) {
  return status.ok() ? std::string() : base::render(status.error(), base::kEnglish);
}

}  // namespace zelvo::test
