// The harmonizer's readers over the table of cases in
// data/harmonizer/reader_cases.txt: each case writes its files into a fresh
// work folder, sets the settings it names, runs one reader and records the
// result (for a reader called alone: 1 read, 0 refused, with its message),
// the console text, the music note table, the chords and scales and
// the settings the readers set.
#include <cstring>
#include <memory>
#include <string>

#include "console/job_console.h"
#include "console/job_end.h"
#include "harmonizer/configuration.h"
#include "harmonizer/harmony_reader.h"
#include "harmonizer/listing_reader.h"
#include "harmonizer/midi_reader.h"
#include "harmonizer/music.h"
#include "harmonizer/musicxml_reader.h"
#include "support/cases.h"
#include "support/status_text.h"

namespace zelvo::harmonizer {
namespace {

using engine::HarmonizerSettings;

// The settings a case may set and the readers may change.
struct Named {
  const char* name;
  int32_t HarmonizerSettings::*field;
};
constexpr Named kSettings[] = {
    {"FirstHarmIns", &HarmonizerSettings::FirstHarmIns}, {"HarmInsNum", &HarmonizerSettings::HarmInsNum},
    {"FirstMusicIns", &HarmonizerSettings::FirstMusicIns}, {"LastMusicIns", &HarmonizerSettings::LastMusicIns},
    {"DivideNotes", &HarmonizerSettings::DivideNotes}, {"MusicSource", &HarmonizerSettings::MusicSource},
    {"ClicksQuarter", &HarmonizerSettings::ClicksQuarter}, {"HoleForLine", &HarmonizerSettings::HoleForLine},
    {"MelIns", &HarmonizerSettings::MelIns}, {"BassIns", &HarmonizerSettings::BassIns},
    {"Debug", &HarmonizerSettings::Debug}, {"LinkLimit", &HarmonizerSettings::LinkLimit},
};

std::string settings_text(const HarmonizerSettings& s) {
  std::string text = "settings";
  for (const Named& n : kSettings) text += " " + std::string(n.name) + "=" + std::to_string(s.*n.field);
  const engine::TimeSettings& t = s.time;
  text += "\ntime " + std::to_string(t.tempo) + " " + std::to_string(t.beats_per_bar) + "/" + std::to_string(t.beat_unit) +
          " exp " + std::to_string(t.den_exponent) + " clicks " + std::to_string(t.clicks_per_beat) + " " +
          std::to_string(t.clicks_per_sixteenth) + "\n";
  // A line of the changes a map holds, when it holds any.
  auto changes_line = [&text](const char* title, int32_t count, auto change_text) {
    if (count == 0) return;
    text += title;
    for (int32_t k = 0; k < count; ++k) text += " " + change_text(k);
    text += "\n";
  };
  changes_line("tempos", t.tempos.count, [&t](int32_t k) {
    const engine::TempoChange& change = t.tempos.changes[k];
    return std::to_string(change.bar) + ":" + std::to_string(change.click) + ":" +
           std::to_string(change.micros_per_quarter);
  });
  changes_line("meters", t.meters.count, [&t](int32_t k) {
    const engine::MeterChange& change = t.meters.changes[k];
    return std::to_string(change.bar) + ":" + std::to_string(change.beats) + "/" + std::to_string(change.beat_type);
  });
  char row[160];
  const HarmonizerSettings start;
  for (int32_t r = 0; r < engine::kProfileRows; ++r) {
    if (std::memcmp(s.NonHarmTonesSort[r], start.NonHarmTonesSort[r], sizeof start.NonHarmTonesSort[r]) == 0 &&
        std::memcmp(s.NonHarmTonesCoef[r], start.NonHarmTonesCoef[r], sizeof start.NonHarmTonesCoef[r]) == 0) {
      continue;
    }
    const int32_t* k = s.NonHarmTonesSort[r];
    const float* w = s.NonHarmTonesCoef[r];
    std::snprintf(row, sizeof row, "row %d: %d%d%d%d%d%d%d%d %.9g %.9g %.9g %.9g %.9g %.9g %.9g\n", r, k[0], k[1], k[2],
                  k[3], k[4], k[5], k[6], k[7], w[0], w[1], w[2], w[3], w[4], w[5], w[6]);
    text += row;
  }
  return text;
}

std::string table_text(const char* title, const engine::HarmonyTable& table) {
  std::string text;
  for (int32_t k = 0; k < table.size() && table.entries[k].bar != 0; ++k) {
    text += std::string(title) + " " + std::to_string(table.entries[k].bar) + " " +
            std::to_string(table.entries[k].click) + " " + table.entries[k].marks + "\n";
  }
  return text;
}

std::string run_case(const test::Case& c) {
  test::TempFolder folder;
  for (const auto& [name, bytes] : c.files) test::write_file(folder.file(name), bytes);
  auto state = std::make_unique<HarmonizerState>();
  state->work_folder = folder.path();
  HarmonizerSettings& s = state->settings;
  engine::MusicNoteTable& music = state->engine.music;
  console::StandaloneConsole console;
  const std::string what = c.call.at(0);
  for (size_t i = 1; i < c.call.size(); ++i) {
    const std::string& word = c.call[i];
    const size_t eq = word.find('=');
    for (const Named& n : kSettings) {
      if (word.substr(0, eq) == n.name) s.*n.field = std::stoi(word.substr(eq + 1));
    }
    if (word.substr(0, eq) == "clicks_per_sixteenth") s.time.clicks_per_sixteenth = std::stoi(word.substr(eq + 1));
    if (word.substr(0, eq) == "tempo") s.time.tempo = std::stoi(word.substr(eq + 1));  // an earlier job's
  }
  auto arg = [&](const char* name, int32_t fallback) {
    for (const std::string& word : c.call) {
      if (word.rfind(std::string(name) + "=", 0) == 0) return std::stoi(word.substr(std::string(name).size() + 1));
    }
    return fallback;
  };
  std::string named = "absent";
  for (const std::string& word : c.call) {
    if (word.rfind("file=", 0) == 0) named = word.substr(5);
  }
  const std::unique_ptr<std::FILE, decltype(&std::fclose)> file(
      std::fopen(folder.file(named).c_str(), what == "midi" ? "rb" : "r"), &std::fclose);
  const char* name = named.c_str();
  const bool follow = arg("follow", 0) != 0;  // the changes of meter, as for a sound score
  int32_t result = -1;
  base::Status read;
  try {
    if (what == "musicxml") {
      read = read_musicxml(music, s.time, arg("first", 1), arg("count", 1), file.get(), name, follow);
      result = read.ok();
    } else if (what == "listing") {
      read = read_composer_listing(music, s.time, arg("first", 1), arg("count", 2), file.get(), name);
      result = read.ok();
    } else if (what == "midi") {
      read = read_midi(music, s.time, file.get(), name, follow);
      result = read.ok();
    } else if (what == "harmony") {
      // Printed as the harmonizer prints it.
      if (const base::Status read = read_harmony(*state, console); !read.ok()) console::fail_or_stop(console, read.error());
    } else if (what == "music") {
      if (const base::Status read = read_music(*state, console); !read.ok()) console::fail_or_stop(console, read.error());
    } else if (what == "configuration") {
      const ConfigurationRead read = read_configuration(s, folder.path());
      result = read.found ? 1 : 0;
      if (!read.status.ok()) console::fail_or_stop(console, read.status.error());
    }
  } catch (const console::JobEnded&) {
    result = -2;
  }
  std::string text = "result " + std::to_string(result) + "\n";
  if (!read.ok()) text += "refused: " + test::english_line(read) + "\n";
  text += test::quoted(console.store().contents());
  for (int32_t i = 0; i < music.note_count; ++i) {
    if (music.note_count > 64 && i == 32) {  // a full table: its ends
      text += "... " + std::to_string(music.note_count - 64) + " notes\n";
      i = music.note_count - 32;
    }
    const engine::MusicNote& n = music.notes[i];
    char line[128];
    std::snprintf(line, sizeof line, "note %d %d %d %d %d %d %u\n", n.Inst, n.Cpin, n.Ckin, n.Dur, n.Note, n.Vel,
                  n.tie_flags);
    text += line;
  }
  return text + table_text("chord", state->engine.chords) + table_text("scale", state->engine.scales) +
         settings_text(s);
}

TEST(ReaderCasesTest, EveryCaseReadsAsRecorded) {
  test::check_cases(test::test_data("harmonizer/reader_cases.txt"), run_case);
}

}  // namespace
}  // namespace zelvo::harmonizer
