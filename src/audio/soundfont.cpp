#include "audio/soundfont.h"
#include "files/paths.h"

#include <cstdlib>
#include <fstream>

namespace zelvo::audio {

namespace {

bool readable(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char byte = 0;
  return in && in.read(&byte, 1);
}

}  // namespace

bool find_soundfont(const std::string& given, std::string& path, std::string& error, const std::string& folder) {
  std::string chosen = given;
  const char* from = "--soundfont";
  if (chosen.empty()) {
    const char* variable = std::getenv("ZELVO_SOUNDFONT");
    if (variable != nullptr && *variable != '\0') {
      chosen = variable;
      from = "ZELVO_SOUNDFONT";
    }
  }
  if (!chosen.empty()) {
    if (!readable(chosen)) {
      error = "the soundfont " + chosen + " (" + from + ") cannot be read";
      return false;
    }
    path = chosen;
    return true;
  }
  for (const char* name : {"FluidR3_GM.sf2", "TimGM6mb.sf2", "default-GM.sf2"}) {
    const std::string candidate = files::join_path(folder, name);
    if (readable(candidate)) {
      path = candidate;
      return true;
    }
  }
  error = "no General MIDI soundfont in " + folder + ": install " + kSoundfontPackages +
          " (apt install fluid-soundfont-gm), or name one with --soundfont or ZELVO_SOUNDFONT";
  return false;
}

}  // namespace zelvo::audio
