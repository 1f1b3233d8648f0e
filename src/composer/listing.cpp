#include "composer/listing.h"

#include <cstdio>

namespace zelvo::composer {

std::string listing_text(const ComposerTiming& timing, const NoteTable& table) {
  std::string text = "ZAZAD Output Data\n\n";
  char line[160];
  std::snprintf(line, sizeof line, "%d,%d,%d,%d,%d\t(tempo, compas-num, compas-den, clicks-parte, clicks-semic)\n\n",
                timing.tempo, timing.beats_per_bar, timing.beat_unit, timing.clicks_per_beat,
                timing.clicks_per_sixteenth);
  text += line;
  text += "Inst\tCpin\tCkin\tDur\tNote\tVel\n\n";
  for (int32_t i = 0; i < table.count; ++i) {
    const NoteEvent& e = table.events[i];
    std::snprintf(line, sizeof line, "%d\t%d\t%d\t%d\t%d\t%d\t\n", e.Inst, e.Cpin, e.Ckin, e.Dur, e.Note, e.Vel);
    text += line;
  }
  return text;
}

}  // namespace zelvo::composer
