#include "notation/general_midi.h"

namespace zelvo::notation {

namespace {

constexpr const char* kInstruments[128] = {
    "Acoustic Grand Piano", "Bright Acoustic Piano", "Electric Grand Piano", "Honky-tonk Piano",
    "Electric Piano 1", "Electric Piano 2", "Harpsichord", "Clavinet",
    "Celesta", "Glockenspiel", "Music Box", "Vibraphone",
    "Marimba", "Xylophone", "Tubular Bells", "Dulcimer",
    "Drawbar Organ", "Percussive Organ", "Rock Organ", "Church Organ",
    "Reed Organ", "Accordion", "Harmonica", "Tango Accordion",
    "Acoustic Guitar (nylon)", "Acoustic Guitar (steel)", "Electric Guitar (jazz)", "Electric Guitar (clean)",
    "Electric Guitar (muted)", "Overdriven Guitar", "Distortion Guitar", "Guitar Harmonics",
    "Acoustic Bass", "Electric Bass (finger)", "Electric Bass (pick)", "Fretless Bass",
    "Slap Bass 1", "Slap Bass 2", "Synth Bass 1", "Synth Bass 2",
    "Violin", "Viola", "Cello", "Contrabass",
    "Tremolo Strings", "Pizzicato Strings", "Orchestral Harp", "Timpani",
    "String Ensemble 1", "String Ensemble 2", "Synth Strings 1", "Synth Strings 2",
    "Choir Aahs", "Voice Oohs", "Synth Voice", "Orchestra Hit",
    "Trumpet", "Trombone", "Tuba", "Muted Trumpet",
    "French Horn", "Brass Section", "Synth Brass 1", "Synth Brass 2",
    "Soprano Sax", "Alto Sax", "Tenor Sax", "Baritone Sax",
    "Oboe", "English Horn", "Bassoon", "Clarinet",
    "Piccolo", "Flute", "Recorder", "Pan Flute",
    "Blown Bottle", "Shakuhachi", "Whistle", "Ocarina",
    "Lead 1 (square)", "Lead 2 (sawtooth)", "Lead 3 (calliope)", "Lead 4 (chiff)",
    "Lead 5 (charang)", "Lead 6 (voice)", "Lead 7 (fifths)", "Lead 8 (bass + lead)",
    "Pad 1 (new age)", "Pad 2 (warm)", "Pad 3 (polysynth)", "Pad 4 (choir)",
    "Pad 5 (bowed)", "Pad 6 (metallic)", "Pad 7 (halo)", "Pad 8 (sweep)",
    "FX 1 (rain)", "FX 2 (soundtrack)", "FX 3 (crystal)", "FX 4 (atmosphere)",
    "FX 5 (brightness)", "FX 6 (goblins)", "FX 7 (echoes)", "FX 8 (sci-fi)",
    "Sitar", "Banjo", "Shamisen", "Koto",
    "Kalimba", "Bagpipe", "Fiddle", "Shanai",
    "Tinkle Bell", "Agogo", "Steel Drums", "Woodblock",
    "Taiko Drum", "Melodic Tom", "Synth Drum", "Reverse Cymbal",
    "Guitar Fret Noise", "Breath Noise", "Seashore", "Bird Tweet",
    "Telephone Ring", "Helicopter", "Applause", "Gunshot"};

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

const char* instrument_name(int program) { return kInstruments[program >= 0 && program < 128 ? program : 0]; }

DrumPlace drum_place(int key) {
  if (key < 35 || key > 81) return {"Percussion", 'C', 5, false};
  return kDrums[key - 35];
}

}  // namespace zelvo::notation
