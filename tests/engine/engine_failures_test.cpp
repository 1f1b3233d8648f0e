// The engine's failures come back as values, after the progress shown so
// far; nothing of the failure is printed by the engine itself.
#include <string>

#include "engine/engine_messages.h"
#include "engine/harmonize_units.h"
#include "engine_fixture.h"

namespace zelvo::engine {
namespace {

using testing_support::kQuarter;

class EngineFailuresTest : public testing_support::EngineTest {
 protected:
  base::Status run() { return harmonize_units(st(), settings_, lines_, nullptr); }
};

TEST_F(EngineFailuresTest, MusicBeforeTheHarmonyNamesTheBar) {
  set_chord(0, 2, 0, {60, 64, 67});
  set_scale(0, 2, 0, {60, 62, 64, 65, 67, 69, 71});
  add_note(1, 1, 0, kQuarter, 60);
  const base::Status status = run();
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(base::render(status.error(), base::kEnglish),
            "\nError: the music begins before the first chord or scale of the harmony information (bar 1). "
            "The harmony must begin no later than the music\n");
  EXPECT_FALSE(stop_wins_over(status.error()));
  EXPECT_EQ(console_text(), "");
}

}  // namespace
}  // namespace zelvo::engine
