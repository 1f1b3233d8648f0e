// The file layer's answers, as the jobs' messages depend on them: a table
// of paths and what writing there gives, the path joins and a job's inputs.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "files/paths.h"
#include "files/result_writer.h"
#include "files/run_inputs.h"
#include "files/whole_file.h"
#include "support/files.h"

namespace zelvo::files {
namespace {

namespace fs = std::filesystem;

const char* result_name(WriteResult result) {
  return result == WriteResult::kWritten ? "written" : result == WriteResult::kNotCreated ? "not-created" : "not-written";
}

// The rows of data/files/layer_cases.txt: path joins, a job's inputs, and
// what each way of writing answers for each kind of place.
TEST(FileLayer, EveryCaseOfTheTable) {
  test::TempFolder folder;
  fs::create_directory(folder.file("dir"));
  fs::create_symlink("/dev/full", folder.file("full"));
  for (const std::string& row : test::table_rows("files/layer_cases.txt", 20)) {
    SCOPED_TRACE(row);
    std::istringstream words(row.substr(0, row.find(" | ")));
    std::string kind, first, second, got, bytes = "left";
    words >> kind >> first >> second;
    const std::string path = folder.file(first);
    if (kind == "join") got = join_path(first == "-" ? "" : first, second);
    if (kind == "input") got = is_run_input(first) ? "yes" : "no";
    if (kind == "read") got = read_whole(path, bytes) ? bytes : "fails";
    if (kind == "write") {
      std::error_code error;
      got = result_name(write_file(path, "bytes"));
      got += std::string(" ") + result_name(write_whole(path, "whole", &error));
      if (error) got += " rename error";
      EXPECT_FALSE(fs::exists(path + ".part"));
      if (read_whole(path, bytes)) got += " reads " + bytes;
    }
    EXPECT_EQ(got, row.substr(row.find(" | ") + 3));
  }
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
