#include "engine/progress_observer.h"

#include <string>

#include "engine/engine_messages.h"
#include "engine/harmonize_units.h"
#include "engine_fixture.h"

namespace zelvo::engine {
namespace {

using testing_support::kQuarter;

class Recorder : public ProgressObserver {
 public:
  std::string calls;
  void unit_started(int32_t bar, int32_t lines) override {
    calls += "bar " + std::to_string(bar) + " lines " + std::to_string(lines) + "; ";
  }
  void units_ended() override { calls += "ended"; }
};

class ProgressObserverTest : public testing_support::EngineTest {
 protected:
  void SetUp() override {
    c_major_from_bar_one();
    settings_.BassIns = kNoInstrument;
  }
  Recorder recorder;
};

TEST_F(ProgressObserverTest, EveryUnitThenTheEnd) {
  set_chord(1, 2, 0, {60, 64, 67});
  add_note(1, 1, 0, kQuarter, 60);
  add_note(1, 1, 0, kQuarter, 64);
  add_note(1, 2, 0, kQuarter, 67);
  EXPECT_TRUE(harmonize_units(st(), settings_, lines_, nullptr, &recorder).ok());
  EXPECT_EQ(recorder.calls, "bar 1 lines 2; bar 2 lines 1; ended");
}

// An impossible line: the failure comes back as a value a stop wins over,
// after the progress shown so far, and the observer still hears the end.
TEST_F(ProgressObserverTest, AnImpossibleLineFailsLettingAStopWinAndTheEndIsHeard) {
  settings_.OpeningInt = 1;
  add_note(1, 1, 0, kQuarter, 62);
  const base::Status status = harmonize_units(st(), settings_, lines_, nullptr, &recorder);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().id(), base::MessageId::kImpossible);
  EXPECT_TRUE(stop_wins_over(status.error()));
  EXPECT_EQ(console_text(), "\n** Harmonizing bar 1 sixteenth 0");
  EXPECT_EQ(recorder.calls, "bar 1 lines 1; ended");
}

}  // namespace
}  // namespace zelvo::engine
