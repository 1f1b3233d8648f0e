#include "engine/note_name.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/model.h"

namespace zelvo::engine {
namespace {

std::string name(int32_t pitch) {
  char out[kNoteNameSize];
  return note_name(pitch, out);
}

TEST(NoteNameTest, LettersAndOctaves) {
  EXPECT_EQ(name(60), "c4");
  EXPECT_EQ(name(61), "C4");
  EXPECT_EQ(name(69), "a4");
  EXPECT_EQ(name(71), "b4");
  EXPECT_EQ(name(127), "g9");
  EXPECT_EQ(name(0), "c0");
  EXPECT_EQ(name(12), "c0");
  EXPECT_EQ(name(13), "C0");
  EXPECT_EQ(name(24), "c1");
}

TEST(NoteNameTest, NegativePitches) {
  EXPECT_EQ(name(-1), "X0");
  EXPECT_EQ(name(-13), "X-1");
  EXPECT_EQ(name(-12), "c-1");
}

TEST(NoteNameTest, ToneTypeNames) {
  const char* expected[] = {"fa", "fd", "pa", "pd", "as", "ai", "ea", "ed"};
  for (int32_t t = 0; t < kNonHarmonicTypes; ++t) EXPECT_STREQ(tone_type_name(t), expected[t]);
  EXPECT_STREQ(tone_type_name(kRe), "re");
  EXPECT_STREQ(tone_type_name(8), "xx");
  EXPECT_STREQ(tone_type_name(-1), "xx");
}

}  // namespace
}  // namespace zelvo::engine
