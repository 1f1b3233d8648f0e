// Latency of live work on examples/demo, from an edit or a save to what the
// user sees or hears. The argument is 0 for compose, 1 for compose and
// harmonize.
// - BM_EditToRoll: the window's Live path without the drawing: one cell of
//   the document changed, the document run by a live loop inside the
//   program (shell/live_loop.h, as editor/live_run.cpp does), the result
//   written to the scratch files the roll reads, read back and made into
//   the piano roll with its tone types;
// - BM_EditToRollByChildProcess: the same edit run by a zelvo program of
//   its own in a scratch folder, the way Live ran before it ran inside the
//   window (which also waited 150 ms after the last edit first);
// - BM_SaveToWatchResult, BM_SaveToFirstNote: zelvo watch --swap now into a
//   JACK port of the benchmark's own (a jackd -d dummy it starts; skipped
//   without jackd): from a save of incom.htm (a new file renamed over the
//   old one) to watch saying it plays the new result, and to the first note
//   of that result at the port. ZELVO_PROGRAM names another zelvo to time
//   (an older build: without --swap, its swap is at the next bar line);
// - BM_EditToSynth: BM_EditToRoll, then the result's first bar of notes sent
//   to a synthesizer that is already loaded, as a swap at once would;
// - BM_RestartPlayerSynth: what a player that restarts for a new result
//   pays on top: a synthesizer with its soundfont loaded anew.
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>

#include "audio/soundfont.h"
#include "audio/synth.h"
#include "composition/any_html.h"
#include "composition/operations.h"
#include "composition/work_file.h"
#include "midi/timeline.h"
#include "player/midi_port.h"
#include "roll/piano_roll.h"
#include "roll/tones.h"
#include "shell/live_loop.h"
#include "watch_harness.h"

namespace {

namespace fs = std::filesystem;
using namespace zelvo;

struct Scratch {
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "zelvo-live-bench-XXXXXX").string();
    folder = mkdtemp(pattern.data());
    for (const char* name : {"incom.htm", "insec.xml", "conar.txt", "inarm.xml", "inmus.xml"}) {
      fs::copy_file(std::string(ZELVO_SOURCE_DIR) + "/examples/demo/" + name, folder + "/" + name);
    }
    composition::load_composition(folder + "/incom.htm", document);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  // The pulse of generator Wave (TGENC row 3, column 6) alternates.
  void edit(int64_t iteration) {
    if (!composition::set_cell(document, 2, 3, 6, iteration % 2 == 0 ? "24" : "48").ok()) std::abort();
  }
  std::string folder;
  composition::Document document;
};

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A live loop whose results are waited for one at a time.
class Loop {
 public:
  Loop() : loop_([this](shell::LiveResult result) { arrived(std::move(result)); }) {}
  shell::LiveResult run(shell::LiveRequest request) {
    const uint64_t number = loop_.submit(std::move(request));
    std::unique_lock<std::mutex> hold(lock_);
    came_.wait(hold, [&] { return last_.request == number; });
    return last_;
  }

 private:
  void arrived(shell::LiveResult result) {
    std::lock_guard<std::mutex> hold(lock_);
    last_ = std::move(result);
    came_.notify_all();
  }
  std::mutex lock_;
  std::condition_variable came_;
  shell::LiveResult last_;
  shell::LiveLoop loop_;
};

// One edit to its roll, the window's way.
roll::PianoRoll edit_to_roll(Scratch& scratch, Loop& loop, int64_t iteration, bool harmonize,
                             midi::Timeline& song) {
  scratch.edit(iteration);
  const shell::LiveResult result =
      loop.run({composition::write_any_html(scratch.document), scratch.folder, harmonize, base::kEnglish});
  if (result.outcome != console::JobOutcome::kFinished) std::abort();
  const std::string stem = scratch.folder + "/live-" + std::to_string(iteration % 2);
  write_bytes(stem + ".mid", result.midi);
  write_bytes(stem + ".tones", result.tones);
  if (!midi::read_timeline_file(stem + ".mid", song).ok()) std::abort();
  roll::PianoRoll roll = roll::make_piano_roll(song);
  roll::apply_tones(read_bytes(stem + ".tones"), roll);
  return roll;
}

void BM_EditToRoll(benchmark::State& state) {
  Scratch scratch;
  Loop loop;
  int64_t iteration = 0;
  midi::Timeline first;
  edit_to_roll(scratch, loop, iteration++, state.range(0) == 1, first);  // the engines' states built
  for (auto _ : state) {
    midi::Timeline song;
    benchmark::DoNotOptimize(edit_to_roll(scratch, loop, iteration++, state.range(0) == 1, song).notes.size());
  }
}
BENCHMARK(BM_EditToRoll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EditToRollByChildProcess(benchmark::State& state) {
  Scratch scratch;
  int64_t iteration = 0;
  for (auto _ : state) {
    scratch.edit(iteration++);
    composition::save_composition(scratch.folder + "/incom.htm", scratch.document);
    const bool harmonize = state.range(0) == 1;
    const std::string command = std::string(ZELVO_BINARY) + " --work " + scratch.folder +
                                (harmonize ? " all" : " compose") + " >/dev/null";
    if (std::system(command.c_str()) != 0) std::abort();
    midi::Timeline song;
    if (!midi::read_timeline_file(scratch.folder + (harmonize ? "/outar.mid" : "/outco.mid"), song).ok()) {
      std::abort();
    }
    benchmark::DoNotOptimize(roll::make_piano_roll(song).notes.size());
  }
}
BENCHMARK(BM_EditToRollByChildProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// zelvo watch on a scratch copy of the demo, saves timed to its new result
// and to the first note heard after it. Manual time: save to first note.
void save_to_sound(benchmark::State& state, bool time_result) {
  bench::JackServer server;
  if (!server.running()) {
    state.SkipWithError("no jackd to start (Debian package jackd2)");
    return;
  }
  bench::NoteListener listener;
  Scratch scratch;
  const char* other = std::getenv("ZELVO_PROGRAM");
  const bool older = other != nullptr && *other != '\0';
  std::vector<std::string> words{older ? other : ZELVO_BINARY, "watch", "--work", scratch.folder, "--port",
                                 "zelvo-bench"};
  if (state.range(0) == 1) words.push_back("--harmonize");
  if (!older) words.insert(words.end(), {"--swap", "now"});
  bench::LineReader lines;
  bench::Child watch(words, lines.write_end());
  lines.start();
  bench::Clock::time_point at;
  if (!watch.started() || !lines.nth("waiting for saves", 1, at, 60)) {
    state.SkipWithError("zelvo watch did not start");
    return;
  }
  size_t saves = 1;  // the first result is said once already
  int64_t iteration = 0;
  double to_result = 0;
  for (auto _ : state) {
    scratch.edit(iteration);
    // The bass's velocity (TSAL row 5, a note on every bar's first beat,
    // kept by the harmonizer) tells the new result's notes from the old
    // one's: a save swaps 121 for 122 and back.
    const int marker = 121 + iteration++ % 2;
    if (!composition::set_cell(scratch.document, 4, 5, 5, std::to_string(marker)).ok()) std::abort();
    const std::string page = composition::write_any_html(scratch.document);
    const std::string path = scratch.folder + "/incom.htm";
    write_bytes(path + ".new", page);
    const bench::Clock::time_point saved = bench::Clock::now();
    fs::rename(path + ".new", path);
    bench::Clock::time_point result, note;
    if (!lines.nth("playing the new", ++saves, result, 30) || !listener.first_after(saved, marker, note, 30)) {
      state.SkipWithError("no new result or no note");
      break;
    }
    to_result += std::chrono::duration<double>(result - saved).count();
    state.SetIterationTime(std::chrono::duration<double>((time_result ? result : note) - saved).count());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // a pause between saves, as a user makes
  }
  state.counters["save_to_result_ms"] = 1e3 * to_result / static_cast<double>(std::max<int64_t>(1, iteration));
}

void BM_SaveToWatchResult(benchmark::State& state) { save_to_sound(state, true); }
void BM_SaveToFirstNote(benchmark::State& state) { save_to_sound(state, false); }
BENCHMARK(BM_SaveToWatchResult)->Arg(0)->Arg(1)->Iterations(20)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_SaveToFirstNote)->Arg(0)->Arg(1)->Iterations(20)->Unit(benchmark::kMillisecond)->UseManualTime();

// The part of the above that is JACK's: a note-on sent into the port to
// its arrival at the listener.
void BM_JackNoteToListener(benchmark::State& state) {
  bench::JackServer server;
  if (!server.running()) {
    state.SkipWithError("no jackd to start (Debian package jackd2)");
    return;
  }
  bench::NoteListener listener;
  std::string opened;
  std::unique_ptr<player::Output> output;
  const base::Status status = player::open_port_output("zelvo-bench", output, opened);
  if (!status.ok()) {
    state.SkipWithError(base::render(status.error(), base::kEnglish).c_str());
    return;
  }
  for (auto _ : state) {
    const uint8_t on[3] = {0x90, 60, 90}, off[3] = {0x80, 60, 0};
    const bench::Clock::time_point sent = bench::Clock::now();
    output->send(on, 3);
    bench::Clock::time_point at;
    if (!listener.first_after(sent, 90, at, 5)) {
      state.SkipWithError("the note did not come");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(at - sent).count());
    output->send(off, 3);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}
BENCHMARK(BM_JackNoteToListener)->Iterations(50)->Unit(benchmark::kMillisecond)->UseManualTime();

std::string soundfont_or_skip(benchmark::State& state) {
  std::string path;
  const base::Status found = audio::find_soundfont("", path);
  if (!found.ok()) state.SkipWithError(base::render(found.error(), base::kEnglish).c_str());
  return path;
}

void BM_EditToSynth(benchmark::State& state) {
  const std::string soundfont = soundfont_or_skip(state);
  if (soundfont.empty()) return;
  audio::quiet_fluidsynth_log();
  audio::Synth synth(soundfont, audio::kDefaultGain);
  Scratch scratch;
  Loop loop;
  int64_t iteration = 0;
  for (auto _ : state) {
    midi::Timeline song;
    edit_to_roll(scratch, loop, iteration++, state.range(0) == 1, song);
    const int64_t bar = 4 * static_cast<int64_t>(song.division);
    for (const midi::TimelineEvent& event : song.events) {
      if (event.tick >= bar) break;
      synth.send(event);
    }
  }
}
BENCHMARK(BM_EditToSynth)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RestartPlayerSynth(benchmark::State& state) {
  const std::string soundfont = soundfont_or_skip(state);
  if (soundfont.empty()) return;
  audio::quiet_fluidsynth_log();
  for (auto _ : state) {
    audio::Synth synth(soundfont, audio::kDefaultGain);
    benchmark::DoNotOptimize(synth.ok());
  }
}
BENCHMARK(BM_RestartPlayerSynth)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
