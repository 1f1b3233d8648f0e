#pragma once

#include <cstdint>
#include <cstdio>

#include "engine/model.h"
#include "engine/settings.h"

namespace zelvo::harmonizer {

enum class ListingResult : int32_t {
  kNotOpened = 0,
  kRead = 1,
  kTooManyNotes,  // more notes in range than the music note table holds
};

// Reads the composer's listing (outco.rur): two lines, the timing line
// "tempo,compas-num,compas-den,clicks-parte,clicks-semic", three lines, then
// one note per line as tab-ended integers Inst Cpin Ckin Dur Note Vel. Takes
// the notes whose Inst i satisfies first <= i < first + count, in file
// order, and sets every time setting from the timing line.
ListingResult read_composer_listing(engine::MusicNoteTable& table, engine::TimeSettings& time,
                                    int32_t first, int32_t count, const char* file_name);
// The same from an open stream (null: kNotOpened); the caller closes it.
ListingResult read_composer_listing(engine::MusicNoteTable& table, engine::TimeSettings& time,
                                    int32_t first, int32_t count, std::FILE* file);

// An integer of the listing: optional blanks, an optional '-', decimal
// digits. 0 when there are no digits; saturates at the int32 limits.
int32_t listing_integer(const char* text);

}  // namespace zelvo::harmonizer
