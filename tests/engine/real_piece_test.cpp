// A real piece: the four voices of a fugue (exported from a score, read and
// cut by the harmonizer's readers) under chords and a scale taken from its
// own notes. Every chosen note is checked against the rules independently
// of the search.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/harmonize_units.h"
#include "engine_fixture.h"

namespace zelvo::engine {
namespace {

using testing_support::EngineTest;

bool present(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '#'; }

class RuleChecker : public DebugListener {
 public:
  explicit RuleChecker(const HarmonizerSettings& settings) : settings_(settings) {}
  std::vector<std::string> errors;
  int32_t units = 0;
  int32_t notes = 0;
  int32_t non_harmonic = 0;

  void list_units(EngineState& state) override {
    ++units;
    const UnitSlot& unit = unit_slot(state, 0);
    const HarmonyEntry& chord = state.chords.entries[unit.chord_index];
    const HarmonyEntry& scale = state.scales.entries[unit.scale_index];
    for (int32_t l = 0; l < kMaxLines && unit.lines[l].Ins != -1; ++l) {
      const Line& line = unit.lines[l];
      const Candidate& chosen = unit.candidates[l][line.Arn];
      for (int32_t k = 0; k < line.Tmno; ++k) check_note(line, chosen, k, chord, scale);
    }
  }

 private:
  void fail(const char* what, const LineNote& n) {
    errors.push_back(std::string(what) + " at bar " + std::to_string(n.bar) + " click " +
                     std::to_string(n.click));
  }
  void check_note(const Line& line, const Candidate& chosen, int32_t k, const HarmonyEntry& chord,
                  const HarmonyEntry& scale) {
    ++notes;
    const LineNote& n = line.notes[k];
    const int32_t p = chosen.notes[k].pitch;
    const int32_t t = chosen.notes[k].type;
    bool has_previous = true;
    int32_t previous_type = 0;
    int32_t previous_pitch = 0;
    if (k > 0) {
      previous_type = chosen.notes[k - 1].type;
      previous_pitch = chosen.notes[k - 1].pitch;
    } else {
      has_previous = line.npadre.bar != -1;
      previous_type = line.npadre.tone_type;
      previous_pitch = line.npadre.chosen_pitch;
    }
    int32_t lowest = -settings_.OpeningInt;
    int32_t highest = settings_.OpeningInt;
    if (!has_previous || previous_type == kRe) {
      if (line.Tipo == kBassLine) lowest = -12;
      if (line.Tipo == kMelodyLine) highest = 6;
    }
    if (p - n.given_pitch < lowest || p - n.given_pitch > highest) fail("out of reach", n);
    if (t == kRe) {
      if (!present(chord.marks[p % 12])) fail("chord tone outside the chord", n);
      if (has_previous && previous_type != kRe) {
        const int32_t d = p - previous_pitch;
        const bool down = d == -1 || d == -2;
        const bool up = d == 1 || d == 2;
        const bool resolved[8] = {down, up, up, down, down, up, d <= -3, d >= 3};
        if (!resolved[previous_type]) fail("non-harmonic tone left wrongly", n);
      }
      return;
    }
    ASSERT_TRUE(t >= 0 && t < kNonHarmonicTypes);
    ++non_harmonic;
    if (settings_.NonHarmTonesSort[line.Ins][t] != 1) fail("tone type not allowed", n);
    if (!present(scale.marks[p % 12])) fail("non-harmonic tone outside the scale", n);
    if (k == line.Tmno - 1 && (t == kAs || t == kAi)) fail("accented tone last", n);
    const int32_t nhd = settings_.NonHarmToneDur;
    const int32_t limit = (t == kAs || t == kAi) ? 2 * nhd : (t >= kEa ? nhd / 2 : nhd);
    if (n.duration / settings_.time.clicks_semic > limit) fail("non-harmonic tone too long", n);
  }
  const HarmonizerSettings& settings_;
};

class RealPieceTest : public EngineTest {
 protected:
  void load(const std::string& name) {
    std::ifstream in(std::string(ZELVO_TEST_DATA) + "/engine/" + name);
    ASSERT_TRUE(in) << name;
    std::string line;
    int32_t chords = 0, scales = 0;
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      std::string kind;
      fields >> kind;
      if (kind == "time") {
        fields >> settings_.time.compas_num >> settings_.time.clicks_parte >> settings_.time.clicks_semic;
      } else if (kind == "chord" || kind == "scale") {
        HarmonyEntry& e = kind == "chord" ? st().chords.entries[chords++] : st().scales.entries[scales++];
        std::string marks;
        fields >> e.bar >> e.click >> marks;
        std::snprintf(e.marks, kMarksSize, "%s", marks.c_str());
      } else if (kind == "note") {
        MusicNote& n = st().music.notes[st().music.note_count++];
        fields >> n.Inst >> n.Cpin >> n.Ckin >> n.Dur >> n.Note >> n.Vel >> n.tie_flags;
      }
    }
  }
  // The configuration of the piece: melody in the first violin, bass in the
  // cello, every non-harmonic type allowed, contour and outer-note weights.
  void configure() {
    settings_.MelIns = 1;
    settings_.BassIns = 4;
    for (auto& row : settings_.NonHarmTonesSort) {
      for (int32_t& s : row) s = 1;
    }
    const float weights[7] = {10, 100, 20, 10, 5, 0, 0};
    for (auto& row : settings_.NonHarmTonesCoef) std::copy(weights, weights + 7, row);
    settings_.NonHarmTonesCoef[4][5] = 50;
    settings_.NonHarmTonesCoef[1][6] = 50;
  }
  using NoteKey = std::tuple<int32_t, int32_t, int32_t, int32_t>;
  std::vector<NoteKey> timing() {
    std::vector<NoteKey> keys;
    for (int32_t i = 0; i < st().music.note_count; ++i) {
      const MusicNote& n = st().music.notes[i];
      keys.emplace_back(n.Inst, n.Cpin, n.Ckin, n.Dur);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
  }
};

TEST_F(RealPieceTest, FugueHarmonizedWithinTheRules) {
  load("fugue_prepared.txt");
  configure();
  settings_.Debug = 1;  // the checker sits on the unit listing's call point
  ASSERT_EQ(st().music.note_count, 916);
  const std::vector<NoteKey> given = timing();
  RuleChecker checker(settings_);
  EXPECT_EQ(harmonize_units(st(), settings_, console_, &checker), 916);
  EXPECT_EQ(checker.units, 58);
  EXPECT_EQ(checker.notes, 916);
  EXPECT_GT(checker.non_harmonic, 100);
  for (size_t i = 0; i < checker.errors.size() && i < 20; ++i) ADD_FAILURE() << checker.errors[i];
  EXPECT_EQ(timing(), given);  // every note comes back once, where it was
}

TEST_F(RealPieceTest, FugueWithDefaultSettings) {
  load("fugue_prepared.txt");
  settings_.Debug = 1;
  RuleChecker checker(settings_);
  EXPECT_EQ(harmonize_units(st(), settings_, console_, &checker), 916);
  for (size_t i = 0; i < checker.errors.size() && i < 20; ++i) ADD_FAILURE() << checker.errors[i];
  EXPECT_EQ(checker.non_harmonic, 0);  // instruments 1-4 allow no non-harmonic type
}

}  // namespace
}  // namespace zelvo::engine
