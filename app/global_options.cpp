#include "global_options.h"

#include <string_view>

#include "command_help.h"
#include "base/message.h"

namespace zelvo::app {

namespace {

// Options of the job and project commands that take a value and may come
// before the command's name, as they always could.
constexpr std::string_view kValueOptions[] = {"--grid", "--set", "--template", "--project"};

bool takes_value(std::string_view option) {
  for (const std::string_view name : kValueOptions) {
    if (name == option) return true;
  }
  return false;
}

}  // namespace

bool take_global_options(std::vector<std::string>& args, GlobalOptions& options, std::string& problem) {
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg != "--work" && arg != "--lang") {
      rest.push_back(arg);
      // A job option's value is never read as a global option.
      if (takes_value(arg) && i + 1 < args.size()) rest.push_back(args[++i]);
      continue;
    }
    // A problem is told in the language given before it, if any.
    const int language = options.language == "es" ? base::kSpanish : base::kEnglish;
    if (i + 1 >= args.size()) {
      problem = usage_problem(UsageProblem::kMissingValue, language, arg);
      return false;
    }
    const std::string& value = args[++i];
    if (arg == "--work") {
      options.work = value;
    } else if (value == "en" || value == "es") {
      options.language = value;
    } else {
      problem = usage_problem(UsageProblem::kLanguageValue, language);
      return false;
    }
  }
  args.swap(rest);
  return true;
}

std::string command_word(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (takes_value(args[i])) {
      ++i;
    } else if (args[i].empty() || args[i][0] != '-') {
      return args[i];
    }
  }
  return "";
}

}  // namespace zelvo::app
