// What `zelvo check` takes for a `<` the reader drops as a tag: each line of
// data/check/dropped_as_tag.txt is a cell as a file writes it, a tab, and
// the part named (or "-" for none).
#include <gtest/gtest.h>

#include "check/cell_check.h"
#include "support/files.h"

namespace zelvo::check {
namespace {

TEST(CellCheckTest, DroppedAsTagNamesOnlyWhatNoEditorWritesAsATag) {
  for (const std::string& line : test::table_rows("check/dropped_as_tag.txt", 10)) {
    const size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    const std::string expected = line.substr(tab + 1);
    EXPECT_EQ(dropped_as_tag(line.substr(0, tab)), expected == "-" ? "" : expected) << line;
  }
}

}  // namespace
}  // namespace zelvo::check
