#include "engine/tone_type.h"

namespace zelvo::engine {

const char* tone_type_name(int32_t code) {
  if (code >= 0 && code < kNonHarmonicTypes) return kToneTypeNames[code];
  if (code == kRe) return "re";
  return "xx";
}

}  // namespace zelvo::engine
