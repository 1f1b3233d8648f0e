#include "composer/note_events.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zelvo::composer {
namespace {

class NoteEventsTest : public ::testing::Test {
 protected:
  void add(int inst, int bar, int click, int dur, int note, int vel) {
    table->events[table->count++] = NoteEvent{inst, bar, click, dur, note, vel};
  }
  // (note, velocity) of the events in table order.
  std::vector<std::pair<int, int>> order() const {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < table->count; ++i) out.emplace_back(table->events[i].Note, table->events[i].Vel);
    return out;
  }
  std::unique_ptr<NoteTable> table = std::make_unique<NoteTable>();
  ComposerTiming timing{1, 120, 3, 4, 48, 12, 2};
};

TEST_F(NoteEventsTest, NoteOffsFollowTheNotesAtOnsetPlusDuration) {
  add(3, 2, 10, 30, 64, 90);
  add(1, 1, 0, 0, 60, 100);
  add_note_offs(*table);
  ASSERT_EQ(table->count, 4);
  const NoteEvent& off = table->events[2];
  EXPECT_EQ(off.Inst, 3);
  EXPECT_EQ(off.Cpin, 2);
  EXPECT_EQ(off.Ckin, 40);
  EXPECT_EQ(off.Note, 64);
  EXPECT_EQ(off.Vel, 0);
  EXPECT_EQ(table->events[3].Ckin, 0);
}

TEST_F(NoteEventsTest, NegativeDurationEndsTheNoteAtItsOnset) {
  add(1, 1, 24, -50, 60, 100);
  add_note_offs(*table);
  EXPECT_EQ(table->events[1].Ckin, 24);
  EXPECT_EQ(table->events[0].Dur, -50);
}

TEST_F(NoteEventsTest, TimesCountBarsFromOne) {
  add(1, 1, 5, 1, 60, 100);
  add(1, 3, 7, 1, 60, 100);
  compute_times(*table, timing);
  EXPECT_EQ(table->times[0], 5);
  EXPECT_EQ(table->times[1], 2 * 144 + 7);
}

TEST_F(NoteEventsTest, SortPutsNoteOffsFirstAtEqualTimes) {
  add(1, 1, 10, 0, 1, 100);
  add(1, 1, 0, 0, 2, 100);
  add(1, 1, 10, 0, 3, 0);
  add(1, 1, 0, 0, 4, 0);
  compute_times(*table, timing);
  sort_events(*table);
  EXPECT_EQ(order(), (std::vector<std::pair<int, int>>{{4, 0}, {2, 100}, {3, 0}, {1, 100}}));
  EXPECT_EQ(table->times[0], 0);
  EXPECT_EQ(table->times[3], 10);
}

TEST_F(NoteEventsTest, EqualNoteOffsComeOutInTheExchangeOrder) {
  // A stable sort would keep A's note-off first; the exchange procedure swaps them.
  add(1, 1, 0, 48, 60, 100);  // A
  add(1, 1, 0, 48, 67, 100);  // B
  add_note_offs(*table);
  compute_times(*table, timing);
  sort_events(*table);
  EXPECT_EQ(order(), (std::vector<std::pair<int, int>>{{60, 100}, {67, 100}, {67, 0}, {60, 0}}));
}

TEST_F(NoteEventsTest, EqualNoteOnsKeepTheirCreationOrder) {
  add(1, 1, 0, 1, 60, 100);
  add(1, 1, 0, 1, 64, 100);
  add(1, 1, 0, 1, 67, 100);
  compute_times(*table, timing);
  sort_events(*table);
  EXPECT_EQ(order(), (std::vector<std::pair<int, int>>{{60, 100}, {64, 100}, {67, 100}}));
}

// The procedure as written: swap whenever the later event is earlier, or
// equally early and a note-off.
void reference_sort(std::vector<NoteEvent>& events, std::vector<int32_t>& times) {
  for (size_t i = 0; i < events.size(); ++i) {
    for (size_t j = i; j < events.size(); ++j) {
      if (times[j] < times[i] || (times[j] == times[i] && events[j].Vel == 0)) {
        std::swap(events[i], events[j]);
        std::swap(times[i], times[j]);
      }
    }
  }
}

TEST_F(NoteEventsTest, SortMatchesTheExchangeProcedureOnManyTies) {
  uint32_t random = 12345;
  auto next = [&random] {
    random = random * 1103515245u + 12345u;
    return static_cast<int>((random >> 16) & 0x7FFF);
  };
  for (int round = 0; round < 20; ++round) {
    table->count = 0;
    const int n = 50 + next() % 400;
    for (int i = 0; i < n; ++i) add(1 + next() % 16, 1 + next() % 3, next() % 20, next() % 30, i % 128, next() % 3 == 0 ? 0 : 100);
    compute_times(*table, timing);
    std::vector<NoteEvent> events(table->events.begin(), table->events.begin() + n);
    std::vector<int32_t> times(table->times.begin(), table->times.begin() + n);
    reference_sort(events, times);
    sort_events(*table);
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(table->times[i], times[i]) << round << " " << i;
      ASSERT_EQ(table->events[i].Note, events[i].Note) << round << " " << i;
      ASSERT_EQ(table->events[i].Vel, events[i].Vel) << round << " " << i;
    }
  }
}

}  // namespace
}  // namespace zelvo::composer
