#pragma once

#include <cstdint>
#include <vector>

namespace zelvo::notation {

// A key signature as MusicXML writes it: fifths -7 (seven flats) to 7 (seven
// sharps), and whether the key is minor (its tonic a minor third below the
// major key's).
struct Key {
  int fifths = 0;
  bool minor = false;
  bool operator==(const Key&) const = default;
};

// A written pitch: the letter (C, D, ... B) and its alteration in semitones.
struct Spelling {
  char step = 'C';
  int alter = 0;
};

// The key whose scale is closest to the pitch classes `present` (fewest
// pitch classes in one and not the other; a minor key's scale holds its
// raised sixth and seventh as well as their natural forms, and a minor key
// counts only when the raised seventh is present or `tonic` is its tonic).
// `tonic` (a pitch class, or -1 for none) breaks ties, then the key with
// fewer sharps or flats, then flats.
Key fit_key(const bool present[12], int tonic);

// The alteration the key's signature gives the letter `step`.
int signature_alter(Key key, char step);

// The key that best fits notes of the given pitches and weights (lengths),
// by the correlation of the weighted pitch-class profile with the usual
// major and minor key profiles. C major when there is no note.
Key estimate_key(const std::vector<int>& pitches, const std::vector<int64_t>& weights);

// `pitch` (a MIDI note number, only its pitch class matters) written in
// `key`: a tone of the key's scale takes the key's letter; in minor, the
// raised sixth and seventh are the natural ones raised; any other tone is the
// nearer written form (a scale tone raised or lowered), sharps in C and the
// sharp keys and flats in the flat keys when both are as near.
Spelling spell_pitch(int pitch, Key key);

}  // namespace zelvo::notation
