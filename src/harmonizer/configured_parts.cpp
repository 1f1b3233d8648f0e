#include "harmonizer/configured_parts.h"

#include <memory>

#include "console/job_end.h"
#include "harmonizer/configuration.h"

namespace zelvo::harmonizer {

std::optional<int32_t> configured_scale_part(const std::string& folder) {
  // The reader prints its errors; nobody sees this console.
  auto scratch = std::make_unique<console::StandaloneConsole>();
  auto settings = std::make_unique<engine::HarmonizerSettings>();
  try {
    if (read_configuration(*settings, *scratch, folder) == 0) return std::nullopt;
  } catch (const console::JobEnded&) {
    return std::nullopt;
  }
  if (settings->FirstHarmIns >= 0) return settings->FirstHarmIns;
  return static_cast<int32_t>(int64_t{settings->LastMusicIns} + 1);
}

}  // namespace zelvo::harmonizer
