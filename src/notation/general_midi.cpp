#include "notation/general_midi.h"

namespace zelvo::notation {

namespace {

// Keys 35 to 81: kicks low, snares in the middle, toms by height, cymbals
// and hi-hats above the staff with crosses.
constexpr DrumPlace kDrums[] = {
    {"Acoustic Bass Drum", 'F', 4, false}, {"Bass Drum 1", 'F', 4, false},
    {"Side Stick", 'C', 5, true}, {"Acoustic Snare", 'C', 5, false},
    {"Hand Clap", 'B', 4, true}, {"Electric Snare", 'C', 5, false},
    {"Low Floor Tom", 'G', 4, false}, {"Closed Hi-Hat", 'G', 5, true},
    {"High Floor Tom", 'A', 4, false}, {"Pedal Hi-Hat", 'D', 4, true},
    {"Low Tom", 'B', 4, false}, {"Open Hi-Hat", 'G', 5, true},
    {"Low-Mid Tom", 'D', 5, false}, {"Hi-Mid Tom", 'E', 5, false},
    {"Crash Cymbal 1", 'A', 5, true}, {"High Tom", 'F', 5, false},
    {"Ride Cymbal 1", 'F', 5, true}, {"Chinese Cymbal", 'B', 5, true},
    {"Ride Bell", 'F', 5, true}, {"Tambourine", 'E', 5, true},
    {"Splash Cymbal", 'C', 6, true}, {"Cowbell", 'E', 5, true},
    {"Crash Cymbal 2", 'B', 5, true}, {"Vibraslap", 'D', 5, true},
    {"Ride Cymbal 2", 'E', 5, true}, {"Hi Bongo", 'E', 5, false},
    {"Low Bongo", 'D', 5, false}, {"Mute Hi Conga", 'C', 5, true},
    {"Open Hi Conga", 'C', 5, false}, {"Low Conga", 'A', 4, false},
    {"High Timbale", 'E', 5, false}, {"Low Timbale", 'D', 5, false},
    {"High Agogo", 'F', 5, false}, {"Low Agogo", 'E', 5, false},
    {"Cabasa", 'D', 5, true}, {"Maracas", 'C', 5, true},
    {"Short Whistle", 'B', 4, true}, {"Long Whistle", 'B', 4, true},
    {"Short Guiro", 'A', 4, true}, {"Long Guiro", 'A', 4, true},
    {"Claves", 'G', 4, true}, {"Hi Wood Block", 'F', 5, false},
    {"Low Wood Block", 'E', 5, false}, {"Mute Cuica", 'D', 5, true},
    {"Open Cuica", 'D', 5, false}, {"Mute Triangle", 'A', 5, true},
    {"Open Triangle", 'A', 5, true}};

static_assert(sizeof(kDrums) / sizeof(kDrums[0]) == 81 - 35 + 1);

}  // namespace


DrumPlace drum_place(int key) {
  if (key < 35 || key > 81) return {"Percussion", 'C', 5, false};
  return kDrums[key - 35];
}

}  // namespace zelvo::notation
