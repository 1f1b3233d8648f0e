#pragma once

#include <cstdint>
#include <string_view>

// Byte coding of the Standard MIDI Files that both engines write and read:
// big-endian numbers and the variable-length quantity of delta times.
namespace zelvo::midi {

// The largest variable-length quantity: four bytes of seven bits.
constexpr uint32_t kMaxVarLength = (1u << 28) - 1;

// Writes `value` as a variable-length quantity: seven-bit groups from the
// most significant on, bit 7 set on every byte but the last. Returns the
// number of bytes written, 1 to 10. The format's limit is four
// (kMaxVarLength): a writer held to it checks the value first.
// REQUIRES: `out` has room for 10 bytes.
inline int put_var_length(char* out, uint64_t value) {
  int count = 1;
  while (count < 10 && (value >> (7 * count)) != 0) ++count;
  for (int g = count - 1; g >= 0; --g) {
    const char bits = static_cast<char>((value >> (7 * g)) & 0x7F);
    *out++ = g > 0 ? static_cast<char>(bits | 0x80) : bits;
  }
  return count;
}

// Writes the low `count` bytes (1 to 4) of `value`, the most significant
// first. REQUIRES: `out` has room for them.
inline void put_be(char* out, uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) *out++ = static_cast<char>(value >> (8 * i));
}

// The big-endian number of `count` bytes (1 to 4) at `at`; bytes past the
// end of `bytes` are left out, so a short file reads as a smaller number.
inline uint32_t get_be(std::string_view bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count && at + i < bytes.size(); ++i) {
    value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
  }
  return value;
}

}  // namespace zelvo::midi
