// The functions the page's engine.js calls. Every text handed back is a
// malloc'd, NUL-terminated UTF-8 string that the caller frees; the module
// keeps no state between calls.
#include <emscripten/emscripten.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "composition/kinds.h"
#include "roll_json.h"
#include "tables/html_reader.h"
#include "web_command_line.h"

namespace {

char* handed_back(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace

extern "C" {

// One command line, as zelvo-cli.js runs it, on the module's own files.
EMSCRIPTEN_KEEPALIVE int zelvo_command(int argc, char** argv) {
  return zelvo::app::run_web_command_line(argc, argv);
}

// The piano roll of `midi` (and the tone types of `tones`, may be empty) as
// JSON (roll_json.h).
EMSCRIPTEN_KEEPALIVE char* zelvo_roll(const char* midi, int midi_size, const char* tones, int tones_size) {
  return handed_back(zelvo::app::roll_json(std::string_view(midi, static_cast<size_t>(midi_size)),
                                           std::string_view(tones, static_cast<size_t>(tones_size))));
}

// The tooltip of column `column` (from 0) of a table named `kind` (TCONF,
// TCAL, TSAL, TGENC, TGENS) in `language` (0 English, 1 Spanish), in UTF-8
// as the window's editor shows it; empty where there is none.
EMSCRIPTEN_KEEPALIVE char* zelvo_column_help(const char* kind, int column, int language) {
  int32_t found = -1;
  for (int32_t index = 1; index < zelvo::tables::kTableKinds - 1; ++index) {
    if (std::strcmp(zelvo::tables::kTableNames[index], kind) == 0) found = index;
  }
  if (found < 0) return handed_back("");
  return handed_back(zelvo::composition::column_tooltip(found, column, language));
}

}  // extern "C"
