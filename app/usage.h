#pragma once

// The command line's own words (its usage and its refusals) in the
// language --lang chose, wherever --lang stands among the arguments. UTF-8:
// they go straight to the terminal.
#include <string>

namespace zelvo::app {

// console::kSpanish when the arguments hold --lang es, else kEnglish.
int language_of_arguments(int argc, char** argv);

// zelvo --help.
const char* usage_text(int language);

// One of the command line's refusals: `english` or its Spanish text, with
// `value` where the text has %s.
std::string refusal(int language, const char* english, const std::string& value = std::string());

}  // namespace zelvo::app
