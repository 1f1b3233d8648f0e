#include "intake/midi_merge.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "midi/bytes.h"
#include "midi/codec.h"
#include "midi/file_layout.h"
#include "midi/timeline.h"
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
    const std::string_view data = in.data(event);
    const size_t length = data.size();
    if (event.status == midi::kMetaEvent) {
      const uint8_t type = event.data1;
      if (type == midi::kMetaTempo && length == 3 && tick == 0 && !tempo) {
        tempo = midi::tempo_micros(data);
      } else if (type == midi::kMetaTempo && length == 3 && tick > 0 && midi::tempo_micros(data) != 0) {
        later_tempos.push_back({tick, midi::tempo_micros(data)});
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

constexpr uint8_t kMetaKeySignature = 0x59;

void add_meta(midi::SongTrack& track, uint64_t tick, uint8_t type, std::string_view data) {
  midi::SongEvent& event = track.events.emplace_back();
  event.tick = static_cast<int64_t>(tick);
  event.status = midi::kMetaEvent;
  event.data1 = type;
  track.set_data(event, data);
}

std::string tempo_data(uint32_t micros) {
  std::string data(3, '\0');
  midi::put_be(data.data(), micros, 3);
  return data;
}

// Every change of time signature (one a tick, the last written there), of
// key signature and of tempo after the first, each written where it happens.
midi::SongTrack signature_events(std::vector<TimedMeter> meters, std::vector<TimedKey> keys,
                                 std::vector<TimedTempo> tempos, uint32_t first_tempo) {
  midi::SongTrack out;
  const auto by_tick = [](const auto& a, const auto& b) { return a.tick < b.tick; };
  std::stable_sort(meters.begin(), meters.end(), by_tick);
  std::stable_sort(keys.begin(), keys.end(), by_tick);
  Meter in_force{{4, 2, 24, 8}};
  for (size_t i = 0; i < meters.size(); ++i) {
    if (i + 1 < meters.size() && meters[i + 1].tick == meters[i].tick) continue;
    if (meters[i].tick > 0 && meters[i].meter.same_as(in_force)) continue;
    in_force = meters[i].meter;
    add_meta(out, meters[i].tick, midi::kMetaTimeSignature,
             std::string_view(reinterpret_cast<const char*>(in_force.data), 4));
  }
  if (out.events.empty() || out.events.front().tick != 0) {
    add_meta(out, 0, midi::kMetaTimeSignature, std::string_view("\x04\x02\x18\x08", 4));
    std::rotate(out.events.begin(), out.events.end() - 1, out.events.end());
  }
  int previous = -1;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (i + 1 < keys.size() && keys[i + 1].tick == keys[i].tick) continue;
    const int key = keys[i].data[0] << 8 | keys[i].data[1];
    if (key == previous) continue;
    previous = key;
    add_meta(out, keys[i].tick, kMetaKeySignature, std::string_view(reinterpret_cast<const char*>(keys[i].data), 2));
  }
  std::stable_sort(tempos.begin(), tempos.end(), by_tick);
  uint32_t tempo_in_force = first_tempo;
  for (size_t i = 0; i < tempos.size(); ++i) {
    if (i + 1 < tempos.size() && tempos[i + 1].tick == tempos[i].tick) continue;
    if (tempos[i].micros == tempo_in_force) continue;
    tempo_in_force = tempos[i].micros;
    add_meta(out, tempos[i].tick, midi::kMetaTempo, tempo_data(tempo_in_force));
  }
  std::stable_sort(out.events.begin(), out.events.end(), by_tick);
  return out;
}

// The merge's reading of a file: what merge_any_midi answers, and whether
// the file is of format 1, the one that merge_midi_tracks merges.
struct Reading {
  MidiMerge any;
  bool format1;
};

Reading judge(const midi::ParseResult& read, const midi::Song& song) {
  const bool format1 = read.code != midi::ParseCode::kNotMidi && song.format == 1;
  if (read.code == midi::ParseCode::kNotMidi) return {MidiMerge::kDamaged, format1};
  if (song.format > 1) return {MidiMerge::kNotFormat1, format1};
  if ((song.division & 0x8000) != 0) return {MidiMerge::kSmpte, format1};
  if (!read.ok()) return {MidiMerge::kDamaged, format1};
  return {MidiMerge::kMerged, format1};
}

Reading read(std::string_view bytes, midi::Song& song) { return judge(midi::parse(bytes, song, kMergeReading), song); }

// The tracks of `song`, read without fault, as one.
void merge(midi::Song& song, midi::Song& one_track) {
  std::vector<Event> events;
  std::vector<TimedMeter> meters;
  std::vector<TimedKey> keys;
  std::optional<uint32_t> tempo;
  std::vector<TimedTempo> later_tempos;
  for (uint32_t track = 0; track < song.tracks.size(); ++track) {
    read_track(song.tracks[track], track, events, meters, keys, tempo, later_tempos);
  }
  const uint32_t division = song.division;
  song = midi::Song{};  // what it held is in `events` now

  const midi::SongTrack signatures = signature_events(meters, keys, later_tempos, tempo.value_or(500000));
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    if (a.track != b.track) return a.track < b.track;
    return a.order < b.order;
  });

  one_track = midi::Song{};
  one_track.format = midi::kFormat0;
  one_track.division = division;
  midi::SongTrack& out = one_track.tracks.emplace_back();
  // The signatures' data is the track's, so their events keep where theirs is.
  out.bytes = signatures.bytes;
  std::vector<midi::SongEvent>& merged = out.events;
  merged.reserve(events.size() + signatures.events.size() + 1);
  merged.push_back(signatures.events.front());
  add_meta(out, 0, midi::kMetaTempo, tempo_data(tempo.value_or(500000)));
  size_t next_signature = 1;
  for (const Event& event : events) {
    for (; next_signature < signatures.events.size() &&
           signatures.events[next_signature].tick <= static_cast<int64_t>(event.tick);
         ++next_signature) {
      merged.push_back(signatures.events[next_signature]);
    }
    midi::SongEvent& channel_event = merged.emplace_back();
    channel_event.tick = static_cast<int64_t>(event.tick);
    channel_event.status = event.bytes[0];
    channel_event.data1 = event.bytes[1];
    channel_event.data2 = event.bytes[2];
  }
  merged.insert(merged.end(), signatures.events.begin() + static_cast<std::ptrdiff_t>(next_signature),
                signatures.events.end());
  out.end_tick = merged.back().tick;
}

MidiMerge merge_to_song(std::string_view bytes, midi::Song& one_track, bool format1_only, bool& any_merges) {
  midi::Song song;
  const Reading reading = read(bytes, song);
  any_merges = reading.any == MidiMerge::kMerged;
  if (format1_only && !reading.format1) return MidiMerge::kNotFormat1;
  if (reading.any != MidiMerge::kMerged) return reading.any;
  merge(song, one_track);
  return MidiMerge::kMerged;
}

// The answer for `song` as `read` left it, merged into `merged` when it merges.
MidiMerge merge_song(const midi::ParseResult& read, midi::Song& song, midi::Song& merged) {
  const MidiMerge answer = judge(read, song).any;
  if (answer == MidiMerge::kMerged) merge(song, merged);
  return answer;
}

}  // namespace

MidiMerge merge_midi_tracks(std::string_view bytes, midi::Song& merged, bool& any_merges) {
  return merge_to_song(bytes, merged, true, any_merges);
}

MidiMerge merge_any_midi(std::string_view bytes, std::string& format0) {
  midi::Song one_track;
  bool any_merges = false;
  const MidiMerge answer = merge_to_song(bytes, one_track, false, any_merges);
  // In time order, deltas of any length: nothing to refuse.
  if (answer == MidiMerge::kMerged) (void)midi::write(one_track, midi::kMergedLayout, format0);
  return answer;
}

MidiMerge merge_any_midi(std::string_view bytes, midi::Song& merged) {
  midi::Song song;
  const midi::ParseResult read = midi::parse(bytes, song, kMergeReading);
  return merge_song(read, song, merged);
}

MidiMerge merge_parsed_midi(std::string_view bytes, midi::Song& song, const midi::ParseResult& read,
                            midi::Song& merged) {
  // A departure the merge would not accept is a fault in its reading, and
  // the song may hold what that reading would not (a damaged track's
  // remains, events past an end marker): the merge reads for itself then.
  // Without one, each step of the two readings was the same.
  const bool as_merge_reads = read.ok() && std::all_of(read.departures.begin(), read.departures.end(),
                                                       [](const midi::DepartureMet& met) {
                                                         return kMergeReading.accepts(met.departure);
                                                       });
  if (!as_merge_reads) return merge_any_midi(bytes, merged);
  return merge_song(read, song, merged);
}

}  // namespace zelvo::intake
