// zelvo play into a real MIDI port: a JACK server of the test's own with
// its dummy driver and an input client of the test's own. Skipped, saying
// why, where no server can start. Times are checked against a tolerance
// of a few JACK periods only; the figures are the benchmark's.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "app/cli_runner.h"
#include "jack_harness.h"
#include "player/midi_port.h"
#include "player/player.h"
#include "support/files.h"
#include "support/status_text.h"

namespace zelvo::player {
namespace {

constexpr double kToleranceMs = 60.0;  // a busy machine delays JACK cycles

// The fast demo composed and harmonized.
void compose_fast_demo(const std::string& folder) {
  copy_fast_demo(folder);
  ASSERT_EQ(app::run_zelvo({"--work", folder, "all"}).status, 0);
}

std::vector<TimedMessage> notes_of(const Song& song, int64_t before) {
  std::vector<TimedMessage> notes;
  for (const TimedMessage& message : song.messages) {
    const uint8_t kind = message.bytes[0] & 0xF0;
    if ((kind == 0x80 || kind == 0x90) && message.micros < before) notes.push_back(message);
  }
  return notes;
}

// `got` begins with `expected`, note for note, at its times from the first:
// all within a second, all but a twentieth within the tolerance (a machine
// busy with other work may hold a JACK cycle back now and then; a wrong
// tempo or a drifting clock moves most notes).
void expect_played(const std::vector<TimedMessage>& expected, const std::vector<Received>& got) {
  ASSERT_GE(got.size(), expected.size());
  size_t late = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    const bool expected_on = (expected[i].bytes[0] & 0xF0) == 0x90 && expected[i].bytes[2] > 0;
    EXPECT_EQ(got[i].note_on(), expected_on) << "note " << i;
    EXPECT_EQ(got[i].bytes[0] & 0x0F, expected[i].bytes[0] & 0x0F) << "note " << i;
    EXPECT_EQ(got[i].bytes[1], expected[i].bytes[1]) << "note " << i;
    const double at = std::chrono::duration<double, std::milli>(got[i].at - got[0].at).count();
    const double deviation = std::fabs(at - (expected[i].micros - expected[0].micros) / 1000.0);
    EXPECT_LT(deviation, 1000.0) << "note " << i;
    late += deviation > kToleranceMs;
  }
  EXPECT_LE(late * 20, expected.size()) << late << " notes off their time by more than " << kToleranceMs << " ms";
}

class JackPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server_.running()) GTEST_SKIP() << server_.why_not();
    listener_ = std::make_unique<Listener>();
  }
  JackServer server_;
  std::unique_ptr<Listener> listener_;
  app::TempFolder folder_;
};

TEST_F(JackPortTest, PortsListsTheListenersPort) {
  const app::CliResult result = app::run_zelvo({"ports"});
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.output.find("JACK:\n  zelvo-check:in\n"), std::string::npos) << result.output;
}

// zelvo play `file` of the fast demo from bar `from` to bar `to` (0: to
// its end): the listener gets every note of those bars in order at its
// time, and none is left sounding. Notes held from the bar before are not
// sounded, only released. On JACK it says so.
void expect_play(Listener& listener, const app::TempFolder& folder, const std::string& file, int from, int to,
                 bool jack = true) {
  SCOPED_TRACE(file + " from bar " + std::to_string(from) + " to " + std::to_string(to));
  std::vector<std::string> words{ZELVO_BINARY, "play", folder.file(file), "--port", "zelvo-check"};
  for (const auto& [option, bar] : {std::pair{"--from", from}, std::pair{"--to", to}}) {
    if (bar > 1) words.insert(words.end(), {option, std::to_string(bar)});
  }
  Child play(words, folder.file("out.txt"));
  EXPECT_EQ(play.wait(60), 0);
  if (jack) { EXPECT_EQ(test::read_file(folder.file("out.txt")), "Playing into JACK port zelvo-check:in.\n"); }
  Song song;
  ASSERT_EQ(test::english(load_song(folder.file(file), song)), "");
  std::vector<TimedMessage> expected;
  for (const TimedMessage& message : notes_of(song, to > 0 ? song.bar_lines[to] : song.end_micros + 1)) {
    if (message.micros >= song.bar_lines[from - 1] && (!expected.empty() || (message.bytes[0] & 0xF0) == 0x90)) {
      expected.push_back(message);
    }
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_TRUE(listener.wait_for_notes(expected.size(), 5)) << listener.notes().size() << " of " << expected.size();
  std::vector<Received> got;
  for (const Received& message : listener.notes()) {
    if (message.note_on() || !got.empty() || from == 1) got.push_back(message);
  }
  if (to == 0) { EXPECT_EQ(got.size(), expected.size()); }
  expect_played(expected, got);
  EXPECT_EQ(notes_left_sounding(listener.received()), 0);
}

TEST_F(JackPortTest, PlayDeliversEveryNoteOfTheDemoInOrderAtItsTime) {
  compose_fast_demo(folder_.path());
  expect_play(*listener_, folder_, "outco.mid", 1, 0);
}

TEST_F(JackPortTest, PlayFromToPlaysTheBarsOfTheHarmonizedResult) {
  compose_fast_demo(folder_.path());
  expect_play(*listener_, folder_, "outar.mid", 2, 3);
}

TEST_F(JackPortTest, CtrlCStopsALoopWithNoNoteLeftSounding) {
  compose_fast_demo(folder_.path());
  Song song;
  ASSERT_EQ(test::english(load_song(folder_.file("outco.mid"), song)), "");
  size_t bar_onsets = 0;
  for (const TimedMessage& message : notes_of(song, song.bar_lines[2])) {
    bar_onsets += message.micros >= song.bar_lines[1] && (message.bytes[0] & 0xF0) == 0x90;
  }
  Child play({ZELVO_BINARY, "play", folder_.file("outco.mid"), "--port", "zelvo-check", "--from", "2", "--to",
              "2", "--loop"},
             "/dev/null");
  ASSERT_TRUE(listener_->wait_for_notes(5 * bar_onsets, 20)) << "the loop did not repeat";
  play.signal(SIGINT);
  EXPECT_EQ(play.wait(10), 130);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const std::vector<Received> got = listener_->received();
  EXPECT_EQ(notes_left_sounding(got), 0);
  std::vector<int> onsets;
  for (const Received& message : got) {
    if (message.note_on()) onsets.push_back(message.bytes[1]);
  }
  for (size_t i = bar_onsets; i < onsets.size(); ++i) EXPECT_EQ(onsets[i], onsets[i - bar_onsets]) << i;
  int all_notes_off = 0;
  for (const Received& message : got) all_notes_off += message.controller(123);
  EXPECT_EQ(all_notes_off, 16);
}

// An output closed right after a burst of notes, again and again: every
// note queued before the close reaches the listener, and closing while the
// client's cycle is running never touches freed memory (a crash here; under
// the sanitizers, a report).
TEST_F(JackPortTest, AnOutputClosedRightAfterABurstDeliversItAll) {
  constexpr int kRounds = 12;
  constexpr int kNotesPerRound = 40;
  for (int round = 0; round < kRounds; ++round) {
    std::string opened;
    std::unique_ptr<Output> output;
    ASSERT_EQ(test::english(open_port_output("zelvo-check", output, opened)), "");
    ASSERT_EQ(opened, "JACK port zelvo-check:in");
    for (int i = 0; i < kNotesPerRound; ++i) {
      const uint8_t on[3] = {0x90, static_cast<uint8_t>(40 + i), 100};
      const uint8_t off[3] = {0x80, static_cast<uint8_t>(40 + i), 0};
      output->send(on, 3);
      output->send(off, 3);
    }
    output.reset();
    const size_t expected = 2u * kNotesPerRound * (round + 1);
    EXPECT_TRUE(listener_->wait_for_notes(expected, 5)) << "round " << round;
  }
  EXPECT_EQ(listener_->notes().size(), 2u * kNotesPerRound * kRounds);
  EXPECT_EQ(notes_left_sounding(listener_->received()), 0);
  std::string opened;
  std::unique_ptr<Output> output;
  EXPECT_EQ(test::english(open_port_output("no-such-port", output, opened)),
            "no MIDI port named no-such-port (zelvo ports lists them)");
  EXPECT_EQ(output, nullptr);
}

TEST_F(JackPortTest, PlayChannelsSoundsOnlyThoseChannels) {
  compose_fast_demo(folder_.path());
  Song song;
  ASSERT_EQ(test::english(load_song(folder_.file("outar.mid"), song)), "");
  std::set<int> used;
  size_t heard = 0;
  for (const TimedMessage& message : notes_of(song, song.bar_lines[2])) {
    used.insert(message.bytes[0] & 0x0F);
    heard += (message.bytes[0] & 0x0F) == 1 && (message.bytes[0] & 0xF0) == 0x90 && message.bytes[2] > 0;
  }
  ASSERT_GE(used.size(), 2u);
  ASSERT_GT(heard, 0u);
  Child play({ZELVO_BINARY, "play", folder_.file("outar.mid"), "--port", "zelvo-check", "--to", "2", "--channels",
              "2"},
             "/dev/null");
  EXPECT_EQ(play.wait(60), 0);
  size_t got = 0;
  for (const Received& message : listener_->notes()) {
    if (!message.note_on()) continue;
    EXPECT_EQ(message.bytes[0] & 0x0F, 1);
    ++got;
  }
  EXPECT_EQ(got, heard);
  EXPECT_EQ(notes_left_sounding(listener_->received()), 0);
  EXPECT_EQ(app::run_zelvo({"play", folder_.file("outar.mid"), "--channels", "0,2"}).status, 2);
}

TEST(AlsaPortTest, PlayDeliversTheNotesThroughTheSequencer) {
  if (access("/dev/snd/seq", R_OK | W_OK) != 0) GTEST_SKIP() << "no ALSA sequencer here (/dev/snd/seq)";
  app::TempFolder folder;
  compose_fast_demo(folder.path());
  Listener listener(RtMidi::LINUX_ALSA);
  expect_play(listener, folder, "outco.mid", 1, 2, false);
}

}  // namespace
}  // namespace zelvo::player
