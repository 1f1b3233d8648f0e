// The player into an output that records what it gets: order, ranges,
// loops, swaps and stops. Times are checked against generous tolerances
// only (the machine may be busy); the timing figures are the benchmark's.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "player/player.h"
#include "recording_output.h"

namespace zelvo::player {
namespace {

using std::chrono::milliseconds;

constexpr int64_t kQuarter = 25'000;  // a bar of 4/4 lasts 100 ms
constexpr double kToleranceMs = 30.0;

double ms_between(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

void wait_until_done(Player& player) {
  for (int i = 0; i < 500 && player.playing(); ++i) std::this_thread::sleep_for(milliseconds(10));
}

class PlayerTest : public ::testing::Test {
 protected:
  RecordingOutput output;
  Player player{output};
};

TEST_F(PlayerTest, EveryMessageLeavesInOrderAtItsTime) {
  const Song song = quarters_song(3, kQuarter, 2, 60);
  player.play(song);
  wait_until_done(player);
  const std::vector<Received> got = output.received();
  ASSERT_EQ(got.size(), song.messages.size());
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(0, std::memcmp(got[i].bytes, song.messages[i].bytes, song.messages[i].size)) << i;
    EXPECT_NEAR(ms_between(got[0].at, got[i].at), song.messages[i].micros / 1000.0, kToleranceMs) << i;
  }
  EXPECT_FALSE(player.playing());
}

TEST_F(PlayerTest, FromBarSendsTheProgramAndStartsAtTheBar) {
  player.play(quarters_song(3, kQuarter, 0, 60), {.from_bar = 2, .to_bar = 2});
  wait_until_done(player);
  const std::vector<Received> got = output.received();
  ASSERT_EQ(got.size(), 1u + 8u);
  EXPECT_EQ(got[0].bytes[0], 0xC0);  // the program, before the first bar played
  EXPECT_EQ(got[1].bytes[1], 64);    // bar 2's first quarter
  EXPECT_EQ(got.back().bytes[1], 67);
  EXPECT_TRUE(got.back().note_off());
}

TEST_F(PlayerTest, ALoopRepeatsItsBarsUntilStopped) {
  player.play(quarters_song(3, kQuarter, 0, 60), {.from_bar = 2, .to_bar = 2, .loop = true});
  std::this_thread::sleep_for(milliseconds(350));
  EXPECT_TRUE(player.playing());
  player.stop();
  std::vector<int> pitches;
  for (const Received& message : output.received()) {
    if (message.note_on()) pitches.push_back(message.bytes[1]);
  }
  ASSERT_GE(pitches.size(), 9u);
  for (size_t i = 0; i < pitches.size(); ++i) EXPECT_EQ(pitches[i], 64 + static_cast<int>(i % 4)) << i;
}

TEST_F(PlayerTest, StopReleasesEveryNoteAndSilencesEveryChannel) {
  player.play(quarters_song(4, kQuarter, 5, 60));
  std::this_thread::sleep_for(milliseconds(112));  // inside a note
  player.stop();
  const std::vector<Received> got = output.received();
  EXPECT_EQ(notes_left_sounding(got), 0);
  int sustain_off = 0, all_notes_off = 0, on = 0, off = 0;
  for (const Received& message : got) {
    sustain_off += message.controller(64) && message.bytes[2] == 0;
    all_notes_off += message.controller(123);
    on += message.note_on();
    off += message.note_off();
  }
  EXPECT_EQ(sustain_off, 16);
  EXPECT_EQ(all_notes_off, 16);
  EXPECT_EQ(on, off);  // the note sounding was released by its own note-off, not only by 123
  EXPECT_FALSE(player.playing());
}

TEST_F(PlayerTest, ASwapLandsOnTheNextBarLineWithoutAGap) {
  player.play(quarters_song(4, kQuarter, 0, 30), {.loop = true});
  std::this_thread::sleep_for(milliseconds(140));  // in bar 2
  player.swap_at_next_bar(quarters_song(1, kQuarter, 1, 90));
  std::this_thread::sleep_for(milliseconds(200));
  const Position position = player.position();
  player.stop();
  EXPECT_EQ(position.swaps, 1);
  const std::vector<Received> got = output.received();
  size_t first_new = 0;
  while (first_new < got.size() && !(got[first_new].note_on() && got[first_new].bytes[1] >= 90)) ++first_new;
  ASSERT_LT(first_new, got.size());
  // Bar 3 of the old song, 200 ms after its first note; its notes stop there.
  EXPECT_NEAR(ms_between(got[0].at, got[first_new].at), 200.0, kToleranceMs);
  // The new song keeps its own time from there: its fourth quarter 75 ms on.
  size_t fourth = first_new;
  while (fourth < got.size() && !(got[fourth].note_on() && got[fourth].bytes[1] == 93)) ++fourth;
  ASSERT_LT(fourth, got.size());
  EXPECT_NEAR(ms_between(got[first_new].at, got[fourth].at), 75.0, kToleranceMs);
  for (size_t i = 0; i < first_new; ++i) {
    if (got[i].note_on()) {
      EXPECT_LT(got[i].bytes[1], 30 + 8) << i;
    }
  }
  EXPECT_EQ(notes_left_sounding({got.begin(), got.begin() + static_cast<long>(first_new)}), 0);
  EXPECT_EQ(got[first_new - 1].bytes[0], 0xC1);  // the new song's program, at the same moment
}

TEST_F(PlayerTest, ASwapWithNothingPlayingPlaysAtOnce) {
  player.swap_at_next_bar(quarters_song(1, kQuarter, 0, 60));
  EXPECT_TRUE(player.playing());
  wait_until_done(player);
  EXPECT_EQ(output.received().size(), 1u + 8u);
}

TEST_F(PlayerTest, ChannelsLeftOutAreSilencedAtOnceAndStaySoThroughASwap) {
  const auto note_ons = [&](int from_pitch) {
    int count = 0;
    for (const Received& message : output.received()) count += message.note_on() && message.bytes[1] >= from_pitch;
    return count;
  };
  player.set_channels(0b10);  // channel 2 only: the song's channel 1 is not heard
  player.play(quarters_song(4, kQuarter, 0, 30), {.loop = true});
  std::this_thread::sleep_for(milliseconds(60));
  EXPECT_EQ(note_ons(0), 0);
  ASSERT_FALSE(output.received().empty());
  EXPECT_EQ(output.received().front().bytes[0], 0xC0);  // its program went all the same
  player.set_channels(kAllChannels);
  std::this_thread::sleep_for(milliseconds(60));
  EXPECT_GT(note_ons(0), 0);
  player.set_channels(0b10);  // the note sounding is released before this returns
  EXPECT_EQ(notes_left_sounding(output.received()), 0);
  player.swap(quarters_song(1, kQuarter, 0, 60), SwapPoint::kNow);
  std::this_thread::sleep_for(milliseconds(60));
  EXPECT_EQ(player.position().swaps, 1);
  EXPECT_EQ(note_ons(60), 0);
  EXPECT_EQ(player.channels(), 0b10);
  player.stop();
}

TEST_F(PlayerTest, PositionFollowsTheSongInBarsAndTicks) {
  EXPECT_FALSE(player.position().playing);
  player.play(quarters_song(4, kQuarter, 0, 60), {.from_bar = 3});
  std::this_thread::sleep_for(milliseconds(40));
  const Position position = player.position();
  player.stop();
  EXPECT_TRUE(position.playing);
  EXPECT_EQ(position.bar, 3);
  EXPECT_GE(position.tick, 2 * 4 * 96);
  EXPECT_LT(position.tick, 3 * 4 * 96);
}

}  // namespace
}  // namespace zelvo::player
