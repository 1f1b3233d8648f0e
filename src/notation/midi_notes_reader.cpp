#include <algorithm>

#include "midi/bytes.h"
#include "notation/midi_notation.h"

namespace zelvo::notation {

MidiNotes read_midi_notes(std::string_view format0) {
  MidiNotes midi;
  // A division of 0 (no tick is any length) is read as one tick a quarter note.
  midi.division = std::max(1, static_cast<int>(midi::get_be(format0, 12, 2)));
  midi.meters.clear();
  bool tempo_seen = false;
  size_t at = 22;  // after the header chunk and the track's own header
  int64_t tick = 0;
  uint8_t running = 0;
  std::vector<size_t> open;
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(format0[i]); };
  while (at < format0.size()) {
    uint64_t delta = 0;
    uint8_t b = 0x80;
    for (int i = 0; i < 4 && at < format0.size() && (b & 0x80) != 0; ++i) {
      b = byte(at++);
      delta = (delta << 7) | (b & 0x7F);
    }
    tick += static_cast<int64_t>(delta);
    if (at >= format0.size()) break;
    const uint8_t status = byte(at);
    if (status == 0xFF) {
      if (at + 2 >= format0.size()) break;
      const uint8_t type = byte(at + 1);
      const size_t length = byte(at + 2);  // the merged track's meta events are short
      const size_t data = at + 3;
      if (type == 0x2F || data + length > format0.size()) break;
      if (type == 0x58 && length >= 2 && byte(data) > 0) {
        if (!midi.meters.empty() && midi.meters.back().tick == tick) midi.meters.pop_back();
        midi.meters.push_back({tick, byte(data), 1 << std::min<int>(byte(data + 1), 6)});
      } else if (type == 0x59 && length >= 2) {
        const int fifths = static_cast<int8_t>(byte(data));
        if (!midi.keys.empty() && midi.keys.back().tick == tick) midi.keys.pop_back();
        midi.keys.push_back({tick, Key{std::clamp(fifths, -7, 7), byte(data + 1) == 1}});
      } else if (type == 0x51 && length == 3 && !tempo_seen) {
        const uint32_t tempo = midi::get_be(format0, data, 3);
        midi.tempo = tempo == 0 ? 120 : static_cast<int>(60000000 / tempo);
        tempo_seen = true;
      }
      at = data + length;
      continue;
    }
    if (status < 0x80 && running == 0) break;
    const uint8_t kind_status = status < 0x80 ? running : status;
    if (status >= 0x80) {
      if (status >= 0xF0) break;  // the merged track holds no system messages
      running = status;
      ++at;
    }
    const uint8_t kind = kind_status & 0xF0;
    const size_t size = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
    if (at + size > format0.size()) break;
    const int channel = kind_status & 0x0F;
    const int pitch = byte(at);
    const int velocity = size == 2 ? byte(at + 1) : 0;
    at += size;
    if (kind == 0xC0 && midi.programs[static_cast<size_t>(channel)] < 0) {
      midi.programs[static_cast<size_t>(channel)] = pitch & 0x7F;
    }
    if (kind == 0x90 && velocity > 0) {
      open.push_back(midi.notes.size());
      midi.notes.push_back(SoundingNote{channel, tick, -1, pitch});
    } else if (kind == 0x80 || kind == 0x90) {
      for (auto it = open.begin(); it != open.end(); ++it) {
        SoundingNote& note = midi.notes[*it];
        if (note.channel != channel || note.pitch != pitch) continue;
        note.length = tick - note.start;
        open.erase(it);
        break;
      }
    }
  }
  for (const size_t index : open) midi.notes[index].length = tick - midi.notes[index].start;
  if (midi.meters.empty() || midi.meters.front().tick != 0) midi.meters.insert(midi.meters.begin(), {0, 4, 4});
  return midi;
}

void add_key_from_notes(MidiNotes& midi) {
  if (!midi.keys.empty()) return;
  std::vector<int> pitches;
  std::vector<int64_t> lengths;
  for (const SoundingNote& note : midi.notes) {
    pitches.push_back(note.pitch);
    lengths.push_back(note.length);
  }
  midi.keys.push_back({0, estimate_key(pitches, lengths)});
}

}  // namespace zelvo::notation
