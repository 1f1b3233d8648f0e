#include "harmonizer/configured_parts.h"

#include <memory>

#include "harmonizer/configuration.h"

namespace zelvo::harmonizer {

std::optional<int32_t> configured_scale_part(const std::string& folder) {
  auto settings = std::make_unique<engine::HarmonizerSettings>();
  const ConfigurationRead read = read_configuration(*settings, folder);
  if (!read.found || !read.status.ok()) return std::nullopt;
  if (settings->FirstHarmIns >= 0) return settings->FirstHarmIns;
  return static_cast<int32_t>(int64_t{settings->LastMusicIns} + 1);
}

}  // namespace zelvo::harmonizer
