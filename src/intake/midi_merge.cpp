#include "intake/midi_merge.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "midi/bytes.h"
#include "midi/codec.h"
#include "midi/file_layout.h"

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

using midi::Departure;

// The merge takes any division but a time code (refused apart), every track
// chunk to the file's end, running status through system exclusive
// messages and unknown status bytes as two-byte events.
constexpr midi::ParseOptions kMergeReading = midi::ParseOptions{}
                                                 .accept(Departure::kTimeCode)
                                                 .accept(Departure::kTrackCount)
                                                 .accept(Departure::kLongTrack)
                                                 .accept(Departure::kStatusThroughExclusive)
                                                 .accept(Departure::kUnknownStatus);

void read_track(const midi::SongTrack& in, uint32_t track, std::vector<Event>& events,
                std::vector<TimedMeter>& meters, std::vector<TimedKey>& keys, std::optional<uint32_t>& tempo,
                std::vector<TimedTempo>& later_tempos) {
  uint32_t order = 0;
  for (const midi::SongEvent& event : in.events) {
    const uint64_t tick = static_cast<uint64_t>(event.tick);
    const std::string& data = event.data;
    const size_t length = data.size();
    if (event.status == midi::kMetaEvent) {
      const uint8_t type = event.data1;
      if (type == midi::kMetaTempo && length == 3 && tick == 0 && !tempo) {
        tempo = midi::get_be(data, 0, 3);
      } else if (type == midi::kMetaTempo && length == 3 && tick > 0 && midi::get_be(data, 0, 3) != 0) {
        later_tempos.push_back({tick, midi::get_be(data, 0, 3)});
      }
      if (type == midi::kMetaTimeSignature && length >= 2) {
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
    if (event.status == midi::kSystemExclusive || event.status == midi::kEndOfExclusive) continue;
    const uint8_t kind = event.status & 0xF0;
    const uint8_t size = kind == midi::kProgramChange || kind == midi::kChannelPressure ? 2 : 3;
    events.push_back(Event{tick, track, order++, {event.status, event.data1, event.data2}, size});
  }
}

void put_var_length(std::string& out, uint64_t value) {
  char bytes[10];
  int count = 0;
  bytes[count++] = static_cast<char>(value & 0x7F);
  while ((value >>= 7) != 0 && count < 10) bytes[count++] = static_cast<char>(0x80 | (value & 0x7F));
  while (count > 0) out += bytes[--count];
}

void put_be(std::string& out, uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The events of one merged track's time, in order: a time signature, a key
// signature, then the channel events.
struct MetaAt {
  uint64_t tick;
  std::string bytes;  // the event without its delta time
};

// Every change of time signature (one a tick, the last written there), of
// key signature and of tempo after the first, each written where it happens.
std::vector<MetaAt> signature_events(std::vector<TimedMeter> meters, std::vector<TimedKey> keys,
                                     std::vector<TimedTempo> tempos, uint32_t first_tempo) {
  std::vector<MetaAt> out;
  const auto by_tick = [](const auto& a, const auto& b) { return a.tick < b.tick; };
  std::stable_sort(meters.begin(), meters.end(), by_tick);
  std::stable_sort(keys.begin(), keys.end(), by_tick);
  Meter in_force{{4, 2, 24, 8}};
  for (size_t i = 0; i < meters.size(); ++i) {
    if (i + 1 < meters.size() && meters[i + 1].tick == meters[i].tick) continue;
    if (meters[i].tick > 0 && meters[i].meter.same_as(in_force)) continue;
    in_force = meters[i].meter;
    out.push_back({meters[i].tick, std::string("\xFF\x58\x04", 3) +
                                       std::string(reinterpret_cast<const char*>(in_force.data), 4)});
  }
  if (out.empty() || out.front().tick != 0) {
    out.insert(out.begin(), {0, std::string("\xFF\x58\x04\x04\x02\x18\x08", 7)});
  }
  int previous = -1;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (i + 1 < keys.size() && keys[i + 1].tick == keys[i].tick) continue;
    const int key = keys[i].data[0] << 8 | keys[i].data[1];
    if (key == previous) continue;
    previous = key;
    out.push_back({keys[i].tick, std::string("\xFF\x59\x02", 3) +
                                     std::string(reinterpret_cast<const char*>(keys[i].data), 2)});
  }
  std::stable_sort(tempos.begin(), tempos.end(), by_tick);
  uint32_t tempo_in_force = first_tempo;
  for (size_t i = 0; i < tempos.size(); ++i) {
    if (i + 1 < tempos.size() && tempos[i + 1].tick == tempos[i].tick) continue;
    if (tempos[i].micros == tempo_in_force) continue;
    tempo_in_force = tempos[i].micros;
    std::string bytes("\xFF\x51\x03", 3);
    put_be(bytes, tempo_in_force, 3);
    out.push_back({tempos[i].tick, bytes});
  }
  std::stable_sort(out.begin(), out.end(), by_tick);
  return out;
}

MidiMerge merge(std::string_view bytes, std::string& format0, bool format1_only) {
  midi::Song song;
  const midi::ParseResult read = midi::parse(bytes, song, kMergeReading);
  if (format1_only && (read.code == midi::ParseCode::kNotMidi || song.format != 1)) return MidiMerge::kNotFormat1;
  if (read.code == midi::ParseCode::kNotMidi) return MidiMerge::kDamaged;
  if (song.format > 1) return MidiMerge::kNotFormat1;
  const uint32_t division = song.division;
  if ((division & 0x8000) != 0) return MidiMerge::kSmpte;
  if (!read.ok()) return MidiMerge::kDamaged;

  std::vector<Event> events;
  std::vector<TimedMeter> meters;
  std::vector<TimedKey> keys;
  std::optional<uint32_t> tempo;
  std::vector<TimedTempo> later_tempos;
  for (uint32_t track = 0; track < song.tracks.size(); ++track) {
    read_track(song.tracks[track], track, events, meters, keys, tempo, later_tempos);
  }

  const std::vector<MetaAt> signatures = signature_events(meters, keys, later_tempos, tempo.value_or(500000));
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    if (a.track != b.track) return a.track < b.track;
    return a.order < b.order;
  });

  std::string track_bytes;
  track_bytes.append("\x00", 1);
  track_bytes += signatures.front().bytes;
  track_bytes.append("\x00\xFF\x51\x03", 4);
  put_be(track_bytes, tempo.value_or(500000), 3);
  uint64_t previous = 0;
  size_t next_signature = 1;
  bool before_notes = true;
  const auto put_signatures_until = [&](uint64_t tick) {
    for (; next_signature < signatures.size() && signatures[next_signature].tick <= tick; ++next_signature) {
      const MetaAt& signature = signatures[next_signature];
      const uint64_t delta = signature.tick - previous;
      // The MIDI reader takes the meta events that open the track, each
      // with a one-byte delta, as the leading tempo and time signature. A
      // later change of meter before the first note must not look like one:
      // its delta is written in two bytes (a leading 0x80 adds nothing).
      if (before_notes && signature.tick > 0 && (signature.bytes[1] == '\x58' || signature.bytes[1] == '\x51') &&
          delta < 0x80) {
        track_bytes += '\x80';
      }
      put_var_length(track_bytes, delta);
      previous = signature.tick;
      track_bytes += signature.bytes;
    }
  };
  for (const Event& event : events) {
    put_signatures_until(event.tick);
    before_notes = false;
    put_var_length(track_bytes, event.tick - previous);
    previous = event.tick;
    track_bytes.append(reinterpret_cast<const char*>(event.bytes), event.size);
  }
  put_signatures_until(UINT64_MAX);
  track_bytes.append("\x00\xFF\x2F\x00", 4);

  format0.assign("MThd\x00\x00\x00\x06\x00\x00\x00\x01", 12);
  put_be(format0, division, 2);
  format0 += "MTrk";
  put_be(format0, static_cast<uint32_t>(track_bytes.size()), 4);
  format0 += track_bytes;
  return MidiMerge::kMerged;
}

}  // namespace

MidiMerge merge_midi_tracks(std::string_view bytes, std::string& format0) {
  return merge(bytes, format0, true);
}

MidiMerge merge_any_midi(std::string_view bytes, std::string& format0) {
  return merge(bytes, format0, false);
}

}  // namespace zelvo::intake
