#include "intake/layout_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "support/cases.h"
#include "support/scenario_inputs.h"

namespace fs = std::filesystem;
using zelvo::intake::check_layout;

namespace {

// The cases of data/intake/layout_check_cases.txt: what one look at each
// score.xml tells.
TEST(LayoutCheck, EveryCaseAsRecorded) {
  zelvo::test::check_cases(zelvo::test::test_data("intake/layout_check_cases.txt"), [](const zelvo::test::Case& c) {
    const zelvo::intake::LayoutCheck check = check_layout(c.files.at(0).second);
    const auto yes = [](bool holds) { return holds ? "yes" : "no"; };
    return std::string("laid out ") + yes(check.laid_out) + ", mostly " + yes(zelvo::intake::mostly_laid_out(check)) +
           ", pickup " + yes(check.pickup) + ", meter changes " + yes(check.meter_changes) + "\n";
  });
}

// Every score the line readers read today is handed to them untouched.
TEST(LayoutCheck, ExamplesAndTestScoresPassAsTheyAre) {
  const fs::path source(ZELVO_SOURCE_DIR);
  std::map<std::string, std::string> scores;  // where -> bytes
  for (const fs::path& folder : {source / "examples", source / "tests" / "data" / "harmonizer"}) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) scores[entry.path()] = zelvo::test::read_file(entry.path());
  }
  for (const std::string scenario : {"musescore_laid_out", "pickup"}) {
    for (const auto& [name, bytes] : zelvo::test::input_files(fs::path(ZELVO_TEST_DATA) / "notation" / scenario)) {
      scores[scenario + "/" + name] = bytes;
    }
  }
  int files = 0;
  for (const auto& [where, bytes] : scores) {
    if (fs::path(where).extension() != ".xml") continue;
    const zelvo::intake::LayoutCheck check = check_layout(bytes);
    EXPECT_TRUE(check.laid_out && !check.meter_changes) << where;
    ++files;
  }
  EXPECT_GE(files, 8);
}

}  // namespace
