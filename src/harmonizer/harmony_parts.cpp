#include "harmonizer/harmony_parts.h"

#include <cstring>

#include "base/work_files.h"
#include "base/message_id.h"

namespace zelvo::harmonizer {

using enum base::MessageId;

namespace {

constexpr int32_t kLineBuffer = 400;
constexpr char kPartTag[] = "<part id=\"";

}  // namespace

std::string score_part_ids(std::FILE* file) {
  std::string ids;
  int32_t count = 0;
  if (file != nullptr) {
    std::rewind(file);
    char line[kLineBuffer];
    while (std::fgets(line, kLineBuffer, file) != nullptr) {
      const char* tag = std::strchr(line, '<');
      if (tag == nullptr || std::strncmp(tag, kPartTag, sizeof kPartTag - 1) != 0) continue;
      if (++count > kListedParts) {
        ids += ", ...";
        break;
      }
      const char* id = tag + sizeof kPartTag - 1;
      const char* end = std::strchr(id, '"');
      if (!ids.empty()) ids += ", ";
      // Shown as the console shows text: control bytes become '?'.
      for (const char* c = id; c != end && *c != '\0' && *c != '\n'; ++c) {
        ids += static_cast<unsigned char>(*c) < 0x20 ? '?' : *c;
      }
    }
  }
  return ids.empty() ? std::string("none") : ids;
}

void refuse_missing_harmony(base::ProgressLines& progress, const engine::HarmonizerSettings& settings,
                            std::FILE* file) {
  progress.note(base::Message(kNoHarmony));
  const int64_t scale = settings.FirstHarmIns;
  const int64_t last_chord = scale + settings.HarmInsNum - 1;
  const std::string ids = score_part_ids(file);
  base::stop_with(base::Message(kHarmonyPartsLookedFor, base::kHarmonyFile, static_cast<long long>(scale), static_cast<long long>(scale + 1), static_cast<long long>(last_chord), ids.c_str()));
}

}  // namespace zelvo::harmonizer
