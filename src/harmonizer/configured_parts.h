#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zelvo::harmonizer {

// The part where the work's configuration (conar.rur, else conar.txt, in the
// work folder `folder`; empty: the current directory) reads the scales, the chords being the next ones:
// FirstHarmIns, or LastMusicIns + 1 when it is negative. Nothing when there
// is no configuration file or it stops at a bad line.
std::optional<int32_t> configured_scale_part(const std::string& folder);

}  // namespace zelvo::harmonizer
