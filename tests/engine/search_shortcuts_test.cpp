// The path search's shortcuts against the plain procedures they stand for:
// the pool sort that ends a step early, the memo of tone-rule choices and
// the rules answered for all types at once.
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "engine/form_unit.h"
#include "engine/line_division.h"
#include "engine/path_pool.h"
#include "engine/path_search.h"
#include "engine/tone_choices.h"
#include "engine/tone_rules.h"
#include "engine_fixture.h"

namespace zelvo::engine {
namespace {

using testing_support::EngineTest;
using testing_support::kQuarter;
using testing_support::kSixteenth;

using ShortcutTest = EngineTest;

// Pools of free (-1), in-use (-2) and scored entries with many equal costs,
// some NaN and -0.0, each entry told apart by its first two pitches. From
// round 40 on the pools look like the search's own: the scored entries
// first (the search takes the lowest free entries), a few more scattered,
// every other entry free.
TEST_F(ShortcutTest, SortPoolGivesThePlainExchangeOrder) {
  Engine& e = engine();
  std::mt19937 rng(7);
  const double costs[] = {-1.0, -1.0, -1.0, -2.0, 0.0, -0.0, 0.25, 0.25, 0.5, 3.0, NAN};
  for (int32_t round = 0; round < 80; ++round) {
    std::vector<std::pair<double, int32_t>> plain;
    const int32_t kinds = 2 + round % 10;
    const int32_t front = static_cast<int32_t>(rng() % 120);
    for (int32_t x = 0; x < kPoolSize; ++x) {
      PoolEntry& entry = st().pool.entries[x];
      entry.cost = costs[rng() % kinds];
      if (round < 10 && entry.cost >= 0.0) entry.cost = costs[rng() % 3];  // free and in use only
      if (round >= 40) {
        const bool scored = x < front || rng() % 50 == 0;
        entry.cost = !scored ? kFreeEntry : round % 2 == 0 ? static_cast<double>(rng() % 9) / 4.0
                                                           : std::ldexp(static_cast<double>(rng() % 1000), -7);
      }
      entry.notes[0].pitch = static_cast<int8_t>(x % 128);
      entry.notes[1].pitch = static_cast<int8_t>(x / 128);
      plain.emplace_back(entry.cost, x);
    }
    for (int32_t i = 0; i < kPoolSize; ++i) {
      for (int32_t j = i; j < kPoolSize; ++j) {
        if (plain[j].first < plain[i].first) std::swap(plain[i], plain[j]);
      }
    }
    sort_pool(e);
    for (int32_t x = 0; x < kPoolSize; ++x) {
      const PoolEntry& entry = st().pool.entries[x];
      ASSERT_EQ(entry.notes[0].pitch + 128 * entry.notes[1].pitch, plain[x].second)
          << "round " << round << " position " << x;
    }
  }
}

// The remembered lists equal what the rules say, for every previous state,
// asked twice each and across a new stage.
TEST_F(ShortcutTest, RememberedChoicesAreTheToneRules) {
  c_major_from_bar_one();
  settings_.MelIns = kAnyInstrument;
  settings_.BassIns = kNoInstrument;
  for (int32_t& s : settings_.NonHarmTonesSort[kMelodyRow]) s = 1;
  for (int32_t k = 0; k < 4; ++k) add_note(1, 1, k * kQuarter, k == 2 ? 200 : kQuarter, 62 + k);
  Engine& e = engine();
  form_unit(e, 0, 0);
  divide_lines(e, 0);
  mark_outer_lines(e, 0);
  const Line& line = unit_slot(st(), 0).lines[0];
  const int32_t* row = settings_.NonHarmTonesSort[kMelodyRow];
  for (int32_t pass = 0; pass < 2; ++pass) {
    new_choice_stage(st());
    for (int32_t ask = 0; ask < 2; ++ask) {
      for (int32_t i = 1; i < 4; ++i) {
        const LineNote& p = line.notes[i - 1];
        const LineNote& c = line.notes[i];
        for (const int32_t type : kRuleOrder) {
          for (int32_t pitch = 52; pitch < 76; ++pitch) {
            const LinkState previous{p.bar, p.click, p.duration, p.given_pitch, 0, pitch, type};
            const ChoiceList list = tone_choices(e, 0, 0, i, i, previous, pass == 1);
            std::vector<std::pair<int32_t, int32_t>> expected;
            const int32_t reach = type == kRe ? 6 : settings_.OpeningInt;
            for (int32_t o = -settings_.OpeningInt; o <= reach; ++o) {
              for (const int32_t t : kRuleOrder) {
                LinkState note{c.bar, c.click, c.duration, c.given_pitch, 0, 0, 0};
                if (i == 3 && (t == kAs || t == kAi || (pass == 1 && t != kRe))) continue;
                if (apply_tone_rule(e, t, 0, previous, note, o, row)) expected.emplace_back(o, t);
              }
            }
            ASSERT_EQ(list.count, static_cast<int32_t>(expected.size())) << i << " " << pitch;
            for (int32_t k = 0; k < list.count; ++k) {
              EXPECT_EQ(list.notes[k].pitch, c.given_pitch + expected[k].first);
              EXPECT_EQ(list.notes[k].type, expected[k].second);
            }
          }
        }
      }
    }
  }
}

// All nine rules at once give what each rule gives alone, over random
// chords, scales, switches, durations, positions and previous notes,
// including switches other than 0 and 1, odd and negative note lengths for
// non-harmonic tones, previous types no path makes and pitches out of range.
TEST_F(ShortcutTest, AllRulesAtOnceAreEachRuleAlone) {
  std::mt19937 rng(11);
  const char marks[] = "CDEFGAB#0123456789cdefgab_x ";
  const int32_t lengths[] = {-3, -1, 0, 1, 2, 3, 4, 7};
  const int32_t previous_types[] = {kRe, kFa, kFd, kPa, kPd, kAs, kAi, kEa, kEd, 8, -1};
  UnitSlot& slot = unit_slot(st(), 0);
  slot.chord_index = 0;
  slot.scale_index = 1;
  for (int32_t round = 0; round < 3000; ++round) {
    for (int32_t pc = 0; pc < 12; ++pc) {
      st().chords.entries[0].marks[pc] = marks[rng() % (sizeof(marks) - 1)];
      st().scales.entries[1].marks[pc] = marks[rng() % (sizeof(marks) - 1)];
    }
    slot.chord_classes = pitch_classes(st().chords.entries[0]);
    slot.scale_classes = pitch_classes(st().scales.entries[1]);
    settings_.NonHarmToneDur = lengths[rng() % 8];
    settings_.HoleForLine = static_cast<int32_t>(rng() % 5);
    int32_t row[kNonHarmonicTypes];
    for (int32_t& on : row) on = rng() % 4 == 0 ? 0 : rng() % 6 == 0 ? 2 : 1;
    Engine& e = engine();
    const bool first = rng() % 8 == 0;
    const LinkState p{first ? -1 : static_cast<int32_t>(1 + rng() % 3),
                      static_cast<int32_t>(rng() % 16) * kSixteenth / static_cast<int32_t>(1 + rng() % 2),
                      static_cast<int32_t>(1 + rng() % 8) * kSixteenth,
                      60, 0,
                      static_cast<int32_t>(50 + rng() % 30),
                      previous_types[rng() % 11]};
    const LinkState c{p.bar == -1 ? 1 : p.bar + static_cast<int32_t>(rng() % 2),
                      static_cast<int32_t>(rng() % 16) * kSixteenth,
                      static_cast<int32_t>(1 + rng() % 10) * kSixteenth / static_cast<int32_t>(1 + rng() % 3),
                      60, 0, 0, 0};
    const ToneRules rules(e, 0, p, c, row);
    for (int32_t pitch = -2; pitch < 131; ++pitch) {
      const uint32_t all = rules.accepted_types(pitch);
      for (const int32_t type : kRuleOrder) {
        ASSERT_EQ((all & ToneRules::type_bit(type)) != 0, rules.accepts(type, pitch))
            << "round " << round << " type " << type << " pitch " << pitch;
      }
    }
  }
}

}  // namespace
}  // namespace zelvo::engine
