#include "intake/midi_merge.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "midi/bytes.h"
#include "midi/file_layout.h"
#include "midi/write.h"

namespace zelvo::intake {

namespace {

struct Event {
  uint64_t tick;
  uint32_t track;
  uint32_t order;
  uint8_t bytes[3];
  uint8_t size;
};

struct Meter {
  uint8_t data[4];  // numerator, denominator exponent, clocks per click, 32nds per quarter
  bool same_as(const Meter& other) const {
    return data[0] == other.data[0] && data[1] == other.data[1];
  }
};

struct TimedMeter {
  uint64_t tick;
  Meter meter;
};

struct TimedTempo {
  uint64_t tick;
  uint32_t micros;
};

struct TimedKey {
  uint64_t tick;
  uint8_t data[2];  // sharps (negative: flats), 1 for minor
};

// Reads the chunk's bytes; every read is checked against its end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool at_end() const { return at_ >= bytes_.size(); }
  bool byte(uint8_t& b) {
    if (at_end()) return false;
    b = static_cast<uint8_t>(bytes_[at_++]);
    return true;
  }
  bool skip(uint64_t count) {
    if (count > bytes_.size() - at_) return false;
    at_ += count;
    return true;
  }
  bool var_length(uint64_t& value) {
    uint32_t read = 0;
    const bool whole = midi::get_var_length(bytes_, at_, read);
    value = read;
    return whole;
  }
  std::string_view take(uint64_t count) {
    const std::string_view part = bytes_.substr(at_, count);
    at_ += part.size();
    return part;
  }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

bool read_track(std::string_view chunk, uint32_t track, std::vector<Event>& events,
                std::vector<TimedMeter>& meters, std::vector<TimedKey>& keys, std::optional<uint32_t>& tempo,
                std::vector<TimedTempo>& later_tempos) {
  Reader in(chunk);
  uint64_t tick = 0;
  uint8_t running = 0;
  uint32_t order = 0;
  while (!in.at_end()) {
    uint64_t delta = 0;
    uint8_t status = 0;
    if (!in.var_length(delta) || !in.byte(status)) return false;
    tick += delta;
    if (status == 0xFF) {
      uint8_t type = 0;
      uint64_t length = 0;
      if (!in.byte(type) || !in.var_length(length)) return false;
      const std::string_view data = in.take(length);
      if (data.size() != length) return false;
      if (type == 0x2F) return true;
      if (type == 0x51 && length == 3 && tick == 0 && !tempo) {
        tempo = midi::get_be(data, 0, 3);
      } else if (type == 0x51 && length == 3 && tick > 0 && midi::get_be(data, 0, 3) != 0) {
        later_tempos.push_back({tick, midi::get_be(data, 0, 3)});
      }
      if (type == 0x58 && length >= 2) {
        Meter meter{{static_cast<uint8_t>(data[0]), static_cast<uint8_t>(data[1]), 24, 8}};
        if (length >= 4) {
          meter.data[2] = static_cast<uint8_t>(data[2]);
          meter.data[3] = static_cast<uint8_t>(data[3]);
        }
        meters.push_back({tick, meter});
      }
      if (type == 0x59 && length >= 2) {
        keys.push_back({tick, {static_cast<uint8_t>(data[0]), static_cast<uint8_t>(data[1])}});
      }
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {
      uint64_t length = 0;
      if (!in.var_length(length) || !in.skip(length)) return false;
      continue;
    }
    Event event{tick, track, order++, {status, 0, 0}, 1};
    if (status < 0x80) {
      if (running == 0) return false;
      event.bytes[0] = running;
      event.bytes[1] = status;
      event.size = 2;
    } else {
      running = status;
    }
    const uint8_t kind = event.bytes[0] & 0xF0;
    const uint8_t size = kind == 0xC0 || kind == 0xD0 ? 2 : 3;
    while (event.size < size) {
      if (!in.byte(event.bytes[event.size])) return false;
      ++event.size;
    }
    events.push_back(event);
  }
  return true;  // a track without its end-of-track event ends with its chunk
}

constexpr uint8_t kMetaKeySignature = 0x59;

midi::SongEvent meta_event(uint64_t tick, uint8_t type, std::string data) {
  midi::SongEvent event;
  event.tick = static_cast<int64_t>(tick);
  event.status = midi::kMetaEvent;
  event.data1 = type;
  event.data = std::move(data);
  return event;
}

std::string tempo_data(uint32_t micros) {
  std::string data(3, '\0');
  midi::put_be(data.data(), micros, 3);
  return data;
}

// Every change of time signature (one a tick, the last written there), of
// key signature and of tempo after the first, each written where it happens.
std::vector<midi::SongEvent> signature_events(std::vector<TimedMeter> meters, std::vector<TimedKey> keys,
                                              std::vector<TimedTempo> tempos, uint32_t first_tempo) {
  std::vector<midi::SongEvent> out;
  const auto by_tick = [](const auto& a, const auto& b) { return a.tick < b.tick; };
  std::stable_sort(meters.begin(), meters.end(), by_tick);
  std::stable_sort(keys.begin(), keys.end(), by_tick);
  Meter in_force{{4, 2, 24, 8}};
  for (size_t i = 0; i < meters.size(); ++i) {
    if (i + 1 < meters.size() && meters[i + 1].tick == meters[i].tick) continue;
    if (meters[i].tick > 0 && meters[i].meter.same_as(in_force)) continue;
    in_force = meters[i].meter;
    out.push_back(meta_event(meters[i].tick, midi::kMetaTimeSignature,
                             std::string(reinterpret_cast<const char*>(in_force.data), 4)));
  }
  if (out.empty() || out.front().tick != 0) {
    out.insert(out.begin(), meta_event(0, midi::kMetaTimeSignature, std::string("\x04\x02\x18\x08", 4)));
  }
  int previous = -1;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (i + 1 < keys.size() && keys[i + 1].tick == keys[i].tick) continue;
    const int key = keys[i].data[0] << 8 | keys[i].data[1];
    if (key == previous) continue;
    previous = key;
    out.push_back(
        meta_event(keys[i].tick, kMetaKeySignature, std::string(reinterpret_cast<const char*>(keys[i].data), 2)));
  }
  std::stable_sort(tempos.begin(), tempos.end(), by_tick);
  uint32_t tempo_in_force = first_tempo;
  for (size_t i = 0; i < tempos.size(); ++i) {
    if (i + 1 < tempos.size() && tempos[i + 1].tick == tempos[i].tick) continue;
    if (tempos[i].micros == tempo_in_force) continue;
    tempo_in_force = tempos[i].micros;
    out.push_back(meta_event(tempos[i].tick, midi::kMetaTempo, tempo_data(tempo_in_force)));
  }
  std::stable_sort(out.begin(), out.end(), by_tick);
  return out;
}

MidiMerge merge(std::string_view bytes, std::string& format0) {
  if (bytes.size() < 14 || !bytes.starts_with("MThd")) return MidiMerge::kDamaged;
  const uint32_t header_length = midi::get_be(bytes, 4, 4);
  if (midi::get_be(bytes, 8, 2) > 1) return MidiMerge::kNotFormat1;
  const uint32_t division = midi::get_be(bytes, 12, 2);
  if ((division & 0x8000) != 0) return MidiMerge::kSmpte;
  if (header_length < 6 || header_length > bytes.size() - 8) return MidiMerge::kDamaged;

  std::vector<Event> events;
  std::vector<TimedMeter> meters;
  std::vector<TimedKey> keys;
  std::optional<uint32_t> tempo;
  std::vector<TimedTempo> later_tempos;
  uint32_t track = 0;
  for (size_t at = 8 + header_length; at < bytes.size();) {
    if (bytes.size() - at < 8) return MidiMerge::kDamaged;
    const uint32_t length = midi::get_be(bytes, at + 4, 4);
    if (length > bytes.size() - at - 8) return MidiMerge::kDamaged;
    if (bytes.substr(at, 4) == "MTrk" &&
        !read_track(bytes.substr(at + 8, length), track++, events, meters, keys, tempo, later_tempos)) {
      return MidiMerge::kDamaged;
    }
    at += 8 + static_cast<size_t>(length);
  }

  const std::vector<midi::SongEvent> signatures = signature_events(meters, keys, later_tempos, tempo.value_or(500000));
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    if (a.track != b.track) return a.track < b.track;
    return a.order < b.order;
  });

  midi::Song song;
  song.format = midi::kFormat0;
  song.division = division;
  std::vector<midi::SongEvent>& merged = song.tracks.emplace_back().events;
  merged.push_back(signatures.front());
  merged.push_back(meta_event(0, midi::kMetaTempo, tempo_data(tempo.value_or(500000))));
  size_t next_signature = 1;
  for (const Event& event : events) {
    for (; next_signature < signatures.size() && signatures[next_signature].tick <= static_cast<int64_t>(event.tick);
         ++next_signature) {
      merged.push_back(signatures[next_signature]);
    }
    midi::SongEvent& channel_event = merged.emplace_back();
    channel_event.tick = static_cast<int64_t>(event.tick);
    channel_event.status = event.bytes[0];
    channel_event.data1 = event.bytes[1];
    channel_event.data2 = event.bytes[2];
  }
  merged.insert(merged.end(), signatures.begin() + static_cast<std::ptrdiff_t>(next_signature), signatures.end());
  song.tracks.back().end_tick = merged.back().tick;
  // In time order, deltas of any length: nothing to refuse.
  (void)midi::write(song, midi::kMergedLayout, format0);
  return MidiMerge::kMerged;
}

}  // namespace

MidiMerge merge_midi_tracks(std::string_view bytes, std::string& format0) {
  if (bytes.size() < 14 || !bytes.starts_with("MThd") || midi::get_be(bytes, 8, 2) != 1) {
    return MidiMerge::kNotFormat1;
  }
  return merge(bytes, format0);
}

MidiMerge merge_any_midi(std::string_view bytes, std::string& format0) {
  return merge(bytes, format0);
}

}  // namespace zelvo::intake
