// The MIDI codec on any bytes, strict and lenient: every event it keeps
// lies inside the file and in time order; then the piano roll's reading of
// the same song, notes and bars, the tempo map; every track decoded as
// written; the same bytes as a tones file. A song read strictly is written again and reads back the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "midi/codec.h"
#include "midi/write.h"
#include "midi/timeline.h"
#include "roll/piano_roll.h"
#include "roll/tones.h"

namespace {

// Each track decoded as written keeps at most one event for each of its
// own, in time order, and its end.
void check_decoded(const zelvo::midi::Song& song) {
  using namespace zelvo;
  for (const midi::SongTrack& track : song.tracks) {
    const midi::Timeline decoded = midi::decode_track(track, static_cast<int32_t>(song.division));
    if (decoded.events.size() > track.events.size() || decoded.end_tick != track.end_tick) __builtin_trap();
    int64_t tick = 0;
    for (const midi::TimelineEvent& event : decoded.events) {
      if (event.tick < tick || event.channel > 15) __builtin_trap();
      tick = event.tick;
    }
  }
}

// Every event kept lies inside the file and in time order, strictly read
// or with departures accepted.
void check_song(std::string_view bytes, const zelvo::midi::ParseOptions& options,
                zelvo::midi::ParseResult& result, zelvo::midi::Song& parsed) {
  using namespace zelvo;
  result = midi::parse(bytes, parsed, options);
  const bool every_chunk =
      options.accepts(midi::Departure::kTrackCount) || options.accepts(midi::Departure::kFixedLayout);
  if (result.offset > bytes.size() || (!every_chunk && parsed.tracks.size() > parsed.declared_tracks)) {
    __builtin_trap();
  }
  for (const midi::DepartureMet& met : result.departures) {
    if (!options.accepts(met.departure) || met.offset > bytes.size()) __builtin_trap();
  }
  for (const midi::SongTrack& track : parsed.tracks) {
    int64_t tick = 0;
    for (const midi::SongEvent& event : track.events) {
      if (event.offset >= bytes.size() || event.tick < tick || event.tick > track.end_tick) __builtin_trap();
      if (event.data_at + uint64_t{event.data_length} > std::min(track.bytes.size(), bytes.size())) __builtin_trap();
      tick = event.tick;
    }
  }
}

// A song read strictly from a standard header is written again, with or
// without running status, and reads back as the same song.
void check_round_trip(const zelvo::midi::Song& song, bool running_status) {
  using namespace zelvo;
  if (song.header_length != 6 || song.tracks.size() != song.declared_tracks) return;
  midi::WriteLayout layout;
  layout.running_status = running_status;
  std::string written;
  if (!midi::write(song, layout, written).ok()) __builtin_trap();
  midi::Song again;
  if (!midi::parse(written, again).ok() || !midi::same_music(song, again)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  midi::Song parsed;
  midi::ParseResult result;
  // Every departure, then a set chosen by the input's last bytes.
  midi::ParseOptions lenient{(1u << midi::kDepartures) - 1};
  check_song(bytes, lenient, result, parsed);
  check_decoded(parsed);
  lenient.accepted = size < 2 ? 0 : (data[size - 1] | data[size - 2] << 8) & lenient.accepted;
  check_song(bytes, lenient, result, parsed);
  check_song(bytes, midi::ParseOptions{}, result, parsed);
  if (result.ok()) check_round_trip(parsed, size % 2 == 1);
  midi::Timeline song;
  if (!midi::read_timeline(bytes, song).ok()) return 0;
  if (!result.ok()) __builtin_trap();
  roll::PianoRoll piano_roll = roll::make_piano_roll(song);
  const roll::TempoMap tempo(song);
  const double end = tempo.seconds(song.end_tick);
  if (tempo.tick_at(end) < 0) __builtin_trap();
  for (const roll::RollNote& note : piano_roll.notes) {
    if (note.end < note.start || note.pitch > 127 || note.channel > 15) __builtin_trap();
  }
  roll::apply_tones(bytes, piano_roll);
  return 0;
}
