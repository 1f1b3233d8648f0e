#pragma once

#include <string>
#include <vector>

namespace zelvo::app {

// The options every command takes, before or after the command's name:
//   --work DIR    the work folder (default: the current directory)
//   --lang en|es  the language of the console
struct GlobalOptions {
  std::string work;      // empty: not given
  std::string language;  // "en", "es", or empty: not given
};

// Takes --work and --lang, each with its value, out of `args` wherever they
// stand, the later of two winning. False, with `problem` set, for an option
// without its value or a language other than en and es.
bool take_global_options(std::vector<std::string>& args, GlobalOptions& options, std::string& problem);

// The name of the command `args` (without the program's name and without
// the global options) asks for: the first word that is neither an option
// nor the value of one of the job options written before it
// (`--notation --grid 16 compose`). Empty when there is none.
std::string command_word(const std::vector<std::string>& args);

}  // namespace zelvo::app
