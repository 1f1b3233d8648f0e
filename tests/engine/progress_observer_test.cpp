#include "engine/progress_observer.h"

#include <string>

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

TEST_F(ProgressObserverTest, TheEndAlsoWhenTheJobAborts) {
  settings_.OpeningInt = 1;
  add_note(1, 1, 0, kQuarter, 62);
  EXPECT_FALSE(harmonize_units(st(), settings_, lines_, nullptr, &recorder).ok());
  EXPECT_EQ(recorder.calls, "bar 1 lines 1; ended");
}

}  // namespace
}  // namespace zelvo::engine
