#pragma once

#include <cstdint>
#include <cstdio>

#include "engine/model.h"
#include "engine/settings.h"
#include "harmonizer/meter_reading.h"

namespace zelvo::harmonizer {

enum class XmlResult : int32_t {
  kNotOpened = 0,
  kRead = 1,
  kTooManyNotes,   // more notes than the music note table holds
  kPickupMeasure,  // a note of a part in range in a measure numbered 0
  kNoDivisions,    // a duration to convert while divisions are 0 or unset
  kZeroBeatType,   // <beat-type> of 0
  // A meter that changes and cannot be followed; the problem measure says where.
  kPartsInOtherMeters,
  kTooManyMeterChanges,
  kMeterOutOfOrder,
  kUnusualMeter,
};

// Reads the parts p with first <= p < first + count of a pretty-printed
// MusicXML file (one element per line, recognised by the text it begins
// with) into `table` from index 0, in file order, and sets compas-num,
// compas-den, the denominator exponent and clicks-parte of `time` from
// <beats> and <beat-type> of every part: the last stated, or, when `meters`
// says to follow changes of meter, the first and the meter map. Tied notes are joined
// into one record. Nothing is written beyond the table.
XmlResult read_musicxml(engine::MusicNoteTable& table, engine::TimeSettings& time, int32_t first,
                        int32_t count, const char* file_name, MeterFollowing* meters = nullptr);
// The same from an open stream (kNotOpened when it is null); the caller
// closes it.
XmlResult read_musicxml(engine::MusicNoteTable& table, engine::TimeSettings& time, int32_t first,
                        int32_t count, std::FILE* file, MeterFollowing* meters = nullptr);

// The first run of decimal digits among the first 100 characters of `line`;
// 0 when there is none. Saturates at INT32_MAX.
int32_t tag_number(const char* line);

}  // namespace zelvo::harmonizer
