#include "usage_output.h"

#include <cstdio>

#include "command_help.h"
#include "command_line.h"
#include "base/message.h"
#include "base/windows1252.h"

namespace zelvo::app {

int print_command_usage(std::string_view name, int language) {
  std::fputs(base::to_utf8(command_usage(name, language)).c_str(), stdout);
  return kExitFinished;
}

int command_usage_error(std::string_view prefix, std::string_view name, int language, const std::string& problem) {
  const std::string text = std::string(prefix) + ": " + problem + "\n" + command_usage(name, language);
  std::fputs(base::to_utf8(text).c_str(), stderr);
  return kExitUsage;
}

bool take_language_option(int argc, char** argv, int& i, int& language, std::string& problem) {
  if (std::string_view(argv[i]) != "--lang") return false;
  if (i + 1 >= argc) {
    problem = usage_problem(UsageProblem::kMissingValue, language, "--lang");
    return true;
  }
  const std::string_view value = argv[++i];
  if (value == "en" || value == "es") {
    language = value == "es" ? base::kSpanish : base::kEnglish;
  } else {
    problem = usage_problem(UsageProblem::kLanguageValue, language);
  }
  return true;
}

}  // namespace zelvo::app
