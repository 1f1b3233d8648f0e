#include "shell/launchers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "fake_platform.h"
#include "support/cases.h"
#include "shell/shell_messages.h"

namespace zelvo::shell {
namespace {

// The cases of data/shell/launcher_cases.txt: the folders and the targets
// the desktop fails to open on the call line ({work} a scratch folder), then
// a launcher a line of the steps, each with the requests and the messages
// it made.
TEST(LaunchersTest, EveryCaseAsRecorded) {
  test::check_cases(test::test_data("shell/launcher_cases.txt"), [](const test::Case& c) {
    TempFolder work;
    Folders folders;
    FakePlatform platform;
    const auto fill = [&](const std::string& text) { return test::replace_all(text, "{work}", work.path()); };
    for (const std::string& word : c.call) {
      const std::string value = fill(word.substr(word.find('=') + 1));
      if (word.rfind("template=", 0) == 0) folders.template_folder = value;
      if (word.rfind("work=", 0) == 0) folders.work = value;
      if (word.rfind("project=", 0) == 0) folders.project = value;
      if (word.rfind("failing=", 0) == 0) platform.failing.insert(value);
    }
    std::string got;
    std::istringstream steps(c.files.at(0).second);
    for (std::string line; std::getline(steps, line);) {
      std::istringstream words(fill(line));
      std::string what, target, folder;
      words >> what >> target >> folder;
      const size_t requests = platform.requests.size(), messages = platform.messages.size();
      got += line + "\n";
      if (what == "information") edit_information(folders, platform);
      if (what == "options") edit_harmonizer_options(folders, platform);
      if (what == "explore") explore_work_folder(folders, platform);
      if (what == "documentation") open_documentation(target, std::stoi(folder), platform);
      if (what == "make") write_file(work.file(target), "");
      if (what == "target") got += "  " + resolve_shell_target(target, folder == "-" ? "" : folder).value_or("none") + "\n";
      for (size_t i = requests; i < platform.requests.size(); ++i) got += "  request " + platform.requests[i] + "\n";
      for (size_t i = messages; i < platform.messages.size(); ++i) {
        got += "  message " + test::replace_all(platform.messages[i], "\n", "\n    ") + "\n";
      }
    }
    // The documentation is also looked for beside the program, in its build folder.
    const std::string build = std::filesystem::path(ZELVO_BINARY).parent_path().string();
    return test::replace_all(test::replace_all(got, work.path(), "{work}"), build, "{build}");
  });
}

TEST(LaunchersTest, AboutNamesTheProgramAndItsVersion) {
  const std::string first = "Zelvo " + std::string(console::kVersion) + "\n\nA tool for algorithmic music.\n\n";
  EXPECT_EQ(about_text().substr(0, first.size()), first);
}

}  // namespace
}  // namespace zelvo::shell
