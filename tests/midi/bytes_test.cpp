#include "midi/bytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelvo {
namespace {

std::vector<uint8_t> var_length(uint32_t value) {
  uint8_t out[4];
  const int32_t n = midi::put_var_length(out, value);
  return std::vector<uint8_t>(out, out + n);
}

TEST(MidiBytesTest, VarLengthAtEveryGroupBoundary) {
  EXPECT_EQ(var_length(0), (std::vector<uint8_t>{0x00}));
  EXPECT_EQ(var_length(127), (std::vector<uint8_t>{0x7F}));
  EXPECT_EQ(var_length(128), (std::vector<uint8_t>{0x81, 0x00}));
  EXPECT_EQ(var_length(200), (std::vector<uint8_t>{0x81, 0x48}));
  EXPECT_EQ(var_length((1u << 14) - 1), (std::vector<uint8_t>{0xFF, 0x7F}));
  EXPECT_EQ(var_length(1u << 14), (std::vector<uint8_t>{0x81, 0x80, 0x00}));
  EXPECT_EQ(var_length((1u << 21) - 1), (std::vector<uint8_t>{0xFF, 0xFF, 0x7F}));
  EXPECT_EQ(var_length(1u << 21), (std::vector<uint8_t>{0x81, 0x80, 0x80, 0x00}));
  EXPECT_EQ(var_length(midi::kMaxVarLength), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F}));
}

TEST(MidiBytesTest, BigEndianNumbers) {
  uint8_t out[4] = {};
  midi::put_be32(out, 0x01020304);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{1, 2, 3, 4}));
  midi::put_be24(out, 500000);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 3), (std::vector<uint8_t>{0x07, 0xA1, 0x20}));
  midi::put_be16(out, 96);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 2), (std::vector<uint8_t>{0x00, 0x60}));
}

}  // namespace
}  // namespace zelvo
