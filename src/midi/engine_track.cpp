#include "midi/engine_track.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string_view>

#include "midi/bytes.h"
#include "midi/file_layout.h"
#include "midi/write.h"

namespace zelvo::midi {

namespace {

// The track's events, as many as the file can take, are overwritten in
// place, so that their memory serves every file: `used` counts those in use.
struct Events {
  SongTrack& track;
  size_t used = 0;
  SongEvent& add(int64_t tick, uint8_t status, uint8_t data1, uint8_t data2) {
    SongEvent& event = track.events[used++];
    event = SongEvent{};
    event.tick = tick;
    event.status = status;
    event.data1 = data1;
    event.data2 = data2;
    return event;
  }
  void add(int64_t tick, uint8_t status, uint8_t type, std::string_view data) {
    track.set_data(add(tick, status, type, 0), data);
  }
};

void add_time_signature(Events& events, int64_t tick, uint32_t numerator, uint32_t exponent) {
  const char data[4] = {static_cast<char>(numerator), static_cast<char>(exponent),
                        static_cast<char>(kClocksPerClick), static_cast<char>(kThirtySecondsPerQuarter)};
  events.add(tick, kMetaEvent, kMetaTimeSignature, std::string_view(data, 4));
}

void add_tempo(Events& events, int64_t tick, uint32_t micros_per_quarter) {
  char data[3];
  put_be(data, micros_per_quarter, 3);
  events.add(tick, kMetaEvent, kMetaTempo, std::string_view(data, 3));
}

void add_note(Events& events, const TrackEvent& note) {
  // Unsigned: a channel read from a score may be any int; only the low
  // byte of the status is written.
  const uint32_t status = static_cast<uint32_t>(kNoteOn) + static_cast<uint32_t>(note.channel);
  const char bytes[3] = {static_cast<char>(status), static_cast<char>(note.note),
                         static_cast<char>(note.velocity)};
  if (note.channel >= 0 && note.channel <= 0x0F) {
    events.add(note.time, static_cast<uint8_t>(bytes[0]), static_cast<uint8_t>(bytes[1]),
               static_cast<uint8_t>(bytes[2]));
  } else {  // status 0: the bytes as they are
    events.add(note.time, 0, 0, std::string_view(bytes, 3));
  }
}

// The file's one track: the leading time signature and tempo, then the
// notes, the later changes up to each note before it.
void make_song(const TrackSettings& settings, const TrackEvents& track, Song& song) {
  song.format = kFormat0;
  song.division = settings.division & 0xFFFF;
  song.tracks.resize(1);
  const int32_t meter_count = settings.meter_count < kMaxMeterEvents ? settings.meter_count
                                                                      : kMaxMeterEvents;
  const int32_t tempo_count = settings.tempo_count < kMaxTempoEvents ? settings.tempo_count
                                                                      : kMaxTempoEvents;
  song.tracks[0].bytes.clear();
  Events events{song.tracks[0]};
  events.track.events.resize(2 + static_cast<size_t>(std::max(0, track.count)) +
                             static_cast<size_t>(std::max(0, meter_count)) +
                             static_cast<size_t>(std::max(0, tempo_count)));
  add_time_signature(events, 0, settings.numerator, settings.denominator_exponent);
  add_tempo(events, 0, settings.micros_per_quarter);

  int64_t previous = 0;
  int32_t m = 0;
  int32_t t = 0;
  // Whether a change at `time` is kept. One out of order is left out: the
  // notes' times hold. One that no delta reaches is left out and ends the
  // changes before this note: the note after it is refused.
  const auto keep = [&](int64_t time, bool& reached) {
    reached = time - previous <= kMaxVarLength;
    if (time < previous || !reached) return false;
    previous = time;
    return true;
  };
  for (int32_t i = 0; i < track.count; ++i) {
    const TrackEvent& e = track.events[i];
    // The changes up to this note, in time order; a meter before a tempo of
    // its tick.
    for (bool reached = true; reached;) {
      const bool meter_due = m < meter_count && settings.meters[m].time <= e.time;
      const bool tempo_due = t < tempo_count && settings.tempos[t].time <= e.time;
      if (meter_due && (!tempo_due || settings.meters[m].time <= settings.tempos[t].time)) {
        const MeterEvent& meter = settings.meters[m++];
        if (keep(meter.time, reached)) {
          add_time_signature(events, meter.time, meter.numerator, meter.denominator_exponent);
        }
      } else if (tempo_due) {
        const TempoEvent& change = settings.tempos[t++];
        if (keep(change.time, reached)) add_tempo(events, change.time, change.micros_per_quarter);
      } else {
        break;
      }
    }
    add_note(events, e);
    previous = e.time;
  }
  song.tracks[0].events.resize(events.used);
  song.tracks[0].end_tick = previous;
}

}  // namespace

EncodeResult encode_file(const TrackSettings& settings, const TrackEvents& track, FileImage& image) {
  make_song(settings, track, image.song);
  const WriteResult result = write(image.song, kEngineLayout, image.bytes);
  return EncodeResult{result.ok(), result.bad_delta};
}

}  // namespace zelvo::midi
