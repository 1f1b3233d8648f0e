#pragma once

#include <cstdint>
#include <cstdio>

#include "base/status.h"
#include "engine/model.h"
#include "engine/settings.h"

namespace zelvo::harmonizer {

// Reads the composer's listing (outco.rur): two lines, the timing line
// "tempo,compas-num,compas-den,clicks-parte,clicks-semic", three lines, then
// one note per line as tab-ended integers Inst Cpin Ckin Dur Note Vel. Takes
// the notes whose Inst i satisfies first <= i < first + count, in file
// order, and sets every time setting from the timing line. A null `file`
// cannot be read; more notes in range than the music note table holds stop
// the reading. Messages name the file as `name`.
base::Status read_composer_listing(engine::MusicNoteTable& table, engine::TimeSettings& time, int32_t first,
                                   int32_t count, std::FILE* file, const char* name);

// An integer of the listing: optional blanks, an optional '-', decimal
// digits. 0 when there are no digits; saturates at the int32 limits.
int32_t listing_integer(const char* text);

}  // namespace zelvo::harmonizer
