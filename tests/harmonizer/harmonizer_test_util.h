#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/cli_runner.h"
#include "engine/model.h"
#include "harmonizer/harmonizer_state.h"

namespace zelvo::harmonizer::test {

// A scratch folder made the current directory for the test's life, as the
// work folder is for a job.
class WorkFolder {
 public:
  WorkFolder() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder_.path());
  }
  ~WorkFolder() { std::filesystem::current_path(previous_); }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  const std::string& path() const { return folder_.path(); }

 private:
  app::TempFolder folder_;
  std::filesystem::path previous_;
};

inline void write_file(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary);
  out << bytes;
}

inline std::string read_file(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::string test_data(const std::string& name) {
  return std::string(ZELVO_TEST_DATA) + "/harmonizer/" + name;
}

inline void copy_test_data(const std::string& name, const std::string& as) {
  write_file(as, read_file(test_data(name)));
}

// midicsv's text of a MIDI file, or "" when it cannot read it.
inline std::string midicsv(const std::string& name) {
  std::string text;
  FILE* pipe = popen(("midicsv " + app::shell_quote(name) + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return text;
  char buffer[4096];
  size_t got = 0;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, got);
  if (pclose(pipe) != 0) return "midicsv failed: " + text;
  return text;
}

// The harmonizer's state is large: tests keep it on the heap, as the
// application does.
inline std::unique_ptr<HarmonizerState> make_state() { return std::make_unique<HarmonizerState>(); }

inline engine::MusicNote note(int32_t inst, int32_t cpin, int32_t ckin, int32_t dur, int32_t pitch,
                              int32_t vel = 100, uint32_t ties = 0) {
  engine::MusicNote n;
  n.Inst = inst;
  n.Cpin = cpin;
  n.Ckin = ckin;
  n.Dur = dur;
  n.Note = pitch;
  n.Vel = vel;
  n.tie_flags = ties;
  return n;
}

// "Inst Cpin Ckin Dur Note Vel ties" of a record, for readable comparisons.
inline std::string show(const engine::MusicNote& n) {
  char text[128];
  std::snprintf(text, sizeof text, "%d %d %d %d %d %d %u", n.Inst, n.Cpin, n.Ckin, n.Dur, n.Note,
                n.Vel, n.tie_flags);
  return text;
}

inline std::string show(const engine::MusicNoteTable& table) {
  std::string text;
  for (int32_t i = 0; i < table.note_count; ++i) text += show(table.notes[i]) + "\n";
  return text;
}

}  // namespace zelvo::harmonizer::test
