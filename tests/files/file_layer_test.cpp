// The file layer's answers, as the jobs' messages depend on them: a table
// of paths and what writing there gives, and the path joins.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/paths.h"
#include "files/result_writer.h"
#include "files/run_inputs.h"
#include "files/whole_file.h"
#include "support/files.h"

namespace zelvo::files {
namespace {

namespace fs = std::filesystem;

TEST(JoinPath, OneSeparatorAndTheCurrentDirectory) {
  EXPECT_EQ(join_path("", "a.txt"), "a.txt");
  EXPECT_EQ(join_path("w", "a.txt"), "w/a.txt");
  EXPECT_EQ(join_path("w/", "a.txt"), "w/a.txt");
  EXPECT_EQ(join_path("/", "a"), "/a");
}

TEST(RunInputs, AllButTheResultsAndTheComposition) {
  for (const char* name : {"conar.txt", "inmus.xml", "insec.xml", "incom_eng.htm", "infor.rur", "o.txt"}) {
    EXPECT_TRUE(is_run_input(name)) << name;
  }
  for (const char* name : {"outco.mid", "outar.tones", "out", "incom.htm", "incom.htc"}) {
    EXPECT_FALSE(is_run_input(name)) << name;
  }
}

// What each way of writing answers for each kind of place.
TEST(WriteResults, AsTheFolderAnswers) {
  test::TempFolder folder;
  fs::create_directory(folder.file("dir"));
  fs::create_symlink("/dev/full", folder.file("full"));
  struct Case {
    const char* name;
    WriteResult in_place;
    WriteResult whole;
    bool rename_error;  // write_whole tells why the renaming failed
  };
  const Case cases[] = {
      {"new.txt", WriteResult::kWritten, WriteResult::kWritten, false},
      {"dir", WriteResult::kNotCreated, WriteResult::kNotWritten, true},  // the part is made, the rename refused
      {"full", WriteResult::kNotWritten, WriteResult::kWritten, false},   // the rename replaces the link
      {"missing/x.txt", WriteResult::kNotCreated, WriteResult::kNotCreated, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.file(c.name);
    EXPECT_EQ(write_file(path, "bytes"), c.in_place);
    std::error_code error;
    EXPECT_EQ(write_whole(path, "whole", &error), c.whole);
    EXPECT_EQ(static_cast<bool>(error), c.rename_error);
    EXPECT_FALSE(fs::exists(path + ".part"));
    std::string bytes;
    if (c.whole == WriteResult::kWritten) {
      EXPECT_TRUE(read_whole(path, bytes));
      EXPECT_EQ(bytes, "whole");
    }
  }
  std::string bytes = "left";
  EXPECT_FALSE(read_whole(folder.file("none"), bytes));
}

TEST(FolderWriter, MakesTheSubfolderOfAnOutput) {
  test::TempFolder folder;
  FolderWriter writer(folder.path());
  EXPECT_EQ(writer.write("_debug/a.txt", "a", Replace::kInPlace), WriteResult::kWritten);
  EXPECT_EQ(test::read_file(folder.file("_debug/a.txt")), "a");
  EXPECT_EQ(write_output(nullptr, folder.path(), "b.txt", "b", Replace::kWhole), WriteResult::kWritten);
  EXPECT_EQ(test::read_file(folder.file("b.txt")), "b");
}

}  // namespace
}  // namespace zelvo::files
