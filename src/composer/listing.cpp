#include "composer/listing.h"

#include <cstdio>
#include <memory>

namespace zelvo::composer {

FileResult write_listing(const char* path, const ComposerTiming& timing, const NoteTable& table) {
  std::FILE* raw = std::fopen(path, "w");
  if (raw == nullptr) return FileResult::kNotCreated;
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(raw, &std::fclose);

  bool ok = std::fputs("ZAZAD Output Data\n\n", raw) >= 0;
  ok = ok && std::fprintf(raw, "%d,%d,%d,%d,%d\t(tempo, compas-num, compas-den, clicks-parte, clicks-semic)\n\n",
                          timing.tempo, timing.beats_per_bar, timing.beat_unit, timing.clicks_per_beat,
                          timing.clicks_per_sixteenth) >= 0;
  ok = ok && std::fputs("Inst\tCpin\tCkin\tDur\tNote\tVel\n\n", raw) >= 0;
  for (int32_t i = 0; ok && i < table.count; ++i) {
    const NoteEvent& e = table.events[i];
    ok = std::fprintf(raw, "%d\t%d\t%d\t%d\t%d\t%d\t\n", e.Inst, e.Cpin, e.Ckin, e.Dur, e.Note, e.Vel) >= 0;
  }
  ok = ok && std::fflush(raw) == 0 && std::ferror(raw) == 0;
  const bool closed = std::fclose(file.release()) == 0;
  return ok && closed ? FileResult::kWritten : FileResult::kNotWritten;
}

}  // namespace zelvo::composer
