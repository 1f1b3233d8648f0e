// Measures the harmonizer's file stages on full tables: sort_notes on 15000
// and 30000 records (the quadratic exchange sort), cutting 15000 notes at
// 500 chord and 500 scale boundaries, reading a 30000-note MusicXML file,
// reading outco.mid's merged track of 10000 to 90000 notes, and writing
// outar.mid for 15000 notes.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "console/job_console.h"
#include "harmonizer/midi_reader.h"
#include "harmonizer/music.h"
#include "harmonizer/musicxml_reader.h"
#include "harmonizer/note_sort.h"
#include "harmonizer/output.h"
#include "midi/file_layout.h"
#include "midi/song.h"

namespace {

using zelvo::harmonizer::HarmonizerState;

// Notes in reverse time order, the sort's worst case for exchanges.
void fill_reversed(HarmonizerState& state, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    zelvo::engine::MusicNote& n = state.engine.music.notes[i];
    n = zelvo::engine::MusicNote{};
    n.Inst = 1 + i % 3;
    n.Cpin = 1 + (count - i) / 16;
    n.Ckin = ((count - i) % 16) * 256;
    n.Dur = 256;
    n.Note = 60 + i % 12;
    n.Vel = i % 5 == 0 ? 0 : 100;
  }
  state.engine.music.note_count = count;
}

void BM_SortNotes(benchmark::State& bench) {
  auto state = std::make_unique<HarmonizerState>();
  for (auto _ : bench) {
    bench.PauseTiming();
    fill_reversed(*state, static_cast<int32_t>(bench.range(0)));
    bench.ResumeTiming();
    zelvo::harmonizer::sort_notes(*state);
  }
}
BENCHMARK(BM_SortNotes)->Arg(15000)->Arg(30000)->Unit(benchmark::kMillisecond);

void BM_CutNotes(benchmark::State& bench) {
  auto state = std::make_unique<HarmonizerState>();
  for (int32_t k = 0; k < zelvo::engine::kStartHarmonyEntries; ++k) {
    state->engine.chords.entries[k].bar = 1 + k;
    state->engine.chords.entries[k].click = 2048;
    state->engine.scales.entries[k].bar = 1 + k;
    state->engine.scales.entries[k].click = 3072;
  }
  for (auto _ : bench) {
    bench.PauseTiming();
    fill_reversed(*state, 15000);
    for (int32_t i = 0; i < 15000; ++i) state->engine.music.notes[i].Dur = 4096;
    bench.ResumeTiming();
    const zelvo::engine::TimeSettings& time = state->settings.time;
    benchmark::DoNotOptimize(
        zelvo::harmonizer::cut_notes(state->engine.music, state->engine.chords, time));
    benchmark::DoNotOptimize(
        zelvo::harmonizer::cut_notes(state->engine.music, state->engine.scales, time));
  }
}
BENCHMARK(BM_CutNotes)->Unit(benchmark::kMillisecond);

void BM_ReadMusicXml(benchmark::State& bench) {
  const std::string name =
      (std::filesystem::temp_directory_path() / "zelvo_bench_inmus.xml").string();
  {
    std::ofstream out(name);
    out << "<score-partwise>\n  <part id=\"P1\">\n";
    for (int m = 1; m <= 7500; ++m) {
      out << "    <measure number=\"" << m << "\">\n";
      if (m == 1) out << "      <attributes>\n        <divisions>1</divisions>\n      </attributes>\n";
      for (int k = 0; k < 4; ++k) {
        out << "      <note default-x=\"10\">\n        <pitch>\n          <step>C</step>\n"
               "          <octave>4</octave>\n          </pitch>\n        <duration>1</duration>\n"
               "        <voice>1</voice>\n        </note>\n";
      }
      out << "    </measure>\n";
    }
    out << "  </part>\n</score-partwise>\n";
  }
  auto state = std::make_unique<HarmonizerState>();
  for (auto _ : bench) {
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(name.c_str(), "r"), &std::fclose);
    if (!zelvo::harmonizer::read_musicxml(state->engine.music, state->settings.time, 1, 1, file.get(), "inmus.xml")
             .ok()) {
      bench.SkipWithError("inmus.xml not read");
    }
  }
  std::filesystem::remove(name);
}
BENCHMARK(BM_ReadMusicXml)->Unit(benchmark::kMillisecond);

// A merged track as the score intake hands it over: a tempo, a meter and
// `count` notes on three channels, each sounding over the next two starts,
// so that notes of one pitch are open at once.
zelvo::midi::Song merged_track(int32_t count) {
  zelvo::midi::Song song;
  song.format = zelvo::midi::kFormat0;
  song.declared_tracks = 1;
  song.division = 480;
  zelvo::midi::SongTrack& track = song.tracks.emplace_back();
  const auto meta = [&track](uint8_t type, std::string_view data) {
    zelvo::midi::SongEvent& event = track.events.emplace_back();
    event.status = zelvo::midi::kMetaEvent;
    event.data1 = type;
    track.set_data(event, data);
  };
  meta(zelvo::midi::kMetaTempo, std::string_view("\x07\xA1\x20", 3));
  meta(zelvo::midi::kMetaTimeSignature, std::string_view("\x04\x02\x18\x08", 4));
  const auto note = [&track](int64_t tick, int32_t i, uint8_t velocity) {
    track.events.push_back({.tick = tick,
                            .status = static_cast<uint8_t>(0x90 | i % 3),
                            .data1 = static_cast<uint8_t>(60 + i % 5),
                            .data2 = velocity});
  };
  for (int32_t i = 0; i < count + 2; ++i) {
    if (i < count) note(int64_t{i} * 120, i, 100);
    if (i >= 2) note(int64_t{i} * 120, i - 2, 0);
  }
  track.end_tick = int64_t{count + 2} * 120;
  return song;
}

void BM_ReadMergedMidi(benchmark::State& bench) {
  const zelvo::midi::Song song = merged_track(static_cast<int32_t>(bench.range(0)));
  auto state = std::make_unique<HarmonizerState>();
  for (auto _ : bench) {
    if (!zelvo::harmonizer::read_midi(state->engine.music, state->settings.time, song, "outco.mid", false).ok() ||
        state->engine.music.note_count != bench.range(0)) {
      bench.SkipWithError("outco.mid not read");
    }
  }
}
BENCHMARK(BM_ReadMergedMidi)->Arg(10000)->Arg(30000)->Arg(90000)->Unit(benchmark::kMillisecond);

void BM_WriteHarmonyMidi(benchmark::State& bench) {
  auto state = std::make_unique<HarmonizerState>();
  const std::string name =
      (std::filesystem::temp_directory_path() / "zelvo_bench_outar.mid").string();
  std::snprintf(state->output_name, zelvo::harmonizer::kOutputNameSize, "%s", name.c_str());
  for (auto _ : bench) {
    bench.PauseTiming();
    fill_reversed(*state, 15000);
    zelvo::harmonizer::sort_notes(*state);
    bench.ResumeTiming();
    if (!zelvo::harmonizer::write_harmony_midi(*state).ok()) bench.SkipWithError("outar.mid not written");
  }
  std::filesystem::remove(name);
}
BENCHMARK(BM_WriteHarmonyMidi)->Unit(benchmark::kMillisecond);

}  // namespace
