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

base::Status find_soundfont(const std::string& given, std::string& path, const std::string& folder) {
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
    if (!readable(chosen)) return base::Message(base::MessageId::kSoundfontUnreadable, chosen, from);
    path = chosen;
    return base::Status();
  }
  for (const char* name : {"FluidR3_GM.sf2", "TimGM6mb.sf2", "default-GM.sf2"}) {
    const std::string candidate = files::join_path(folder, name);
    if (readable(candidate)) {
      path = candidate;
      return base::Status();
    }
  }
  return base::Message(base::MessageId::kNoSoundfont, folder, kSoundfontPackages);
}

}  // namespace zelvo::audio
