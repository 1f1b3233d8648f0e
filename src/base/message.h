#pragma once

#include <cstdint>

namespace zelvo::base {

constexpr int32_t kEnglish = 0;
constexpr int32_t kSpanish = 1;

// One user-visible message in both languages. The two texts are printf
// formats with the same placeholders; the language flag picks one at the
// moment of printing. Text is Windows-1252.
struct MessagePair {
  const char* english;
  const char* spanish;
};

// A pair whose two texts are the same, for literals such as "%s".
constexpr MessagePair same_text(const char* text) { return MessagePair{text, text}; }

}  // namespace zelvo::base
