#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

#include "console/job_console.h"
#include "engine/context.h"
#include "engine/model.h"
#include "base/progress_lines.h"
#include "engine/settings.h"

namespace zelvo::engine::testing_support {

// 4/4, 1024 clicks per quarter, 256 per sixteenth: a bar is 4096 clicks.
constexpr int32_t kQuarter = 1024;
constexpr int32_t kSixteenth = 256;

// Marks of a chord built from `pitches` the way the harmony reader marks
// them: present, doubled, then the lowest as bass and the highest as top.
inline void chord_marks(char (&marks)[kMarksSize], std::initializer_list<int32_t> pitches,
                        bool outer = true) {
  std::memset(marks, 0, sizeof(marks));
  std::memcpy(marks, kEmptyMarks, 12);
  static constexpr char kNames[] = "C#D#EF#G#A#B";
  int32_t low = 200, high = 0;
  for (int32_t p : pitches) {
    char& c = marks[p % 12];
    if ((c >= 'A' && c <= 'Z') || c == '#') c = '1';
    if ((c >= 'a' && c <= 'z') || c == '_') c = kNames[p % 12];
    if (p < low) low = p;
    if (p > high) high = p;
  }
  if (!outer) return;
  char& b = marks[low % 12];
  if (!(b >= '0' && b <= '9')) b = '0';
  b = static_cast<char>(b | 2);
  char& t = marks[high % 12];
  if (!(t >= '0' && t <= '9')) t = '0';
  t = static_cast<char>(t | 4);
}

class EngineTest : public ::testing::Test {
 protected:
  std::unique_ptr<EngineState> state_ = std::make_unique<EngineState>();
  HarmonizerSettings settings_;
  console::StandaloneConsole console_;
  base::ProgressLines& lines_ = console_;  // the progress printed on the console
  std::unique_ptr<Engine> engine_;

  EngineState& st() { return *state_; }
  // Builds the engine context after the settings are final.
  Engine& engine() {
    engine_ = std::make_unique<Engine>(*state_, settings_, lines_, nullptr);
    return *engine_;
  }

  void add_note(int32_t inst, int32_t bar, int32_t click, int32_t dur, int32_t pitch,
                uint32_t ties = 0) {
    MusicNote& n = st().music.notes[st().music.note_count++];
    n = MusicNote{inst, bar, click, dur, pitch, 100, ties};
  }
  void set_chord(int32_t k, int32_t bar, int32_t click, std::initializer_list<int32_t> pitches) {
    HarmonyEntry& e = st().chords.entries[k];
    e.bar = bar;
    e.click = click;
    chord_marks(e.marks, pitches);
  }
  void set_scale(int32_t k, int32_t bar, int32_t click, std::initializer_list<int32_t> pitches) {
    HarmonyEntry& e = st().scales.entries[k];
    e.bar = bar;
    e.click = click;
    chord_marks(e.marks, pitches, false);
  }
  // C major triad and C major scale from bar 1.
  void c_major_from_bar_one() {
    set_chord(0, 1, 0, {60, 64, 67});
    set_scale(0, 1, 0, {60, 62, 64, 65, 67, 69, 71});
  }
  std::string console_text() { return console_.store().contents(); }
};

}  // namespace zelvo::engine::testing_support
