// Recorded scenarios of score intake: each folder of tests/data/notation
// holds the files a work folder starts from (in/ and the lines of in.list,
// as support/scenario_inputs.h reads them), zelvo commands one a line
// (`command`) and the expected console text, exit status and output files
// under expected/. No other file may be written. A `same_as` file names a
// scenario whose outputs must be the same bytes. ZELVO_UPDATE=1 records the
// expectations anew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli_runner.h"
#include "support/scenario_inputs.h"

namespace fs = std::filesystem;

namespace {

const fs::path kScenarios = fs::path(ZELVO_TEST_DATA) / "notation";

std::string read_file(const fs::path& path) { return zelvo::test::read_file(path.string()); }
void write_file(const fs::path& path, const std::string& bytes) { zelvo::test::write_file(path.string(), bytes); }

std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

void run_scenario(const fs::path& scenario) {
  SCOPED_TRACE(scenario.filename().string());
  zelvo::app::TempFolder work;
  zelvo::test::make_inputs(scenario, work.path());
  std::set<std::string> inputs;
  for (const auto& entry : fs::directory_iterator(work.path())) inputs.insert(entry.path().filename().string());
  // One zelvo command a line; their consoles and the last status count.
  zelvo::app::CliResult result;
  std::istringstream commands(read_file(scenario / "command"));
  std::string line;
  while (std::getline(commands, line)) {
    if (line.empty()) continue;
    std::istringstream words(line);
    std::vector<std::string> arguments;
    for (std::string word; words >> word;) arguments.push_back(word);
    const zelvo::app::CliResult one = zelvo::app::run_zelvo(arguments, work.path());
    result.output += one.output;
    result.status = one.status;
  }

  const fs::path expected = scenario / "expected";
  const bool update = std::getenv("ZELVO_UPDATE") != nullptr;
  if (update) {
    fs::remove_all(expected);
    fs::create_directory(expected);
    write_file(expected / "console.txt", zelvo::test::without_version(result.output));
    write_file(expected / "status", std::to_string(result.status) + "\n");
  }
  EXPECT_EQ(zelvo::test::read_recorded((expected / "console.txt").string()), result.output);
  EXPECT_EQ(trimmed(read_file(expected / "status")), std::to_string(result.status));
  for (const fs::directory_entry& entry : fs::directory_iterator(work.path())) {
    const std::string name = entry.path().filename().string();
    if (inputs.count(name) != 0) continue;
    if (update) write_file(expected / name, read_file(entry.path()));
    EXPECT_TRUE(fs::exists(expected / name)) << "unexpected output " << name;
    EXPECT_TRUE(read_file(expected / name) == read_file(entry.path())) << name << " differs";
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(expected)) {
    const std::string name = entry.path().filename().string();
    if (name != "console.txt" && name != "status") {
      EXPECT_TRUE(fs::exists(fs::path(work.path()) / name)) << "missing output " << name;
    }
  }
  if (fs::exists(scenario / "same_as")) {
    const fs::path other = kScenarios / trimmed(read_file(scenario / "same_as")) / "expected";
    for (const char* name : {"outar.mid", "outco.mid", "outco.rur"}) {
      if (!fs::exists(other / name)) continue;
      EXPECT_TRUE(read_file(other / name) == read_file(expected / name)) << name << " differs";
    }
  }
}

TEST(NotationScenarios, EveryRecordedScenario) {
  int count = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(kScenarios)) {
    if (!entry.is_directory() || !fs::exists(entry.path() / "command")) continue;
    run_scenario(entry.path());
    ++count;
  }
  EXPECT_GT(count, 0);
}

}  // namespace
