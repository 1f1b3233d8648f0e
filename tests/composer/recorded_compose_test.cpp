// Recorded Compose jobs (tests/data/composer/recorded/*/, inputs as
// support/scenario_inputs.h reads them): the listing and MIDI file are byte
// for byte the recorded ones, also when the same state runs the job again.
// The compositions lean on what the generation loop may skip or work out
// once: variables whose inputs did not change (a chain, one that reads
// itself, list registers, signed zeros), and the order generators are taken
// in, fixed or computed by a cell. `lists` is a random composition
// (bench/random_compositions.py) that a skipped variable which left the list
// registers unset got wrong.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "composer/compose.h"
#include "composer/composer_state.h"
#include "console/job_console.h"
#include "support/files.h"
#include "support/scenario_inputs.h"

namespace zelvo::composer {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) { return test::read_file(path.string()); }

TEST(RecordedComposeTest, OutputsAreTheRecordedOnesInEveryRun) {
  const fs::path recorded = fs::path(ZELVO_TEST_DATA) / "composer" / "recorded";
  auto state = std::make_unique<ComposerState>();
  auto console = std::make_unique<console::StandaloneConsole>();
  int32_t cases = 0;
  for (const auto& entry : fs::directory_iterator(recorded)) {
    const fs::path work = fs::temp_directory_path() / ("zelvo-recorded-" + entry.path().filename().string());
    fs::remove_all(work);
    fs::create_directories(work);
    test::make_inputs(entry.path(), work);
    state->work_folder = work.string();
    for (int run = 1; run <= 2; ++run) {
      compose(*state, *console);
      for (const char* name : {"outco.rur", "outco.mid"}) {
        EXPECT_EQ(contents(work / name), contents(entry.path() / name)) << entry.path().filename() << " " << name << " run " << run;
      }
    }
    fs::remove_all(work);
    ++cases;
  }
  EXPECT_EQ(cases, 3);
}

}  // namespace
}  // namespace zelvo::composer
