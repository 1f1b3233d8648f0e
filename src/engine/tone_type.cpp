#include "engine/model.h"

namespace zelvo::engine {

const char* tone_type_name(int32_t code) {
  static constexpr const char* kNames[kNonHarmonicTypes] = {"fa", "fd", "pa", "pd",
                                                            "as", "ai", "ea", "ed"};
  if (code >= 0 && code < kNonHarmonicTypes) return kNames[code];
  if (code == kRe) return "re";
  return "xx";
}

}  // namespace zelvo::engine
