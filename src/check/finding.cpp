#include "check/finding.h"

#include <algorithm>

namespace zelvo::check {

std::string say(int language, const base::Message& message) {
  std::string text = base::render(message, language);
  // Up to the first NUL, as the fixed buffer it was once printed into held it.
  text.resize(std::min({text.find('\0'), text.size(), kMaxFindingText}));
  return text;
}

std::string format_finding(const Finding& finding) {
  std::string line = finding.file + ": ";
  if (!finding.place.empty()) line += finding.place + ": ";
  return line + finding.text;
}

}  // namespace zelvo::check
