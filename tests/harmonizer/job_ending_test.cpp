// How a harmonize job ends when Stop is pressed while an error is printed:
// a score file the opener refuses ends it in the abort, as it always has;
// a reader's own error lets the stop win.
#include <gtest/gtest.h>

#include <memory>

#include "console/job_end.h"
#include "console/score_opener.h"
#include "harmonizer/harmonize_job.h"
#include "support/files.h"

namespace zelvo::harmonizer {
namespace {

class StoppingOpener : public console::ScoreOpener {
 public:
  StoppingOpener(bool refuse, console::JobControl& control) : refuse_(refuse), control_(control) {}
  console::OpenedScore open_score(const std::string&, const char* name, base::ProgressLines&) override {
    control_.request_stop();
    if (!refuse_) return {};
    console::OpenedScore refused;
    refused.status = base::Status::ending_in_abort(base::Message(base::MessageId::kMidiNotMusicXml, name));
    return refused;
  }

 private:
  bool refuse_;
  console::JobControl& control_;
};

console::JobOutcome harmonize_pressing_stop(bool refuse) {
  test::TempFolder folder;
  test::write_file(folder.file("conar.txt"), "MusicSource = 0\n");
  auto state = std::make_unique<HarmonizerState>();
  state->work_folder = folder.path();
  console::StandaloneConsole console;
  StoppingOpener opener(refuse, console.control());
  state->score_opener = &opener;
  console.control().set_job_running(true);
  try {
    harmonize(*state, console);
  } catch (const console::JobEnded& ended) {
    return ended.outcome;
  }
  return console::JobOutcome::kFinished;
}

TEST(HarmonizeJobEnding, RefusedScoreAbortsEvenWithStopPressed) {
  EXPECT_EQ(harmonize_pressing_stop(true), console::JobOutcome::kAborted);
  EXPECT_EQ(harmonize_pressing_stop(false), console::JobOutcome::kStopped);
}

}  // namespace
}  // namespace zelvo::harmonizer
