#pragma once

#include <cstdint>
#include <cstdio>

#include "base/status.h"
#include "engine/model.h"
#include "engine/settings.h"

namespace zelvo::harmonizer {

// Reads the parts p with first <= p < first + count of a pretty-printed
// MusicXML file (one element per line, recognised by the text it begins
// with) into `table` from index 0, in file order, and sets compas-num,
// compas-den, the denominator exponent and clicks-parte of `time` from
// <beats> and <beat-type> of every part: the last stated, or, when
// `follow_meter_changes`, the first and the meter map. Tied notes are joined
// into one record. Nothing is written beyond the table. A null `file` cannot
// be read; a fault (a note in a pickup measure, no divisions, a beat type of
// 0, too many notes, a change of meter that cannot be followed) stops the
// reading with its message, naming the file as `name` and the measure.
base::Status read_musicxml(engine::MusicNoteTable& table, engine::TimeSettings& time, int32_t first, int32_t count,
                           std::FILE* file, const char* name, bool follow_meter_changes = false);

// The first run of decimal digits among the first 100 characters of `line`;
// 0 when there is none. Saturates at INT32_MAX.
int32_t tag_number(const char* line);

}  // namespace zelvo::harmonizer
