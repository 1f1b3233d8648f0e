// Music whose bar numbers and bar lengths are absurd (near 2^31 each): the
// times pass 64 bits when multiplied, and their 32-bit sort keys wrap. The
// harmonizer must still end, with a result or a message, and compute
// nothing undefined (the sanitizer build runs this too).
#include <gtest/gtest.h>

#include <string>

#include "robustness_support.h"

namespace zelvo::robustness {
namespace {

using console::JobKind;
using console::JobOutcome;

std::string listing_with_timing(const std::string& timing, const std::string& notes) {
  return "ZAZAD Output Data\n\n" + timing + "\t(tempo, compas-num, compas-den, clicks-parte, clicks-semic)\n\n" +
         "Inst\tCpin\tCkin\tDur\tNote\tVel\n\n" + notes;
}

JobOutcome harmonize_listing(const std::string& listing_text, Jobs& jobs) {
  copy_demo("conar.txt", "conar.txt");
  copy_demo("inarm.xml", "inarm.xml");
  write_file("outco.rur", listing_text);
  return jobs.run(JobKind::kHarmonize);
}

// Found by fuzzing: bar 2^31 - 1 times a bar of 4 * (2^31 - 1) clicks.
TEST(AbsurdTime, BarTimesBarLengthBeyondSixtyFourBits) {
  WorkFolder folder;
  Jobs jobs;
  const JobOutcome outcome = harmonize_listing(
      listing_with_timing("96,4,4,2147483647,12", "1\t2147483647\t0\t48\t60\t90\t\n1\t1\t0\t48\t62\t90\t\n"), jobs);
  EXPECT_NE(outcome, JobOutcome::kStopped) << jobs.output();
}

// Notes of a bar near 2^31 in bars of 2^32 clicks sort before bar 1 (their
// 32-bit times wrap to 0): the engine once met a unit that ended before its
// first note and refilled the same window for ever.
TEST(AbsurdTime, NotesSortedOutOfTimeOrderStillEnd) {
  WorkFolder folder;
  Jobs jobs;
  const JobOutcome outcome = harmonize_listing(
      listing_with_timing("96,65536,4,65536,12",
                          "1\t2147483000\t0\t48\t60\t90\t\n2\t2147483000\t0\t48\t48\t90\t\n1\t1\t0\t48\t62\t90\t\n"),
      jobs);
  EXPECT_EQ(outcome, JobOutcome::kFinished) << jobs.output();
}

}  // namespace
}  // namespace zelvo::robustness
