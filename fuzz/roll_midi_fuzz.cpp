// The piano roll's MIDI reader on any bytes: reading, notes and bars, the
// tempo map; the same bytes as a tones file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "roll/midi_events.h"
#include "roll/piano_roll.h"
#include "roll/tones.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  roll::MidiSong song;
  std::string error;
  if (!roll::read_midi(bytes, song, error)) return 0;
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
