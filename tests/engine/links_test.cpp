#include "engine/links.h"

#include <sstream>
#include <string>
#include <random>

#include "engine/form_unit.h"
#include "engine/line_division.h"
#include "engine_fixture.h"
#include "literal_links.h"
#include "support/files.h"

namespace zelvo::engine {
namespace {

using testing_support::EngineTest;
using testing_support::kQuarter;
using testing_support::kSixteenth;

// Two units: the chord changes at bar 1, click 2048.
class LinksTest : public EngineTest {
 protected:
  void SetUp() override {
    c_major_from_bar_one();
    set_chord(1, 1, 2 * kQuarter, {65, 69, 72});
  }
  void fill_two_units() {
    Engine& e = engine();
    const int32_t last = form_unit(e, 0, 0);
    divide_lines(e, 0);
    mark_outer_lines(e, 0);
    link_units(e, 0);
    form_unit(e, 1, last + 1);
    divide_lines(e, 1);
    mark_outer_lines(e, 1);
    link_units(e, 1);
  }
  const Line& line(int32_t s, int32_t l) { return unit_slot(st(), s).lines[l]; }
};

// The cases of data/engine/link_cases.txt, each on a fresh state: what the
// engine links over the boundary and at what cost.
TEST_F(LinksTest, EveryCaseOfTheTableLinksAsRecorded) {
  for (const std::string& text : test::table_rows("engine/link_cases.txt", 6)) {
    state_ = std::make_unique<EngineState>();
    SetUp();
    std::istringstream words(text.substr(0, text.find('|')));
    int32_t bar = 0, click = 0, inst = 0, dur = 0, pitch = 0;
    char colon = 0;
    words >> bar >> colon >> click;
    set_chord(1, bar, click, {65, 69, 72});
    while (words >> inst >> colon >> bar >> colon >> click >> colon >> dur >> colon >> pitch) {
      add_note(inst, bar, click, dur, pitch);
    }
    fill_two_units();
    // Each line by its first pitch and the line it links to (-1: none).
    std::ostringstream got;
    got << "cost " << st().links.best_cost << ";";
    for (int32_t s = 0; s < 2; ++s) {
      got << (s == 0 ? " from" : "; to");
      for (int32_t l = 0; line(s, l).Ins != -1; ++l) {
        got << " " << line(s, l).notes[0].given_pitch << (s == 0 ? ">" : "<") << (s == 0 ? line(s, l).Lh : line(s, l).Lp);
      }
    }
    EXPECT_EQ(" " + got.str(), text.substr(text.find('|') + 1)) << text;
  }
}

TEST_F(LinksTest, SixtyFourVoicesInUnisonLinkInLineOrder) {
  // Every pair costs 0: the first assignment in list order links line k to
  // line k. Trying every assignment would never end here.
  for (int32_t k = 0; k < 64; ++k) add_note(1, 1, kQuarter, kQuarter, 60);
  for (int32_t k = 0; k < 64; ++k) add_note(1, 1, 2 * kQuarter, kQuarter, 60);
  fill_two_units();
  EXPECT_EQ(st().links.best_cost, 0.0);
  for (int32_t l = 0; l < 64; ++l) EXPECT_EQ(line(0, l).Lh, l);
}

// Random lines on both sides of a boundary (pitches close enough for many
// equal totals, ends and starts around the hole, lists of unequal length),
// linked by the engine and by trying every assignment: the same links.
TEST_F(LinksTest, SameLinksAsTryingEveryAssignment) {
  std::mt19937 rng(17);
  auto pick = [&rng](int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
  };
  set_chord(1, 2, 0, {65, 69, 72});
  int64_t linked = 0;
  for (int32_t round = 0; round < 6000; ++round) {
    settings_.HoleForLine = pick(-1, 4);
    Engine& e = engine();
    literal::LiteralLinks oracle(st(), settings_);
    const int64_t reference = e.time_of(2, 0);
    int32_t counts[2] = {};
    const int32_t first_instrument = pick(0, 2);
    const int32_t instrument_step = pick(1, 9);
    for (int32_t s = 0; s < 2; ++s) {
      UnitSlot& unit = unit_slot(st(), s);
      unit.chord_index = 1;
      for (int32_t inst = first_instrument; inst <= 16; inst += instrument_step) {
        for (int32_t k = pick(0, 8); k > 0; --k) {
          clear_line(unit, counts[s]);  // as the line division takes a line
          Line& l = unit.lines[counts[s]++];
          l.Ins = inst;
          l.Tmno = pick(1, 2);
          const int32_t duration = pick(1, 4) * kSixteenth;
          const int64_t start = s == 0 ? reference - duration - pick(-2, 6) * kSixteenth
                                       : reference + pick(-2, 6) * kSixteenth;
          for (int32_t n = 0; n < l.Tmno; ++n) {
            const int64_t t = start + (s == 0 ? n - l.Tmno + 1 : n) * duration;
            l.notes[n] = LineNote{static_cast<int32_t>(t / 4096), static_cast<int32_t>(t % 4096),
                                  duration, pick(56, 66), 100, 0};
          }
        }
      }
      unit.lines[counts[s]].Ins = -1;
    }
    link_units(e, 1);
    int32_t links[2][kMaxLines];
    for (int32_t s = 0; s < 2; ++s) {
      for (int32_t l = 0; l < counts[s]; ++l) {
        Line& line = unit_slot(st(), s).lines[l];
        links[s][l] = s == 0 ? line.Lh : line.Lp;
        line.Lh = line.Lp = -1;
      }
    }
    oracle.link_units(1);
    for (int32_t s = 0; s < 2; ++s) {
      for (int32_t l = 0; l < counts[s]; ++l) {
        const Line& line = unit_slot(st(), s).lines[l];
        ASSERT_EQ(links[s][l], s == 0 ? line.Lh : line.Lp) << "round " << round << " slot " << s;
        if (s == 0 && line.Lh != -1) ++linked;
      }
    }
    for (int32_t s = 0; s < 2; ++s) {
      for (int32_t l = 0; l < counts[s]; ++l) unit_slot(st(), s).lines[l] = Line{};
    }
  }
  EXPECT_GT(linked, 25000);
}

TEST_F(LinksTest, UnitStartingInsideAChordMeasuresFromTheChordStart) {
  // The scale changes in the middle of the chord that began at click 2048:
  // the third unit's line starts 2048 clicks after its chord began.
  set_scale(1, 2, 0, {60, 62, 64, 65, 67, 69, 70});
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, kQuarter, kQuarter, 62);
  add_note(1, 1, 2 * kQuarter, 2 * kQuarter, 64);
  add_note(1, 2, 0, kQuarter, 65);
  add_note(1, 2, kQuarter, kQuarter, 67);
  Engine& e = engine();
  int32_t next = 0;
  for (int32_t s = 0; s < 3; ++s) {
    next = form_unit(e, s, next) + 1;
    divide_lines(e, s);
    mark_outer_lines(e, s);
    link_units(e, s);
  }
  EXPECT_EQ(line(0, 0).Lh, 0);
  EXPECT_EQ(line(1, 0).Lh, -1);
  EXPECT_EQ(line(2, 0).Lp, -1);
}

}  // namespace
}  // namespace zelvo::engine
