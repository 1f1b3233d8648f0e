#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Byte coding of the Standard MIDI Files that both engines write and read:
// big-endian numbers and the variable-length quantity of delta times.
namespace zelvo::midi {

// The largest variable-length quantity: four bytes of seven bits.
constexpr uint32_t kMaxVarLength = (1u << 28) - 1;

// Writes `value` as a variable-length quantity: seven-bit groups from the most
// significant on, bit 7 set on every byte but the last. Returns the number of
// bytes written (1 to 4).
// REQUIRES: value <= kMaxVarLength; `out` has room for 4 bytes.
inline int32_t put_var_length(uint8_t* out, uint32_t value) {
  int32_t groups = 1;
  while (groups < 4 && (value >> (7 * groups)) != 0) ++groups;
  for (int32_t g = groups - 1; g >= 0; --g) {
    const uint8_t bits = static_cast<uint8_t>((value >> (7 * g)) & 0x7F);
    *out++ = g > 0 ? static_cast<uint8_t>(bits | 0x80) : bits;
  }
  return groups;
}

// Appends `value` as a variable-length quantity: seven-bit groups from the
// most significant on, bit 7 set on every byte but the last; 1 to 10 bytes.
// The format's limit is four (kMaxVarLength): a writer held to it checks
// the value first.
inline void put_var_length(std::string& out, uint64_t value) {
  char groups[10];
  int count = 0;
  do {
    groups[count++] = static_cast<char>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (count > 1) out += static_cast<char>(groups[--count] | 0x80);
  out += groups[0];
}

// Appends the low `count` bytes (1 to 4) of `value`, the most significant
// first.
inline void put_be(std::string& out, uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) out += static_cast<char>(value >> (8 * i));
}

// REQUIRES: `out` has room for 2, 3 and 4 bytes; only the low bits are kept.
inline void put_be16(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value >> 8);
  out[1] = static_cast<uint8_t>(value);
}

inline void put_be24(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value >> 16);
  out[1] = static_cast<uint8_t>(value >> 8);
  out[2] = static_cast<uint8_t>(value);
}

inline void put_be32(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value >> 24);
  out[1] = static_cast<uint8_t>(value >> 16);
  out[2] = static_cast<uint8_t>(value >> 8);
  out[3] = static_cast<uint8_t>(value);
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

// Reads the variable-length quantity at `at` (at most four bytes, as the
// format defines it) and moves `at` past it. False when `bytes` ends first
// or a fourth byte still says that more follow.
inline bool get_var_length(std::string_view bytes, size_t& at, uint32_t& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    if (at >= bytes.size()) return false;
    const uint8_t b = static_cast<uint8_t>(bytes[at++]);
    value = (value << 7) | (b & 0x7Fu);
    if ((b & 0x80) == 0) return true;
  }
  return false;
}

}  // namespace zelvo::midi
