// The MIDI codec on any bytes: every event it keeps lies inside the file
// and in time order; then the piano roll's reading of the same song, notes
// and bars, the tempo map; the same bytes as a tones file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "midi/codec.h"
#include "roll/midi_events.h"
#include "roll/piano_roll.h"
#include "roll/tones.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  midi::Song parsed;
  const midi::ParseResult result = midi::parse(bytes, parsed);
  if (result.offset > size || parsed.tracks.size() > parsed.declared_tracks) __builtin_trap();
  for (const midi::SongTrack& track : parsed.tracks) {
    int64_t tick = 0;
    for (const midi::SongEvent& event : track.events) {
      if (event.offset >= size || event.tick < tick || event.tick > track.end_tick) __builtin_trap();
      if (event.data.size() > size) __builtin_trap();
      tick = event.tick;
    }
  }
  roll::MidiSong song;
  std::string error;
  if (!roll::read_midi(bytes, song, error)) return 0;
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
