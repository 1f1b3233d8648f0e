#include "notation/note_values.h"

#include <algorithm>

namespace zelvo::notation {

namespace {

// Greedy in plain and dotted values; a remainder below the shortest value
// keeps its exact length under the shortest type. A rest (`at`, its place in
// the measure, not -1) takes plain values that start on a multiple of their
// own length where there is one (a quarter rest and a half rest from the
// second beat of 4/4, not a dotted half), so the beats show.
void add_plain_values(int64_t length, int64_t at, const std::vector<NoteValue>& values,
                      std::vector<NoteValue>& parts) {
  while (length > 0) {
    const NoteValue* fit = nullptr;
    for (const NoteValue& value : values) {
      if (value.ticks > length) continue;
      if (at >= 0 && (value.dots > 0 || at % value.ticks != 0)) continue;
      fit = &value;
      break;
    }
    for (size_t i = 0; fit == nullptr && i < values.size(); ++i) {
      if (values[i].ticks <= length) fit = &values[i];
    }
    if (fit == nullptr) {
      parts.push_back({values.back().type, 0, length});
      break;
    }
    parts.push_back(*fit);
    length -= fit->ticks;
    if (at >= 0) at += fit->ticks;
  }
}

// Triplet values (each 2/3 of a plain value) for `ticks`, a multiple of
// `third`: one value when there is one that long, else thirds.
void add_triplet_values(int64_t ticks, int64_t third, const std::vector<NoteValue>& values,
                        std::vector<NoteValue>& parts) {
  for (const NoteValue& value : values) {
    if (value.dots == 0 && ticks % 2 == 0 && value.ticks == ticks / 2 * 3) {
      parts.push_back({value.type, 0, ticks, true});
      return;
    }
  }
  for (; ticks > 0; ticks -= third) parts.push_back({values.back().type, 0, third, true});
}

}  // namespace

std::vector<NoteValue> note_values(int64_t quarter, int64_t shortest) {
  static constexpr const char* kTypes[] = {"whole", "half", "quarter", "eighth", "16th", "32nd", "64th", "128th"};
  std::vector<NoteValue> values;
  for (int i = 0; i < 8; ++i) {
    const int64_t scaled = quarter * 4;
    if (scaled % (int64_t{1} << i) != 0) break;
    const int64_t plain = scaled >> i;
    if (plain % 4 == 0 && plain / 4 >= shortest) values.push_back({kTypes[i], 2, plain / 4 * 7});
    if (plain % 2 == 0 && plain / 2 >= shortest) values.push_back({kTypes[i], 1, plain / 2 * 3});
    if (plain >= shortest) values.push_back({kTypes[i], 0, plain});
  }
  std::stable_sort(values.begin(), values.end(),
                   [](const NoteValue& a, const NoteValue& b) { return a.ticks > b.ticks; });
  return values;
}

std::vector<NoteValue> split_length(int64_t start, int64_t length, const std::vector<NoteValue>& values,
                                    int64_t measure_start) {
  std::vector<NoteValue> parts;
  const int64_t unit = values.back().ticks;
  const int64_t third = unit % 3 == 0 ? unit / 3 * 2 : 0;
  int64_t tail = 0;
  if (third > 0) {
    for (int64_t k = 1; k < 3 && start % unit != 0; ++k) {
      if ((start + k * third) % unit != 0) continue;
      if (k * third <= length) {
        add_triplet_values(k * third, third, values, parts);
        length -= k * third;
        start += k * third;
      }
      break;
    }
    for (int64_t k = 1; k < 3 && length % unit != 0; ++k) {
      if (k * third <= length && (length - k * third) % unit == 0) tail = k * third;
    }
  }
  add_plain_values(length - tail, measure_start < 0 ? -1 : start - measure_start, values, parts);
  if (tail > 0) add_triplet_values(tail, third, values, parts);
  return parts;
}
}  // namespace zelvo::notation
