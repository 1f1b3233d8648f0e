#pragma once

#include <cstdint>
#include <vector>

namespace zelvo::midi {

// The time sort of both engines is an exchange procedure: for each position
// i, and each later position j in turn, the records at i and j change places
// when the one at j beats the one at i. Its order among records of equal
// time is written into the output files, so sort_times reproduces that exact
// permutation, not merely some order by time.
//
// Why it can be done in n log n: two exchanges on four different positions
// give the same result in either order, so the procedure equals the one with
// the loops turned round (for each j, for each i < j), which inserts record j
// into the sorted records before it. Taking the insertion apart by groups of
// equal keys gives the rule sort_times follows: a record joins the back of
// its group (a velocity-0 record under kNoteOffFirst: the front), and every
// group of a larger key moves its first record to its back (under
// kNoteOffFirst only groups of note-ons do; a group of note-offs keeps its
// order). The rotations are counted lazily per group.

// A table of any length sorts, up to this bound on the memory it may take.
constexpr int32_t kMaxSortRecords = int32_t{1} << 24;

// Which records at equal times are exchanged into i.
enum class TieRule : uint8_t {
  // A velocity-0 record at j, also when the record at i has velocity 0.
  kNoteOffFirst,
  // None: only an earlier time wins.
  kTimeOnly,
};

// The sort's work areas, kept with the engine's state. They start empty and
// grow with the longest table sorted (reserve), so a short piece pays only
// for what it sorts.
struct SortWork {
  // Per record: nonzero for a velocity-0 record, read by kNoteOffFirst.
  std::vector<uint8_t> note_off;
  // After sort_times: order[i] is the original index of the record now at i.
  std::vector<int32_t> order;

  // The rest is sort_times' own.
  std::vector<int64_t> keyed;   // key and index, sorted
  std::vector<int32_t> group;   // each record's group
  std::vector<int32_t> slots;   // the groups' ring buffers
  std::vector<int32_t> counted; // Fenwick tree of inserted keys, n + 1
  struct Group {
    int64_t key;
    int32_t start;     // first slot
    int32_t capacity;  // records of the group
    int32_t head;      // ring position of the first record
    int32_t size;      // records inserted so far
    int32_t rotated;   // rotations applied so far
  };
  std::vector<Group> groups;

  // Room for n records. REQUIRES: 0 <= n <= kMaxSortRecords.
  void reserve(int32_t n);
};

// Sorts times[0 .. n) in place as the exchange procedure does, taking
// work.note_off as the velocity-0 marks, and leaves in work.order the
// permutation that the same procedure applies to the records.
// REQUIRES: work.reserve(m) with m >= n was called before note_off was filled.
void sort_times(int32_t* times, int32_t n, TieRule rule, SortWork& work);

// Moves records[work.order[i]] to records[i] for i < n, in place by
// following the permutation's cycles. work.order is left as it was.
template <typename Record>
void apply_order(Record* records, int32_t n, SortWork& work) {
  int32_t* order = work.order.data();
  for (int32_t start = 0; start < n; ++start) {
    if (order[start] < 0 || order[start] == start) continue;
    Record held = records[start];
    int32_t at = start;
    for (;;) {
      const int32_t from = order[at];
      order[at] = ~from;  // visited
      if (from == start) {
        records[at] = held;
        break;
      }
      records[at] = records[from];
      at = from;
    }
  }
  for (int32_t i = 0; i < n; ++i) {
    if (order[i] < 0) order[i] = ~order[i];
  }
}

}  // namespace zelvo::midi
