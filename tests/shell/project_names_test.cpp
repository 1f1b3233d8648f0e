// The names save and load give the files of a work, from a table of cases.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "shell/projects.h"
#include "support/files.h"

namespace zelvo::shell {
namespace {

TEST(ProjectNames, SaveAndLoadFollowTheTable) {
  for (const std::string& line : test::table_rows("shell/project_names.txt", 21)) {
    std::istringstream words(line);
    std::string work, project, saved, loaded;
    ASSERT_TRUE(words >> work >> project >> saved >> loaded) << line;
    if (work != "-") {
      EXPECT_EQ(project_file_name(work, project), saved) << line;
    }
    EXPECT_EQ(work_file_name(saved, project), loaded) << line;
  }
}

}  // namespace
}  // namespace zelvo::shell
