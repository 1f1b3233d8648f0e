#pragma once

#include <string>
#include <string_view>

namespace zelvo::app {

// Prints the usage of command `name` (see command_usage) in `language` to
// standard output, as UTF-8. Returns kExitFinished.
int print_command_usage(std::string_view name, int language);

// Prints "`prefix`: `problem`" and the usage of command `name` in
// `language` to the error stream, as UTF-8. Returns kExitUsage.
int command_usage_error(std::string_view prefix, std::string_view name, int language, const std::string& problem);

// Reads `--lang en|es` at argv[i] into `language`, moving i past its value.
// False when argv[i] is not --lang; true with `problem` set for a missing or
// unknown language.
bool take_language_option(int argc, char** argv, int& i, int& language, std::string& problem);

}  // namespace zelvo::app
