#include "engine/note_name.h"

#include <cstdio>

namespace zelvo::engine {

const char* note_name(int32_t pitch, char (&out)[kNoteNameSize]) {
  static constexpr char kLetters[] = "cCdDefFgGaAb";
  const int32_t pitch_class = pitch % 12;
  const char letter = pitch_class < 0 ? 'X' : kLetters[pitch_class];
  int32_t octave = pitch / 12;
  if (octave >= 1) octave -= 1;
  std::snprintf(out, kNoteNameSize, "%c%d", letter, static_cast<int>(octave));
  return out;
}

}  // namespace zelvo::engine
