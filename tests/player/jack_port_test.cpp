// zelvo play into a real MIDI port: a JACK server of the test's own with
// its dummy driver and an input client of the test's own. Skipped, saying
// why, where no server can start. Times are checked against a tolerance
// of a few JACK periods only; the figures are the benchmark's.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "app/cli_runner.h"
#include "jack_harness.h"
#include "player/midi_port.h"
#include "player/player.h"
#include "support/files.h"

namespace zelvo::player {
namespace {

constexpr double kToleranceMs = 60.0;  // a busy machine delays JACK cycles

// The demo, its tempo raised from 96 to 384 so that a test plays its
// sixteen bars in ten seconds, composed and harmonized.
void compose_fast_demo(const app::TempFolder& folder) {
  std::filesystem::copy(ZELVO_SOURCE_DIR "/examples/demo", folder.path(),
                        std::filesystem::copy_options::recursive);
  std::string page = test::read_file(folder.file("incom.htm"));
  page.replace(page.find("<td>96</td>"), 11, "<td>384</td>");
  test::write_file(folder.file("incom.htm"), page);
  ASSERT_EQ(app::run_zelvo({"--work", folder.path(), "all"}).status, 0);
}

std::vector<TimedMessage> notes_of(const Song& song, int64_t before) {
  std::vector<TimedMessage> notes;
  for (const TimedMessage& message : song.messages) {
    const uint8_t kind = message.bytes[0] & 0xF0;
    if ((kind == 0x80 || kind == 0x90) && message.micros < before) notes.push_back(message);
  }
  return notes;
}

// `got` begins with `expected`, note for note, at its times from the first.
void expect_played(const std::vector<TimedMessage>& expected, const std::vector<Received>& got) {
  ASSERT_GE(got.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const bool expected_on = (expected[i].bytes[0] & 0xF0) == 0x90 && expected[i].bytes[2] > 0;
    EXPECT_EQ(got[i].note_on(), expected_on) << "note " << i;
    EXPECT_EQ(got[i].bytes[0] & 0x0F, expected[i].bytes[0] & 0x0F) << "note " << i;
    EXPECT_EQ(got[i].bytes[1], expected[i].bytes[1]) << "note " << i;
    const double at = std::chrono::duration<double, std::milli>(got[i].at - got[0].at).count();
    EXPECT_NEAR(at, (expected[i].micros - expected[0].micros) / 1000.0, kToleranceMs) << "note " << i;
  }
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

TEST_F(JackPortTest, PlayDeliversEveryNoteOfTheDemoInOrderAtItsTime) {
  compose_fast_demo(folder_);
  Child play({ZELVO_BINARY, "play", folder_.file("outco.mid"), "--port", "zelvo-check"}, folder_.file("out.txt"));
  EXPECT_EQ(play.wait(60), 0);
  Song song;
  std::string error;
  ASSERT_TRUE(load_song(folder_.file("outco.mid"), song, error)) << error;
  const std::vector<TimedMessage> expected = notes_of(song, song.end_micros + 1);
  ASSERT_TRUE(listener_->wait_for_notes(expected.size(), 5)) << listener_->notes().size() << " of " << expected.size();
  const std::vector<Received> got = listener_->notes();
  EXPECT_EQ(got.size(), expected.size());
  expect_played(expected, got);
  EXPECT_EQ(notes_left_sounding(listener_->received()), 0);
  EXPECT_EQ(test::read_file(folder_.file("out.txt")), "Playing into JACK port zelvo-check:in.\n");
}

TEST_F(JackPortTest, PlayFromToPlaysTheBarsOfTheHarmonizedResult) {
  compose_fast_demo(folder_);
  Child play({ZELVO_BINARY, "play", folder_.file("outar.mid"), "--port", "zelvo-check", "--from", "2", "--to", "3"},
             "/dev/null");
  EXPECT_EQ(play.wait(60), 0);
  Song song;
  std::string error;
  ASSERT_TRUE(load_song(folder_.file("outar.mid"), song, error)) << error;
  std::vector<TimedMessage> expected;
  for (const TimedMessage& message : notes_of(song, song.bar_lines[3])) {
    if (message.micros >= song.bar_lines[1]) expected.push_back(message);
  }
  ASSERT_FALSE(expected.empty());
  listener_->wait_for_notes(expected.size(), 5);
  // Bar 2 on its own: notes held from bar 1 are not sounded, only released.
  std::vector<Received> got;
  for (const Received& message : listener_->notes()) {
    if (message.note_on() || !got.empty()) got.push_back(message);
  }
  while (!expected.empty() && (expected[0].bytes[0] & 0xF0) == 0x80) expected.erase(expected.begin());
  expect_played(expected, got);
  EXPECT_EQ(notes_left_sounding(listener_->received()), 0);
}

TEST_F(JackPortTest, CtrlCStopsALoopWithNoNoteLeftSounding) {
  compose_fast_demo(folder_);
  Song song;
  std::string error;
  ASSERT_TRUE(load_song(folder_.file("outco.mid"), song, error)) << error;
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

TEST_F(JackPortTest, ASwapLandsOnABarLine) {
  std::string opened, error;
  std::unique_ptr<Output> output = open_port_output("zelvo-check", opened, error);
  ASSERT_NE(output, nullptr) << error;
  {
    Player player(*output);
    player.play(quarters_song(4, 50'000, 0, 30), {.loop = true});  // bars of 200 ms
    listener_->wait_for_notes(6, 5);
    player.swap_at_next_bar(quarters_song(1, 50'000, 1, 90));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    player.stop();
  }
  output.reset();
  const std::vector<Received> got = listener_->notes();
  size_t first_new = 0;
  while (first_new < got.size() && !(got[first_new].note_on() && got[first_new].bytes[1] >= 90)) ++first_new;
  ASSERT_LT(first_new, got.size());
  const double at = std::chrono::duration<double, std::milli>(got[first_new].at - got[0].at).count();
  const double bars = at / 200.0;
  EXPECT_NEAR(bars, std::round(bars), kToleranceMs / 200.0) << at << " ms";
  EXPECT_GE(std::round(bars), 1.0);
  EXPECT_EQ(notes_left_sounding(listener_->received()), 0);
}

TEST(AlsaPortTest, PlayDeliversTheNotesThroughTheSequencer) {
  if (access("/dev/snd/seq", R_OK | W_OK) != 0) GTEST_SKIP() << "no ALSA sequencer here (/dev/snd/seq)";
  app::TempFolder folder;
  compose_fast_demo(folder);
  Listener listener(RtMidi::LINUX_ALSA);
  Child play({ZELVO_BINARY, "play", folder.file("outco.mid"), "--port", "zelvo-check", "--to", "2"}, "/dev/null");
  EXPECT_EQ(play.wait(60), 0);
  Song song;
  std::string error;
  ASSERT_TRUE(load_song(folder.file("outco.mid"), song, error)) << error;
  const std::vector<TimedMessage> expected = notes_of(song, song.bar_lines[2]);
  listener.wait_for_notes(expected.size(), 5);
  expect_played(expected, listener.notes());
  EXPECT_EQ(notes_left_sounding(listener.received()), 0);
}

}  // namespace
}  // namespace zelvo::player
