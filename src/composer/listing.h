#pragma once

#include "composer/note_events.h"
#include "composer/timing.h"

namespace zelvo::composer {

// What happened to a file the composer writes.
enum class FileResult { kWritten, kNotCreated, kNotWritten };

// Writes the listing of the generated events, in the order of their creation:
//   ZAZAD Output Data
//   <tempo>,<compas-num>,<compas-den>,<clicks-parte>,<clicks-semic>\t(names)
//   Inst\tCpin\tCkin\tDur\tNote\tVel
//   one line per event, each field followed by a tab
// (each of the three header lines followed by an empty line).
FileResult write_listing(const char* path, const ComposerTiming& timing, const NoteTable& table);

}  // namespace zelvo::composer
