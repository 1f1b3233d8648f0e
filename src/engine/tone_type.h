#pragma once

// The tone types the engine gives each note of a harmony part, and their
// names. Kept apart from the engine's tables so that what reads the
// harmonizer's tones file can name them too.
#include <cstdint>

namespace zelvo::engine {

// Tone types. 0-7 are the non-harmonic types in the order of the tone-type
// switches; 99 is a chord tone.
enum ToneType : int32_t {
  kFa = 0,  // neighbour tone, step up then down
  kFd = 1,  // neighbour tone, step down then up
  kPa = 2,  // passing tone, rising
  kPd = 3,  // passing tone, falling
  kAs = 4,  // accented scale tone resolving down
  kAi = 5,  // accented scale tone resolving up
  kEa = 6,  // escape tone, step up then leap down
  kEd = 7,  // escape tone, step down then leap up
  kRe = 99, // chord tone
};
constexpr int32_t kNonHarmonicTypes = 8;

// The two-letter names of the non-harmonic types, by code, as the listings
// and the tones file write them.
inline constexpr const char* kToneTypeNames[kNonHarmonicTypes] = {"fa", "fd", "pa", "pd",
                                                                  "as", "ai", "ea", "ed"};

// "fa" ... "ed", "re"; "xx" for any other code.
const char* tone_type_name(int32_t code);

}  // namespace zelvo::engine
