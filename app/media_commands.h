#pragma once

#include <string>
#include <string_view>

namespace zelvo::app {

// The commands that draw or sound link Qt and FluidSynth. They live in a
// second program, zelvo-media, beside zelvo: the job commands start without
// loading those libraries, and `zelvo render ...` runs zelvo-media with the
// same arguments (see app/media/README.md to add one).
constexpr std::string_view kMediaCommands[] = {"render", "roll", "ports", "play", "watch"};

bool is_media_command(std::string_view name);

// Replaces this process with zelvo-media from zelvo's own folder, given the
// same arguments; returns only when it cannot (the message is printed).
int run_media_program(int argc, char** argv);

// zelvo render FILE.mid [-o FILE.wav] [--soundfont FILE.sf2] [--gain G]
// argv[0] is "render".
int run_render_command(int argc, char** argv);

// zelvo roll FILE.mid | --work DIR [-o FILE.svg|FILE.png] [--width PX]
// argv[0] is "roll".
int run_roll_command(int argc, char** argv);

// `path` with its extension (if any) replaced by `extension` (".wav").
std::string output_beside(const std::string& path, const char* extension);

}  // namespace zelvo::app
