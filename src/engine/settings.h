#pragma once

#include <cstdint>

#include "engine/meter_map.h"
#include "engine/tempo_map.h"

namespace zelvo::engine {

// The harmonizer's settings: the keys of the configuration file (conar.rur,
// else conar.txt), the two per-instrument profile tables and the harmonizer
// time settings. One object lives as long as the program; the configuration
// reader changes only the keys that a file names, so a key that a later file
// leaves out keeps what an earlier run read. Initialisers are the values at
// program start.

constexpr int32_t kProfileRows = 19;        // instruments 0-15, BA, ME, DF
constexpr int32_t kBassRow = 16;            // `BA`
constexpr int32_t kMelodyRow = 17;          // `ME`
constexpr int32_t kDefaultRow = 18;         // `DF`, copied into rows 0-17
constexpr int32_t kToneTypeSwitches = 8;    // fa fd pa pd as ai ea ed
constexpr int32_t kCostWeights = 7;         // w1 .. w7

// Values of `MelIns` and `BassIns`.
constexpr int32_t kAnyInstrument = -1;
constexpr int32_t kNoInstrument = -2;

// Clicks, tempo and bar of the harmonizer, separate from the composer's
// values of the same names. The music readers set them; the engine and the
// MIDI writer read them. A bar has beats_per_bar * clicks_per_beat clicks, unless
// the score changes meter (engine/bar_time.h).
struct TimeSettings {
  int32_t tempo = kDefaultTempo;  // beats per minute; set by every reading of the music
  int32_t beats_per_bar = 4;       // beats per bar
  int32_t beat_unit = 4;       // beat unit (4 = quarter note)
  int32_t den_exponent = 2;     // log2 of beat_unit
  int32_t clicks_per_beat = 1024;  // clicks per beat; reset by every run
  int32_t clicks_per_sixteenth = 256;   // clicks per sixteenth; reset by every run
  MeterMap meters;              // empty unless the music changes meter; reset by every reading
  TempoMap tempos;              // empty unless the music changes tempo; reset by every reading

  int32_t clicks_per_bar() const { return beats_per_bar * clicks_per_beat; }
};

struct HarmonizerSettings {
  // Keys in the order in which the configuration reader matches them.
  int32_t FirstHarmIns = -1;        // negative: LastMusicIns + 1 (resolved when harmony is read)
  int32_t HarmInsNum = 99;          // harmony parts, scale part included
  int32_t FirstMusicIns = 1;
  int32_t LastMusicIns = 2;
  int32_t DivideNotes = 1;          // not 0: cut notes at chord and scale boundaries
  int32_t HoleForLine = 4;          // sixteenths
  int32_t MinNotesInLine = 2;
  int32_t HarmUnitNoteLimit = 100;  // also set by the key MaxNotesInLine
  int32_t MelIns = kNoInstrument;
  int32_t BassIns = kAnyInstrument;
  int32_t OpeningInt = 4;           // semitones
  int32_t NonHarmToneDur = 4;       // sixteenths
  int32_t Debug = 0;
  int32_t ShowLineInfo = 0;         // reset by every run
  int32_t MusicSource = 0;          // 0 inmus.xml, 1 outco.rur, 2 inarm.xml, 3 outco.mid
  int32_t ClicksQuarter = 1024;     // also sets time.clicks_per_beat and time.clicks_per_sixteenth
  int32_t LinkLimit = 99;
  int32_t LimitNotesThirdIn = 3;
  int32_t LimitNotesThirdBM = 1;
  int32_t NoLinkAct = 1;
  int32_t LimitOneLink = 1;
  int32_t KeepOtherParts = 0;       // not 0: the music's other parts go into the result as read

  // Tone-type switches per profile row (1 allows the type), and the seven
  // cost weights per profile row (`NonHarmTonesCoef` = `ThemtContourCoef`).
  int32_t NonHarmTonesSort[kProfileRows][kToneTypeSwitches] = {{1}};
  float NonHarmTonesCoef[kProfileRows][kCostWeights] = {{0.0f, 100.0f}};

  TimeSettings time;
};

}  // namespace zelvo::engine
