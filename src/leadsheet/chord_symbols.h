#pragma once

#include <cstdint>
#include <string_view>

namespace zelvo::leadsheet {

// A chord symbol as MusicXML's <harmony> gives it: a root, a kind (the
// names of MusicXML's kind list), an optional bass and degrees added,
// altered or subtracted.
struct ChordDegree {
  int value = 0;  // 1 root, 3 third, ... 13 thirteenth
  int alter = 0;  // semitones from the degree's place in the major scale
  enum class Type { kAdd, kAlter, kSubtract } type = Type::kAdd;
};

constexpr int kMaxDegrees = 8;

struct ChordSymbol {
  int root = 0;   // pitch class
  int bass = -1;  // pitch class, -1 for the root
  std::string_view kind = "major";
  ChordDegree degrees[kMaxDegrees];
  int degree_count = 0;
};

// The pitch classes of the chord as bits (bit p for pitch class p); 0 for a
// kind outside the list or "none" (no chord). The bass sounds too.
uint16_t chord_pitch_classes(const ChordSymbol& chord);

// The pitch class of a step letter (C to B) and alteration.
int step_pitch_class(char step, int alter);

// The pitch classes of the scale of a key signature (fifths and mode, as
// MusicXML writes them), and its tonic. A minor key gets the harmonic minor
// scale; the church modes their diatonic scale.
uint16_t key_scale(int fifths, std::string_view mode, int& tonic);

}  // namespace zelvo::leadsheet
