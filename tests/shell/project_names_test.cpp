// The names save and load give the files of a work, from a table of cases.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "shell/projects.h"

namespace zelvo::shell {
namespace {

TEST(ProjectNames, SaveAndLoadFollowTheTable) {
  std::ifstream table(std::string(ZELVO_TEST_DATA) + "/shell/project_names.txt");
  ASSERT_TRUE(table) << "no case table";
  int cases = 0;
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string work, project, saved, loaded;
    ASSERT_TRUE(words >> work >> project >> saved >> loaded) << line;
    if (work != "-") EXPECT_EQ(project_file_name(work, project), saved) << line;
    EXPECT_EQ(work_file_name(saved, project), loaded) << line;
    ++cases;
  }
  EXPECT_GT(cases, 20);
}

}  // namespace
}  // namespace zelvo::shell
