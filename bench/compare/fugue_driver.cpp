// Harmonizes the prepared fugue (bench/fugue/fugue_prepared.txt) in the
// current folder under one of a few settings, with the debug listings on,
// and prints the console text and the harmonized note table. Built against
// two source trees by compare_engine_outputs.sh to compare their outputs.
//   usage: fugue_driver FILE VARIANT
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "console/job_console.h"
#include "console/job_end.h"
#include "engine/harmonize_units.h"
#include "harmonizer/debug_listings.h"
#include "harmonizer/harmonizer_state.h"

using namespace zelvo;

// The engine's progress on the console. The driver is built against an
// older tree too, so the interface is taken from harmonize_units itself.
template <typename Function>
struct ProgressOf;
template <typename Result, typename State, typename Settings, typename Lines, typename... Rest>
struct ProgressOf<Result (*)(State, Settings, Lines&, Rest...)> {
  using type = Lines;
};
using Progress = ProgressOf<decltype(&engine::harmonize_units)>::type;

class ConsoleLines final : public Progress {
 public:
  explicit ConsoleLines(console::JobConsole& console) : console_(console) {}
  void show(const base::Message& line) override { console_.print(line); }
  void check_stop() override { console_.check_stop(); }

 private:
  console::JobConsole& console_;
};

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  auto state = std::make_unique<harmonizer::HarmonizerState>();
  engine::EngineState& st = state->engine;
  engine::HarmonizerSettings& set = state->settings;
  std::ifstream in(argv[1]);
  std::string text;
  int32_t chords = 0, scales = 0;
  while (std::getline(in, text)) {
    std::istringstream f(text);
    std::string kind;
    f >> kind;
    if (kind == "time") {
      f >> set.time.beats_per_bar >> set.time.clicks_per_beat >> set.time.clicks_per_sixteenth;
    } else if (kind == "chord" || kind == "scale") {
      engine::HarmonyEntry& e = kind == "chord" ? st.chords.entries[chords++] : st.scales.entries[scales++];
      std::string marks;
      f >> e.bar >> e.click >> marks;
      std::snprintf(e.marks, engine::kMarksSize, "%s", marks.c_str());
    } else if (kind == "note") {
      engine::MusicNote& n = st.music.notes[st.music.note_count++];
      f >> n.Inst >> n.Cpin >> n.Ckin >> n.Dur >> n.Note >> n.Vel >> n.tie_flags;
    }
  }
  const int variant = std::atoi(argv[2]);
  set.MelIns = 1;
  set.BassIns = 4;
  for (auto& row : set.NonHarmTonesSort)
    for (int32_t& s : row) s = 1;
  const float weights[7] = {10, 100, 20, 10, 5, 0, 0};
  for (auto& row : set.NonHarmTonesCoef)
    for (int k = 0; k < 7; ++k) row[k] = weights[k];
  set.NonHarmTonesCoef[4][5] = 50;
  set.NonHarmTonesCoef[1][6] = 50;
  set.Debug = 1;
  set.ShowLineInfo = 1;
  if (variant == 1) { set.MelIns = -1; set.BassIns = -1; set.OpeningInt = 6; set.NonHarmToneDur = 8; }
  if (variant == 2) { set.LinkLimit = 1; set.HoleForLine = 8; set.NonHarmTonesCoef[16][5] = 7.5f; }
  if (variant == 3) { set.LinkLimit = 3; set.LimitNotesThirdIn = 6; set.LimitNotesThirdBM = 4; set.OpeningInt = 2; }
  if (variant == 4) { set.Debug = 0; set.MelIns = -2; set.BassIns = -2; set.NonHarmTonesCoef[2][2] = 0.3f; }
  console::StandaloneConsole console;
  harmonizer::DebugListings listings(*state, console);
  int32_t result = -1;
  ConsoleLines lines(console);
  try {
    const base::Status harmonized = engine::harmonize_units(st, set, lines, &listings);
    if (!harmonized.ok()) console::fail(console, harmonized.error());
    result = st.music.note_count;
  } catch (...) {
    std::printf("aborted\n");
  }
  std::printf("%s\n--- result %d\n", console.store().contents().c_str(), result);
  for (int32_t i = 0; i < st.music.note_count; ++i) {
    const engine::MusicNote& n = st.music.notes[i];
    std::printf("%d %d %d %d %d %d %u\n", n.Inst, n.Cpin, n.Ckin, n.Dur, n.Note, n.Vel, n.tie_flags);
  }
  return 0;
}
