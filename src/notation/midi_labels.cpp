#include <algorithm>

#include "midi/bytes.h"
#include "notation/midi_notation.h"

namespace zelvo::notation {

namespace {

// A variable-length number at `at`, moving past it; false past the end.
bool var_length(std::string_view bytes, size_t& at, uint64_t& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    if (at >= bytes.size()) return false;
    const uint8_t b = static_cast<uint8_t>(bytes[at++]);
    value = (value << 7) | (b & 0x7F);
    if ((b & 0x80) == 0) return true;
  }
  return true;
}

// One track: its tempo changes, and its name with the first channel it plays on.
void read_track(std::string_view track, MidiNotes& midi) {
  size_t at = 0;
  uint64_t tick = 0;
  uint8_t running = 0;
  std::string name;
  int channel = -1;
  while (at < track.size()) {
    uint64_t delta = 0;
    if (!var_length(track, at, delta) || at >= track.size()) break;
    tick += delta;
    const uint8_t status = static_cast<uint8_t>(track[at]);
    if (status == 0xFF || status == 0xF0 || status == 0xF7) {
      const uint8_t type = status == 0xFF && at + 1 < track.size() ? static_cast<uint8_t>(track[at + 1]) : 0;
      at += status == 0xFF ? 2 : 1;
      uint64_t length = 0;
      if (!var_length(track, at, length) || length > track.size() - std::min(at, track.size())) break;
      const std::string_view data = track.substr(at, static_cast<size_t>(length));
      if (type == 0x51 && length == 3 && midi::get_be(data, 0, 3) > 0) {
        midi.tempos.push_back({static_cast<int64_t>(tick), static_cast<int>(60000000 / midi::get_be(data, 0, 3))});
      } else if (type == 0x03 && name.empty()) {
        name.assign(data.begin(), data.end());
      }
      at += static_cast<size_t>(length);
      continue;
    }
    if (status >= 0x80) {
      running = status;
      ++at;
    } else if (running == 0) {
      break;
    }
    if (channel < 0) channel = running & 0x0F;
    const uint8_t kind = running & 0xF0;
    at += kind == 0xC0 || kind == 0xD0 ? 1 : 2;
  }
  if (channel >= 0 && !name.empty() && midi.names[static_cast<size_t>(channel)].empty()) {
    midi.names[static_cast<size_t>(channel)] = name;
  }
}

}  // namespace

void read_midi_labels(std::string_view file, MidiNotes& midi) {
  if (file.size() < 14 || !file.starts_with("MThd")) return;
  midi.tempos.clear();
  for (size_t at = 8 + static_cast<size_t>(midi::get_be(file, 4, 4)); at + 8 <= file.size();) {
    const size_t length = std::min<size_t>(midi::get_be(file, at + 4, 4), file.size() - at - 8);
    if (file.substr(at, 4) == "MTrk") read_track(file.substr(at + 8, length), midi);
    at += 8 + length;
  }
  std::stable_sort(midi.tempos.begin(), midi.tempos.end(),
                   [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
}

}  // namespace zelvo::notation
