#pragma once

// What every fuzz target shares: the readers work on fixed file names in a
// work folder, so each target makes one private scratch folder, writes the
// input there and gives the folder to the stage under test.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "console/job_console.h"
#include "harmonizer/harmonizer_state.h"

namespace zelvo::fuzz {

// The scratch folder, made the first time it is asked for.
inline const std::string& scratch_folder() {
  static const std::string folder = [] {
    // In memory where possible: every input is written as a file.
    std::error_code error;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "zelvo-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }();
  static const bool cleaned = [] {
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(scratch_folder(), ignored);
    });
    return true;
  }();
  (void)cleaned;
  return folder;
}

// Writes `size` bytes to `name` in the scratch folder, replacing what was there.
inline void write_file(const char* name, const uint8_t* data, size_t size) {
  FILE* file = std::fopen((scratch_folder() + "/" + name).c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  if (std::fclose(file) != 0) std::abort();
}

inline void write_file(const char* name, const std::string& text) {
  write_file(name, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// One console for the whole run; emptied before each input so a long run
// also exercises the store's trimming only as far as one input prints.
inline console::JobConsole& fuzz_console() {
  static console::StandaloneConsole* console = new console::StandaloneConsole();
  return *console;
}

// Runs `stage` as a job would: an abort or a stop ends it through JobEnded,
// which is an expected outcome for malformed input.
// A step that stops with a message ends the job as the composer ends it.
inline void or_abort(console::JobConsole& console, const base::Status& status) {
  if (!status.ok()) console::fail(console, status.error());
}

template <typename Stage>
void run_job(console::JobConsole& console, Stage&& stage) {
  console.clear_console();
  console.control().clear_stop_request();
  console.control().set_job_running(true);
  try {
    try {
      stage();
    } catch (const base::StepFailed& failed) {
      // A step run on its own, outside the entry point that would hand its
      // message on, still ends as the job ends.
      console::fail(console, failed.message);
    }
  } catch (const console::JobEnded&) {
  }
  console.control().set_job_running(false);
  // To see what an input did: ZELVO_FUZZ_VERBOSE=1 <target> <file>.
  static const bool verbose = std::getenv("ZELVO_FUZZ_VERBOSE") != nullptr;
  if (verbose) std::fprintf(stderr, "%s\n", console.store().contents().c_str());
}

// The harmonizer's state with its settings back to their start values, so
// that one input never depends on the last.
inline harmonizer::HarmonizerState& fresh_harmonizer(int32_t music_source) {
  static auto* state = new harmonizer::HarmonizerState();
  state->settings = engine::HarmonizerSettings{};
  state->settings.MusicSource = music_source;
  state->work_folder = scratch_folder();
  return *state;
}

// The entry every target shares: an input over `max_size` bytes is cut
// off, the others are written as `file` in the scratch folder and `stage`
// runs on them as a job.
template <typename Stage>
int fuzz_file(const uint8_t* data, size_t size, size_t max_size, const char* file, Stage&& stage) {
  if (size > max_size) return 0;
  write_file(file, data, size);
  run_job(fuzz_console(), [&] { stage(fuzz_console()); });
  return 0;
}

}  // namespace zelvo::fuzz
