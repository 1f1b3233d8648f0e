#include "roll/tones.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <tuple>

#include "engine/tone_type.h"

namespace zelvo::roll {

namespace {

bool next_number(std::string_view& line, int64_t& value) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  const auto [end, code] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (code != std::errc{}) return false;
  line.remove_prefix(static_cast<size_t>(end - line.data()));
  return true;
}

}  // namespace

std::string_view tone_type_label(int32_t type) {
  return type >= 0 && type < engine::kNonHarmonicTypes ? engine::kToneTypeNames[type] : "";
}

size_t apply_tones(std::string_view text, PianoRoll& roll) {
  using Key = std::tuple<int64_t, int64_t, int64_t>;  // channel 0-15, tick, chosen pitch
  std::map<Key, std::pair<int16_t, int32_t>> tones;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    int64_t channel = 0, tick = 0, chosen = 0, given = 0;
    if (!next_number(line, channel) || !next_number(line, tick) || !next_number(line, chosen) ||
        !next_number(line, given) || channel < 1 || channel > 16 || given < 0 || given > 127) {
      continue;
    }
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    int32_t type = kNoToneType;
    for (int32_t k = 0; k < engine::kNonHarmonicTypes; ++k) {
      if (line == engine::kToneTypeNames[k]) type = k;
    }
    tones.emplace(Key{channel - 1, tick, chosen}, std::make_pair(static_cast<int16_t>(given), type));
  }
  size_t labelled = 0;
  for (RollNote& note : roll.notes) {
    const auto found = tones.find(Key{note.channel, note.start, note.pitch});
    if (found == tones.end()) continue;
    note.given_pitch = found->second.first;
    note.tone_type = found->second.second;
    found->second.second = kNoToneType;  // taken
    ++labelled;
  }
  // A type left over belongs to a note held through its tick.
  roll.held_tones.clear();
  for (const auto& [key, tone] : tones) {
    if (tone.second == kNoToneType) continue;
    const auto [channel, tick, pitch] = key;
    for (const RollNote& note : roll.notes) {
      if (note.start >= tick) break;
      if (note.channel != channel || note.pitch != pitch || note.end <= tick) continue;
      roll.held_tones.push_back(HeldTone{tick, note.channel, note.pitch, tone.second});
      break;
    }
  }
  std::stable_sort(roll.held_tones.begin(), roll.held_tones.end(),
                   [](const HeldTone& a, const HeldTone& b) { return a.tick < b.tick; });
  return labelled;
}

}  // namespace zelvo::roll
