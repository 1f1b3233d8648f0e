#include "check/finding.h"

#include <cstdarg>
#include <cstdio>

#include "console/job_console.h"

namespace zelvo::check {

std::string say(int language, base::MessagePair pair, ...) {
  char text[1000];
  va_list args;
  va_start(args, pair);
  std::vsnprintf(text, sizeof text, language == base::kSpanish ? pair.spanish : pair.english, args);
  va_end(args);
  return text;
}

std::string format_finding(const Finding& finding) {
  std::string line = finding.file + ": ";
  if (!finding.place.empty()) line += finding.place + ": ";
  return line + finding.text;
}

}  // namespace zelvo::check
