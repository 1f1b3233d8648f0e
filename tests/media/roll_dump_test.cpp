// Every MIDI file of tests/data/roll read into a piano roll and written out
// as text, against the recorded <file>.roll.txt beside it (ZELVO_UPDATE=1
// rewrites the records, to be reviewed as a diff).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "midi/timeline.h"
#include "roll/piano_roll.h"
#include "roll/tones.h"
#include "support/files.h"
#include "support/status_text.h"

namespace zelvo::roll {
namespace {

std::string dump(const std::filesystem::path& midi) {
  midi::Timeline song;
  // Faults are recorded without the file's name, which differs between machines.
  const base::Status read = midi::read_timeline(test::read_file(midi), song);
  if (!read.ok()) return "error: " + test::english(read) + "\n";
  PianoRoll roll = make_piano_roll(song);
  apply_tones(test::read_file(std::filesystem::path(midi).replace_extension(".tones")), roll);
  const TempoMap tempo(song);
  char line[160];
  std::snprintf(line, sizeof line, "division %d, end %lld = %.6f s, %zu events, channels %04x, pitches %d-%d\n",
                roll.division, static_cast<long long>(roll.end_tick), tempo.seconds(roll.end_tick),
                song.events.size(), roll.channels, roll.lowest, roll.highest);
  std::string out = line;
  out += "bars:";
  for (const BarLine& bar : roll.bars) {
    out += " " + std::to_string(bar.number) + "@" + std::to_string(bar.tick);
    if (bar.numerator != 0) out += "(" + std::to_string(bar.numerator) + "/" + std::to_string(1 << bar.denominator_exponent) + ")";
  }
  out += "\n";
  for (const RollNote& note : roll.notes) {
    std::snprintf(line, sizeof line, "%lld-%lld ch%d p%d v%d given %d %s\n", static_cast<long long>(note.start),
                  static_cast<long long>(note.end), note.channel + 1, note.pitch, note.velocity, note.given_pitch,
                  std::string(tone_type_label(note.tone_type)).c_str());
    out += line;
  }
  for (const HeldTone& held : roll.held_tones) {
    std::snprintf(line, sizeof line, "held %lld ch%d p%d %s\n", static_cast<long long>(held.tick), held.channel + 1,
                  held.pitch, std::string(tone_type_label(held.tone_type)).c_str());
    out += line;
  }
  return out;
}

TEST(RollDumpTest, EveryRecordedFileReadsAsRecorded) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ZELVO_TEST_DATA "/roll")) {
    const std::filesystem::path path = entry.path();
    if (path.extension() != ".mid" && path.extension() != ".txt") continue;
    if (path.string().ends_with(".roll.txt") || path.filename() == "cases.txt" || path.filename() == "errors.txt") {
      continue;
    }
    ++files;
    test::expect_recorded(path.string() + ".roll.txt", dump(path));
  }
  EXPECT_GE(files, 10);
}

}  // namespace
}  // namespace zelvo::roll
