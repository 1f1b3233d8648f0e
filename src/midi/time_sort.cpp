#include "midi/time_sort.h"

#include <algorithm>

namespace zelvo::midi {

namespace {

constexpr int32_t kIndexBits = 24;
static_assert(kMaxSortRecords <= (1 << kIndexBits));

// kNoteOffFirst keys a record as 2 * time + (0 for velocity 0, else 1), so a
// record beats another exactly when its key is smaller, or equal and even.
int64_t key_of(int32_t time, uint8_t note_off, TieRule rule) {
  if (rule == TieRule::kTimeOnly) return time;
  return 2 * int64_t{time} + (note_off != 0 ? 0 : 1);
}

int32_t time_of(int64_t key, TieRule rule) {
  return static_cast<int32_t>(rule == TieRule::kTimeOnly ? key : key >> 1);
}

// A group of note-offs under kNoteOffFirst takes newcomers at its front and
// never rotates.
bool takes_at_front(int64_t key, TieRule rule) {
  return rule == TieRule::kNoteOffFirst && (key & 1) == 0;
}

// Fenwick tree over group numbers: how many inserted records belong to
// groups below a given one.
void count_in(int32_t* tree, int32_t groups, int32_t g) {
  for (int32_t v = g + 1; v <= groups; v += v & -v) ++tree[v];
}

int32_t counted_below(const int32_t* tree, int32_t g) {
  int32_t sum = 0;
  for (int32_t v = g; v > 0; v -= v & -v) sum += tree[v];
  return sum;
}

// Moves the first record of a group to its back `turns` times.
void rotate(SortWork::Group& group, int32_t* slots, int32_t turns) {
  if (group.size == 0) return;
  turns %= group.size;
  if (group.size == group.capacity) {
    group.head = (group.head + turns) % group.capacity;
    return;
  }
  for (int32_t t = 0; t < turns; ++t) {
    slots[group.start + (group.head + group.size) % group.capacity] = slots[group.start + group.head];
    group.head = (group.head + 1) % group.capacity;
  }
}

}  // namespace

void SortWork::reserve(int32_t n) {
  // Never empty: the Fenwick tree of an empty table still has its root.
  const size_t room = static_cast<size_t>(std::max(n, 1));
  if (order.size() >= room) return;
  // Doubling keeps a piece that grows bar by bar from copying its tables
  // over and over.
  const size_t size = std::min(std::max(room, 2 * order.size()), static_cast<size_t>(kMaxSortRecords));
  note_off.resize(size);
  order.resize(size);
  keyed.resize(size);
  group.resize(size);
  slots.resize(size);
  counted.resize(size + 1);
  groups.resize(size);
}

void sort_times(int32_t* times, int32_t n, TieRule rule, SortWork& work) {
  int64_t* keyed = work.keyed.data();
  for (int32_t i = 0; i < n; ++i) {
    keyed[i] = key_of(times[i], work.note_off[i], rule) * (1 << kIndexBits) + i;
  }
  std::sort(keyed, keyed + n);

  int32_t groups = 0;
  for (int32_t k = 0; k < n; ++k) {
    const int64_t key = keyed[k] >> kIndexBits;
    if (groups == 0 || work.groups[groups - 1].key != key) {
      work.groups[groups] = SortWork::Group{key, k, 0, 0, 0, 0};
      ++groups;
    }
    ++work.groups[groups - 1].capacity;
    work.group[keyed[k] & ((1 << kIndexBits) - 1)] = groups - 1;
  }

  int32_t* slots = work.slots.data();
  int32_t* tree = work.counted.data();
  std::fill(tree, tree + groups + 1, 0);
  for (int32_t j = 0; j < n; ++j) {
    SortWork::Group& g = work.groups[work.group[j]];
    if (takes_at_front(g.key, rule)) {
      g.head = (g.head + g.capacity - 1) % g.capacity;
      slots[g.start + g.head] = j;
    } else {
      const int32_t turns = counted_below(tree, work.group[j]);
      rotate(g, slots, turns - g.rotated);
      g.rotated = turns;
      slots[g.start + (g.head + g.size) % g.capacity] = j;
    }
    ++g.size;
    count_in(tree, groups, work.group[j]);
  }

  int32_t* order = work.order.data();
  for (int32_t gi = 0; gi < groups; ++gi) {
    SortWork::Group& g = work.groups[gi];
    if (!takes_at_front(g.key, rule)) {
      const int32_t turns = counted_below(tree, gi);
      rotate(g, slots, turns - g.rotated);
    }
    const int32_t time = time_of(g.key, rule);
    for (int32_t k = 0; k < g.capacity; ++k) {
      order[g.start + k] = slots[g.start + (g.head + k) % g.capacity];
      times[g.start + k] = time;
    }
  }
}

}  // namespace zelvo::midi
