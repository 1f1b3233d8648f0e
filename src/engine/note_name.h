#pragma once

#include <cstdint>

namespace zelvo::engine {

constexpr int32_t kNoteNameSize = 16;

// A pitch as the summaries and listings print it: a letter for its pitch
// class ("cCdDefFgGaAb", uppercase for the sharp; X for a negative pitch that
// is not a multiple of 12), then pitch / 12, less 1 when that is 1 or more.
// 60 is "c4", 61 "C4", 0 and 12 "c0", -1 "X0". Writes into `out`.
const char* note_name(int32_t pitch, char (&out)[kNoteNameSize]);

}  // namespace zelvo::engine
