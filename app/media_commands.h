#pragma once

#include <string>

namespace zelvo::app {

// zelvo render FILE.mid [-o FILE.wav] [--soundfont FILE.sf2] [--gain G]
// argv[0] is "render".
int run_render_command(int argc, char** argv);

// zelvo roll FILE.mid | --work DIR [-o FILE.svg|FILE.png] [--width PX]
// argv[0] is "roll".
int run_roll_command(int argc, char** argv);

// `path` with its extension (if any) replaced by `extension` (".wav").
std::string output_beside(const std::string& path, const char* extension);

}  // namespace zelvo::app
