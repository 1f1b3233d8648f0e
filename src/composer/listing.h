#pragma once

#include <string>

#include "composer/note_events.h"
#include "composer/timing.h"

namespace zelvo::composer {

// The listing of the generated events, in the order of their creation:
//   ZAZAD Output Data
//   <tempo>,<compas-num>,<compas-den>,<clicks-parte>,<clicks-semic>\t(names)
//   Inst\tCpin\tCkin\tDur\tNote\tVel
//   one line per event, each field followed by a tab
// (each of the three header lines followed by an empty line).
std::string listing_text(const ComposerTiming& timing, const NoteTable& table);

}  // namespace zelvo::composer
