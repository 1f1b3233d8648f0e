#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console/score_opener.h"
#include "files/work_reader.h"
#include "files/result_writer.h"
#include "engine/model.h"
#include "engine/progress_observer.h"
#include "engine/settings.h"
#include "harmonizer/debug_listing_state.h"
#include "midi/time_sort.h"
#include "midi/engine_track.h"

namespace zelvo::harmonizer {

constexpr int32_t kOutputNameSize = 300;

// The music's parts outside FirstMusicIns..LastMusicIns, read one range at
// a time (harmonizer/other_parts.h), with the time settings that reading set.
struct OtherParts {
  engine::MusicNoteTable music;
  engine::TimeSettings time;
};

// The harmonizer's settings (which outlive a job) and its tables. Allocated
// once by the application; each stage re-initialises the tables it fills.
struct HarmonizerState {
  engine::HarmonizerSettings settings;
  engine::EngineState engine;
  // The time settings as the harmony file left them: its meters must be the
  // music's when they change.
  engine::TimeSettings harmony_time;
  // Absolute time of each music note record, filled by sort_notes and read
  // by the MIDI writer.
  engine::ZeroedTable<int32_t> note_times = engine::ZeroedTable<int32_t>(engine::kStartMusicNotes);
  // The work areas of the time sort and of the MIDI files being written.
  midi::SortWork sort;
  midi::TrackEvents track;
  midi::FileImage image;
  // The name under which write_harmony_midi writes, set by each run to
  // base::kHarmonyMidi just before the writing.
  char output_name[kOutputNameSize] = {};
  OtherParts other;
  // The debug listings' append state, reset by every run.
  DebugListingState debug;
  // Set by the application to read scores of any layout; not owned.
  console::ScoreOpener* score_opener = nullptr;
  // The folder the job reads and writes its files in; empty for the
  // current directory. Set before each job, read only by the job thread.
  std::string work_folder;
  // The folder the "no configuration" message names, made absolute there;
  // empty: work_folder. Set when the job runs on a copy of the work's files.
  std::string named_folder;
  // Where the job reads the work's files (the configuration, the listing;
  // the scores through score_opener); null: from work_folder. Not owned.
  const files::WorkReader* inputs = nullptr;
  // Where the output files go; null: into work_folder. Not owned.
  files::ResultWriter* results = nullptr;
  // Shown the unit being harmonized (a front end's "still working" line);
  // may be null. Set by the application, not owned.
  engine::ProgressObserver* progress = nullptr;
};

}  // namespace zelvo::harmonizer
