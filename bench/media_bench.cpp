// Measures hearing and seeing a result:
// - BM_Render/N: zelvo render's work on N minutes of music (four channels of
//   eighth notes at 120 beats a minute, channel 10 among them), soundfont
//   loading and the WAV file included; time per minute = slope over N.
// - BM_RollPng, BM_RollSvg: the piano roll of the largest result the
//   composer can write (15000 notes, 30000 events), from events to file.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <string>

#include "audio/soundfont.h"
#include "audio/wav_render.h"
#include "picture/roll_painter.h"
#include "roll/piano_roll.h"

namespace {

using namespace zelvo;

// `notes` eighth notes (division 48) over four channels, in time order.
midi::Timeline song_of(int64_t notes) {
  midi::Timeline song;
  song.division = 48;
  for (int64_t i = 0; i < notes; ++i) {
    const int64_t start = (i / 4) * 24;
    const uint8_t channel = static_cast<uint8_t>(i % 4 == 3 ? 9 : i % 4);
    const uint8_t pitch = static_cast<uint8_t>(channel == 9 ? 36 + i % 12 : 48 + (i * 7) % 36);
    song.events.push_back({start, midi::EventKind::kNoteOn, channel, pitch, 90, 0});
    song.events.push_back({start + 24, midi::EventKind::kNoteOff, channel, pitch, 0, 0});
  }
  std::stable_sort(song.events.begin(), song.events.end(),
                   [](const midi::TimelineEvent& a, const midi::TimelineEvent& b) { return a.tick < b.tick; });
  song.end_tick = song.events.empty() ? 0 : song.events.back().tick;
  return song;
}

void BM_Render(benchmark::State& state) {
  // 120 a minute: 240 eighths a minute on each of four channels.
  const midi::Timeline song = song_of(960 * state.range(0));
  audio::RenderOptions options;
  if (const base::Status found = audio::find_soundfont("", options.soundfont); !found.ok()) {
    state.SkipWithError(base::render(found.error(), base::kEnglish).c_str());
    return;
  }
  for (auto _ : state) {
    const base::Status rendered = audio::render_wav(song, options, "/tmp/zelvo-bench.wav", {});
    if (!rendered.ok()) state.SkipWithError(base::render(rendered.error(), base::kEnglish).c_str());
  }
  std::remove("/tmp/zelvo-bench.wav");
  state.counters["minutes"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_Render)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void roll_to(benchmark::State& state, const char* path) {
  static int argc = 1;
  static char name[] = "media_bench";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication application(argc, argv);
  const midi::Timeline song = song_of(15000);
  for (auto _ : state) {
    const roll::PianoRoll piano_roll = roll::make_piano_roll(song);
    const base::Status saved = picture::save_roll(piano_roll, path, 1600);
    if (!saved.ok()) state.SkipWithError(base::render(saved.error(), base::kEnglish).c_str());
  }
  std::remove(path);
}

void BM_RollPng(benchmark::State& state) { roll_to(state, "/tmp/zelvo-bench.png"); }
void BM_RollSvg(benchmark::State& state) { roll_to(state, "/tmp/zelvo-bench.svg"); }
BENCHMARK(BM_RollPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RollSvg)->Unit(benchmark::kMillisecond);

}  // namespace
