#include "composer/listing.h"

#include <gtest/gtest.h>

#include <memory>

#include "composer/composer_test_util.h"

namespace zelvo::composer {
namespace {

TEST(ListingTest, HeaderAndOneLinePerEventInCreationOrder) {
  auto table = std::make_unique<NoteTable>();
  table->events[0] = NoteEvent{1, 2, 12, 24, 60, 100};
  table->events[1] = NoteEvent{16, 1, 0, -5, 0, 127};
  table->count = 2;
  app::TempFolder folder;
  const std::string path = folder.file("outco.rur");
  ASSERT_EQ(write_listing(path.c_str(), ComposerTiming{4, 120, 4, 4, 48, 12, 2}, *table), FileResult::kWritten);
  EXPECT_EQ(test::read_file(path),
            "ZAZAD Output Data\n\n"
            "120,4,4,48,12\t(tempo, compas-num, compas-den, clicks-parte, clicks-semic)\n\n"
            "Inst\tCpin\tCkin\tDur\tNote\tVel\n\n"
            "1\t2\t12\t24\t60\t100\t\n"
            "16\t1\t0\t-5\t0\t127\t\n");
}

TEST(ListingTest, NoEventsGivesOnlyTheHeaderLines) {
  auto table = std::make_unique<NoteTable>();
  app::TempFolder folder;
  const std::string path = folder.file("outco.rur");
  ASSERT_EQ(write_listing(path.c_str(), ComposerTiming{0, 90, 6, 8, 24, 12, 3}, *table), FileResult::kWritten);
  EXPECT_EQ(test::read_file(path),
            "ZAZAD Output Data\n\n"
            "90,6,8,24,12\t(tempo, compas-num, compas-den, clicks-parte, clicks-semic)\n\n"
            "Inst\tCpin\tCkin\tDur\tNote\tVel\n\n");
}

TEST(ListingTest, FailuresAreReportedNotHidden) {
  auto table = std::make_unique<NoteTable>();
  table->count = 1;
  app::TempFolder folder;
  const std::string missing = folder.file("no/such/folder/outco.rur");
  EXPECT_EQ(write_listing(missing.c_str(), ComposerTiming{}, *table), FileResult::kNotCreated);
  EXPECT_EQ(write_listing("/dev/full", ComposerTiming{}, *table), FileResult::kNotWritten);
}

}  // namespace
}  // namespace zelvo::composer
