#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/progress_lines.h"
#include "engine/settings.h"

namespace zelvo::harmonizer {

// The ids of the parts of a score laid out one element per line, as
// written, in file order and separated by ", " (at most kListedParts, then
// "..."); "none" when it has none. Reads `file` from its start.
constexpr int32_t kListedParts = 20;
std::string score_part_ids(std::FILE* file);

// Refuses a harmony file without a scale or without chords where the
// configuration looks for them: the usual message, then the parts looked
// for (by the digits of their ids) and the ids the file has.
[[noreturn]] void refuse_missing_harmony(base::ProgressLines& progress, const engine::HarmonizerSettings& settings,
                                         std::FILE* file);

}  // namespace zelvo::harmonizer
