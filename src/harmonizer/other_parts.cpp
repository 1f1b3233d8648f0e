#include "harmonizer/other_parts.h"

#include <algorithm>
#include <cstdint>

#include "base/message_id.h"
#include "harmonizer/music.h"

namespace zelvo::harmonizer {

namespace {

struct PartRange {
  int32_t first = 0;
  int32_t count = 0;  // 0: no part
};

constexpr int64_t kInt32Max = 2147483647;
constexpr int64_t kInt32Min = -kInt32Max - 1;

// The part numbers below FirstMusicIns and above LastMusicIns, as the
// readers' first and count. Below reaches down as far as a count allows
// (two numbers past any part a file can name).
void other_ranges(const engine::HarmonizerSettings& settings, PartRange ranges[2]) {
  const int64_t first = settings.FirstMusicIns;
  const int64_t last = std::max<int64_t>(settings.LastMusicIns, first - 1);
  const int64_t low = std::max(kInt32Min, first - kInt32Max);
  ranges[0] = {static_cast<int32_t>(low), static_cast<int32_t>(first - low)};
  ranges[1] = last < kInt32Max ? PartRange{static_cast<int32_t>(last + 1), static_cast<int32_t>(kInt32Max)}
                               : PartRange{};
}

// With inarm.xml as the music (MusicSource 2) its scale and chord parts
// are the harmony, not parts of the music: they are dropped from `table`.
void drop_harmony_parts(const engine::HarmonizerSettings& settings, engine::MusicNoteTable& table) {
  if (settings.MusicSource != 2) return;
  const int64_t first = settings.FirstHarmIns >= 0 ? settings.FirstHarmIns : int64_t{settings.LastMusicIns} + 1;
  const int64_t end = first + settings.HarmInsNum;
  int32_t kept = 0;
  for (int32_t i = 0; i < table.note_count; ++i) {
    if (table.notes[i].Inst < first || table.notes[i].Inst >= end) table.notes[kept++] = table.notes[i];
  }
  table.note_count = kept;
}

// Reads each range of other parts into state.other and hands it to `take`.
// The run's time settings stay as the music's reading left them.
template <typename Take>
base::Status each_range(HarmonizerState& state, base::ProgressLines& progress, Take&& take) {
  if (state.settings.MusicSource == 3) return base::Status();
  PartRange ranges[2];
  other_ranges(state.settings, ranges);
  return base::attempt([&] {
    for (const PartRange& range : ranges) {
      if (range.count <= 0) continue;
      state.other.time = state.settings.time;
      read_source_parts(state, progress, state.other.music, state.other.time, range.first, range.count);
      drop_harmony_parts(state.settings, state.other.music);
      take(state.other.music);
    }
  });
}

}  // namespace

base::Status add_other_parts(HarmonizerState& state, base::ProgressLines& progress) {
  engine::MusicNoteTable& music = state.engine.music;
  return each_range(state, progress, [&](const engine::MusicNoteTable& other) {
    const int64_t total = int64_t{music.note_count} + other.note_count;
    if (total > engine::kMaxMusicNotes / 2) {
      base::stop_with(base::Message(base::MessageId::kTooManyResultNotes,
                                          static_cast<int32_t>(total)));
    }
    music.reserve(static_cast<int32_t>(total));
    std::copy(other.notes.begin(), other.notes.begin() + other.note_count, music.notes.begin() + music.note_count);
    music.note_count = static_cast<int32_t>(total);
  });
}

base::Status find_other_parts(HarmonizerState& state, base::ProgressLines& progress,
                                 std::vector<int32_t>& parts) {
  parts.clear();
  const base::Status read = each_range(state, progress, [&](const engine::MusicNoteTable& other) {
    for (int32_t i = 0; i < other.note_count; ++i) parts.push_back(other.notes[i].Inst);
  });
  std::sort(parts.begin(), parts.end());
  parts.erase(std::unique(parts.begin(), parts.end()), parts.end());
  return read;
}

}  // namespace zelvo::harmonizer
