// Timing of real-time playback: the jitter of message times against the
// file (median and 99th percentile of each message's deviation from its
// time in the file, less the median deviation: a constant delay is latency,
// not jitter) through the player's own clock alone and through a
// JACK port into an input client, and in watch mode the time from a save
// to the new result being ready and to its first note sounding. Needs jackd
// (Debian jackd2): it starts a server of its own with the dummy driver.
//
// Usage: player_bench [PERIOD_FRAMES]   (default 64: 1.3 ms at 48 kHz)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "app/cli_runner.h"
#include "player/jack_harness.h"
#include "player/midi_port.h"
#include "player/player.h"
#include "support/files.h"

namespace zelvo::player {
namespace {

using Clock = std::chrono::steady_clock;

void percentiles(const char* what, std::vector<double> deviations) {
  if (deviations.empty()) return;
  std::sort(deviations.begin(), deviations.end());
  const auto at = [&](double share) { return deviations[static_cast<size_t>(share * (deviations.size() - 1))]; };
  std::printf("%-44s %6zu messages  median %7.3f ms  p99 %7.3f ms  max %7.3f ms\n", what, deviations.size(),
              at(0.5), at(0.99), deviations.back());
}

std::vector<double> deviations(const Song& song, const std::vector<Received>& got, bool notes_only) {
  std::vector<TimedMessage> sent;
  for (const TimedMessage& message : song.messages) {
    const uint8_t kind = message.bytes[0] & 0xF0;
    if (!notes_only || kind == 0x80 || kind == 0x90) sent.push_back(message);
  }
  std::vector<double> signed_deviations;
  for (size_t i = 0; i < sent.size() && i < got.size(); ++i) {
    const double at = std::chrono::duration<double, std::milli>(got[i].at - got[0].at).count();
    signed_deviations.push_back(at - (sent[i].micros - sent[0].micros) / 1000.0);
  }
  std::vector<double> sorted = signed_deviations;
  std::sort(sorted.begin(), sorted.end());
  const double latency = sorted.empty() ? 0.0 : sorted[sorted.size() / 2];
  std::vector<double> result;
  for (double deviation : signed_deviations) result.push_back(std::fabs(deviation - latency));
  return result;
}

void wait_while_playing(Player& player) {
  while (player.playing()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

int run(const std::string& period) {
  app::TempFolder work;
  std::filesystem::copy(ZELVO_SOURCE_DIR "/examples/demo", work.path(), std::filesystem::copy_options::recursive);
  std::string page = test::read_file(work.file("incom.htm"));
  page.replace(page.find("<td>96</td>"), 11, "<td>384</td>");
  test::write_file(work.file("incom.htm"), page);
  if (app::run_zelvo({"--work", work.path(), "compose"}).status != 0) return 1;
  Song song;
  if (!load_song(work.file("outco.mid"), song).ok()) return 1;

  {
    RecordingOutput output;
    Player player(output);
    player.play(song);
    wait_while_playing(player);
    percentiles("player's clock (the demo at 384 a quarter)", deviations(song, output.received(), false));
  }

  JackServer server(period);
  if (!server.running()) {
    std::printf("JACK: %s\n", server.why_not().c_str());
    return 0;
  }
  Listener listener;
  {
    std::string opened;
    std::unique_ptr<Output> output;
    if (!open_port_output("zelvo-check", output, opened).ok()) return 1;
    Player player(*output);
    player.play(song);
    wait_while_playing(player);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const std::string label = "through a JACK port (period " + period + " frames)";
  percentiles(label.c_str(), deviations(song, listener.notes(), true));

  // Watch mode: five saves, each changing the first bar's bass note.
  app::TempFolder top;
  Child watch({ZELVO_BINARY, "watch", "--work", work.path(), "--port", "zelvo-check"}, top.file("console.txt"));
  const auto count_ready = [&] {
    const std::string text = test::read_file(top.file("console.txt"));
    size_t count = 0;
    for (size_t at = text.find("playing the new"); at != std::string::npos; at = text.find("playing the new", at + 1)) {
      ++count;
    }
    return count;
  };
  for (int i = 0; i < 200 && count_ready() < 1; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::vector<double> ready, sounding;
  for (int edit = 0; edit < 5; ++edit) {
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    const int pitch = 30 + edit;
    std::string changed = page;
    changed.replace(changed.find("lv(0,48)"), 8, "lv(0," + std::to_string(pitch) + ")");
    const size_t from = listener.notes().size();
    const Clock::time_point saved = Clock::now();
    test::write_file(work.file("incom.htm"), changed);
    bool got_ready = false, got_note = false;
    for (int i = 0; i < 20000 && !(got_ready && got_note); ++i) {
      if (!got_ready && count_ready() >= static_cast<size_t>(edit + 2)) {
        got_ready = true;
        ready.push_back(std::chrono::duration<double, std::milli>(Clock::now() - saved).count());
      }
      const std::vector<Received> notes = listener.notes();
      for (size_t n = from; n < notes.size() && !got_note; ++n) {
        if (notes[n].note_on() && notes[n].bytes[1] == pitch) {
          got_note = true;
          sounding.push_back(std::chrono::duration<double, std::milli>(notes[n].at - saved).count());
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  watch.signal(SIGINT);
  watch.wait(10);
  std::sort(ready.begin(), ready.end());
  std::sort(sounding.begin(), sounding.end());
  if (!ready.empty() && !sounding.empty()) {
    std::printf("watch: save to result ready (composed, read)   median %7.1f ms  max %7.1f ms\n",
                ready[ready.size() / 2], ready.back());
    std::printf("watch: save to its first note (at a bar line)  median %7.1f ms  max %7.1f ms (bars of 625 ms)\n",
                sounding[sounding.size() / 2], sounding.back());
  }
  return 0;
}

}  // namespace
}  // namespace zelvo::player

int main(int argc, char** argv) { return zelvo::player::run(argc > 1 ? argv[1] : "64"); }
