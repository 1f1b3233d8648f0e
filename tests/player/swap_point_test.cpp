// Where a new song takes over, into a real JACK port (a server and an input
// client of the test's own): at the next bar line, at the next beat, or at
// once, with every note of the old song released by its note-off first.
// Times are checked against a tolerance of a few JACK periods, well under
// the 250 ms between the landing points; the figures are the benchmark's.
#include <gtest/gtest.h>

#include <cmath>

#include "jack_harness.h"
#include "player/midi_port.h"
#include "player/player.h"
#include "support/status_text.h"

namespace zelvo::player {
namespace {

constexpr int64_t kQuarter = 250'000;  // a bar of 4/4 lasts a second
constexpr double kToleranceMs = 60.0;

// `bars` bars: on channel 1 a note held through each bar (pitch + bar), on
// channel 2 one on every quarter held to the next (pitch + 20 + quarter), so
// that notes always sound when a swap comes.
Song held_song(int bars, uint8_t pitch) {
  midi::Timeline file;
  file.division = 96;
  file.events.push_back({0, midi::EventKind::kTempo, 0, 0, 0, static_cast<int32_t>(kQuarter)});
  // In time order, the notes ending at a tick before those beginning there.
  for (int quarter = 0; quarter <= bars * 4; ++quarter) {
    const int64_t tick = quarter * 96;
    const int bar = quarter / 4;
    if (quarter > 0) {
      file.events.push_back({tick, midi::EventKind::kNoteOff, 1, static_cast<uint8_t>(pitch + 20 + (quarter - 1) % 4), 0, 0});
      if (quarter % 4 == 0) file.events.push_back({tick, midi::EventKind::kNoteOff, 0, static_cast<uint8_t>(pitch + bar - 1), 0, 0});
    }
    if (quarter == bars * 4) break;
    if (quarter % 4 == 0) file.events.push_back({tick, midi::EventKind::kNoteOn, 0, static_cast<uint8_t>(pitch + bar), 90, 0});
    file.events.push_back({tick, midi::EventKind::kNoteOn, 1, static_cast<uint8_t>(pitch + 20 + quarter % 4), 90, 0});
  }
  file.end_tick = bars * 384;
  return make_song(file);
}

struct SwapCase {
  SwapPoint at;
  const char* name;
  int64_t grid;  // micros between the lines it may land on; 0 at once
};

TEST(SwapPointTest, EachPointLandsWhereItSaysAndNoNoteIsLeftSounding) {
  JackServer server;
  if (!server.running()) GTEST_SKIP() << server.why_not();
  Listener listener;
  for (const SwapCase& swap : {SwapCase{SwapPoint::kBar, "bar", 4 * kQuarter},
                               SwapCase{SwapPoint::kBeat, "beat", kQuarter}, SwapCase{SwapPoint::kNow, "now", 0}}) {
    SCOPED_TRACE(swap.name);
    const size_t from = listener.received().size();
    std::string opened;
    std::unique_ptr<Output> output;
    ASSERT_EQ(test::english(open_port_output("zelvo-check", output, opened)), "");
    Player player(*output);
    player.play(held_song(4, 30), {.loop = true});
    // Into bar 2, past its first beat and short of the second.
    while (player.position().micros < 4 * kQuarter + kQuarter / 3) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const int64_t asked = player.position().micros;
    player.swap(held_song(4, 90), swap.at);
    const int64_t landing = swap.grid == 0 ? asked : (asked + swap.grid - 1) / swap.grid * swap.grid;
    ASSERT_TRUE(listener.wait_for_notes(listener.notes().size() + 12, 10));
    player.stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

    const std::vector<Received> all = listener.received();
    const std::vector<Received> got(all.begin() + static_cast<long>(from), all.end());
    size_t first_old = 0, first_new = 0;
    while (first_old < got.size() && !got[first_old].note_on()) ++first_old;
    while (first_new < got.size() && !(got[first_new].note_on() && got[first_new].bytes[1] >= 90)) ++first_new;
    ASSERT_LT(first_new, got.size());
    const double at = std::chrono::duration<double, std::milli>(got[first_new].at - got[first_old].at).count();
    EXPECT_NEAR(at, landing / 1000.0, kToleranceMs) << "asked at " << asked / 1000.0 << " ms";
    // The old song's notes all ended before the new one began, and nothing
    // sounds after the stop.
    EXPECT_EQ(notes_left_sounding({got.begin(), got.begin() + static_cast<long>(first_new)}), 0);
    EXPECT_EQ(notes_left_sounding(got), 0);
  }
}

}  // namespace
}  // namespace zelvo::player
