#include "intake/layout_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "support/scenario_inputs.h"

namespace fs = std::filesystem;
using zelvo::intake::check_layout;

namespace {

std::string read_file(const fs::path& path) { return zelvo::test::read_file(path.string()); }

std::string unescape_lines(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "\\n") == 0) {
      out += '\n';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

TEST(LayoutCheck, TableOfLines) {
  std::istringstream table(read_file(fs::path(ZELVO_TEST_DATA) / "notation" / "layout_cases.txt"));
  std::string row;
  int cases = 0;
  while (std::getline(table, row)) {
    if (row.empty() || row[0] == '#') continue;
    const size_t tab = row.find('\t');
    ASSERT_NE(tab, std::string::npos) << row;
    const std::string text = unescape_lines(row.substr(tab + 1));
    EXPECT_EQ(check_layout(text).laid_out, row.substr(0, tab) == "yes") << text;
    ++cases;
  }
  EXPECT_GT(cases, 10);
}

// Every score the line readers read today is handed to them untouched.
TEST(LayoutCheck, ExamplesAndTestScoresPassAsTheyAre) {
  const fs::path source(ZELVO_SOURCE_DIR);
  std::map<std::string, std::string> scores;  // where -> bytes
  for (const fs::path& folder : {source / "examples", source / "tests" / "data" / "harmonizer"}) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) scores[entry.path()] = read_file(entry.path());
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

// A stray compound line leaves a file laid out on the whole (read as it
// is); a score run together on one line, declaration apart, is not.
TEST(LayoutCheck, MostlyLaidOut) {
  using zelvo::intake::mostly_laid_out;
  EXPECT_TRUE(mostly_laid_out(check_layout("<measure number=\"1\">\n<note><rest/>\n"
                                           "<duration>2</duration>\n</note>")));
  EXPECT_FALSE(mostly_laid_out(check_layout("<?xml version=\"1.0\"?>\n<score-partwise>"
                                            "<part id=\"P1\"><measure number=\"1\"/></part>")));
  EXPECT_FALSE(mostly_laid_out(check_layout("<note><rest/>\n<pitch><step>A</step></pitch>\n"
                                            "</note>")));
}

TEST(LayoutCheck, PickupAndMeterMarks) {
  EXPECT_TRUE(check_layout("<part id=\"P1\">\n<measure number=\"0\" implicit=\"yes\">").pickup);
  EXPECT_FALSE(check_layout("<part id=\"P1\">\n<measure number=\"1\">\n<measure number=\"2\" "
                            "implicit=\"yes\">")
                   .pickup);
  EXPECT_TRUE(check_layout("<beats>4</beats>\n<beats>3</beats>").meter_changes);
  EXPECT_FALSE(check_layout("<beats>4</beats>\n<beat-type>4</beat-type>\n<beats>4</beats>")
                   .meter_changes);
}

}  // namespace
