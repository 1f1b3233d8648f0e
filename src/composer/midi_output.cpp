#include "composer/midi_output.h"

namespace zelvo::composer {

MidiEncodeResult encode_midi_file(const NoteTable& table, const ComposerTiming& timing, MidiImage& image) {
  image.track.reserve(table.count);
  for (int32_t i = 0; i < table.count; ++i) {
    const NoteEvent& e = table.events[i];
    image.track.events[i] = midi::TrackEvent{table.times[i], e.Inst - 1, e.Note, e.Vel};
  }
  image.track.count = table.count;
  const midi::TrackSettings settings{4u * static_cast<uint32_t>(timing.clicks_per_sixteenth),
                                     static_cast<uint32_t>(timing.beats_per_bar),
                                     static_cast<uint32_t>(timing.den_exponent),
                                     static_cast<uint32_t>(60000000 / timing.tempo)};
  return midi::encode_file(settings, image.track, image);
}

}  // namespace zelvo::composer
