#include "midi/time_sort.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace zelvo::midi {
namespace {

struct Record {
  int32_t time;
  uint8_t note_off;
  int32_t id;
};

// The exchange procedure as both engines first wrote it: the oracle.
void exchange_sort(std::vector<Record>& r, TieRule rule) {
  const size_t n = r.size();
  for (size_t i = 0; i < n; ++i) {
    for (size_t j = i; j < n; ++j) {
      const bool tie = rule == TieRule::kNoteOffFirst && r[j].time == r[i].time && r[j].note_off != 0;
      if (r[j].time < r[i].time || tie) std::swap(r[i], r[j]);
    }
  }
}

// Sorts with sort_times and apply_order; true when times and record order
// both match the oracle.
bool same_as_exchange(std::vector<Record> records, TieRule rule, SortWork& work) {
  const int32_t n = static_cast<int32_t>(records.size());
  std::vector<int32_t> times(records.size());
  work.reserve(n);
  for (int32_t i = 0; i < n; ++i) {
    times[i] = records[i].time;
    work.note_off[i] = records[i].note_off;
  }
  std::vector<Record> sorted = records;
  sort_times(times.data(), n, rule, work);
  apply_order(sorted.data(), n, work);
  exchange_sort(records, rule);
  for (int32_t i = 0; i < n; ++i) {
    if (sorted[i].id != records[i].id || times[i] != records[i].time) return false;
  }
  return true;
}

// Every sequence of up to seven records over three times and both marks: the
// ties that make the relation no strict order are all in here.
TEST(TimeSort, MatchesTheExchangeOnEveryShortSequence) {
  auto work = std::make_unique<SortWork>();
  for (TieRule rule : {TieRule::kNoteOffFirst, TieRule::kTimeOnly}) {
    for (int32_t n = 0; n <= 7; ++n) {
      int32_t total = 1;
      for (int32_t k = 0; k < n; ++k) total *= 6;
      for (int32_t code = 0; code < total; ++code) {
        std::vector<Record> records;
        for (int32_t k = 0, c = code; k < n; ++k, c /= 6) {
          records.push_back({c % 6 / 2, static_cast<uint8_t>(c % 2), k});
        }
        ASSERT_TRUE(same_as_exchange(records, rule, *work)) << "n=" << n << " code=" << code;
      }
    }
  }
}

// Long random inputs with many equal times: shuffled, and shaped as the
// writers sort them (onsets in time order, then their note-offs), with
// extreme times that a wrapped or saturated 32-bit time can take.
TEST(TimeSort, MatchesTheExchangeOnRandomTables) {
  auto work = std::make_unique<SortWork>();
  std::mt19937 random(20261207);
  for (int32_t round = 0; round < 300; ++round) {
    const int32_t n = static_cast<int32_t>(random() % (round < 290 ? 400 : 3750)) + 1;
    const int32_t spread = static_cast<int32_t>(random() % 40) + 1;
    std::vector<Record> records;
    if (round % 2 == 0) {
      for (int32_t k = 0; k < n; ++k) {
        int32_t time = static_cast<int32_t>(random() % spread);
        if (random() % 50 == 0) time = random() % 2 ? INT32_MIN : INT32_MAX;
        records.push_back({time, static_cast<uint8_t>(random() % 2), k});
      }
    } else {
      int32_t time = 0;
      for (int32_t k = 0; k < n / 2; ++k) {
        time += static_cast<int32_t>(random() % 3);
        records.push_back({time, static_cast<uint8_t>(random() % 8 == 0), k});
      }
      for (int32_t k = 0; k < n / 2; ++k) {
        records.push_back({records[k].time + static_cast<int32_t>(random() % spread), 1, n / 2 + k});
      }
    }
    for (TieRule rule : {TieRule::kNoteOffFirst, TieRule::kTimeOnly}) {
      ASSERT_TRUE(same_as_exchange(records, rule, *work)) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace zelvo::midi
