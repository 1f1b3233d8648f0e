#pragma once

// The letter names of the notes, as scores write a pitch's step: the one
// table every reader of pitches turns a letter into semitones with. A
// header of its own below the engines, so that both the composer and the
// harmonizer may include it.
#include <cstdint>

namespace zelvo::music {

// Semitones above C of the letter C, D, E, F, G, A or B; 0 for any other
// character (a missing or damaged step reads as C).
constexpr int32_t letter_semitones(char letter) {
  switch (letter) {
    case 'D': return 2;
    case 'E': return 4;
    case 'F': return 5;
    case 'G': return 7;
    case 'A': return 9;
    case 'B': return 11;
    default: return 0;  // C and any other character
  }
}

}  // namespace zelvo::music
