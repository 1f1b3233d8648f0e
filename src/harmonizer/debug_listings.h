#pragma once

#include <cstdint>
#include <string>

#include "console/job_console.h"
#include "base/work_files.h"
#include "engine/debug_listener.h"
#include "engine/model.h"
#include "engine/settings.h"
#include "harmonizer/harmonizer_state.h"

namespace zelvo::harmonizer {

// The listings of the harmonizer's intermediate state, written into the
// folder _brindebug of the work folder when Debug is not 0. They go out
// through the job's writer (HarmonizerState::results) like every other
// output, so a job run on bytes gets them as bytes. Nothing reads them
// back. A listing that cannot be created is skipped without a word: a
// listing never stops the job. The listings only read the engine's tables
// (their MIDI files are made of notes of their own), so outar.mid does not
// depend on Debug.

using base::kDebugFolder;

// ver_ev_zavir.rur: every record of the music note table below the note
// count. REQUIRES: the cut notes rejoined, the note-offs not yet added.
void list_result(HarmonizerState& state);

// The listings that the engine asks for while it harmonizes.
class DebugListings final : public engine::DebugListener {
 public:
  DebugListings(HarmonizerState& state, console::JobConsole& console)
      : state_(state), console_(console) {}
  // Writes the listings that grow with every unit, which are kept in memory
  // while the run goes on.
  ~DebugListings() override;
  DebugListings(const DebugListings&) = delete;
  DebugListings& operator=(const DebugListings&) = delete;

  // Vlt_zavir.rur and Vlt_zavir.mid: the scored paths of the pool, cheapest
  // first. The label shows `line`; the notes are those of `searched_line`,
  // the line whose paths the pool holds.
  void list_paths(engine::EngineState& engine, int32_t slot, int32_t line,
                  int32_t searched_line) override;
  // Vline_zavir.rur and Vline_zavir.mid: the candidate list of a line.
  void list_candidates(engine::EngineState& engine, int32_t slot, int32_t line) override;
  // ver_concatenacion.rur: one line of the tree of searched lines.
  void list_link(engine::EngineState& engine, int32_t slot, int32_t line) override;
  // ver_ods.rur: the lines of slot 0 in brief.
  void list_units(engine::EngineState& engine) override;
  // ver_todaslineas.rur: the lines of slot 0 with their candidates.
  void list_all_lines(engine::EngineState& engine) override;

 private:
  // Writes the listing's own notes (state.debug.notes) as _brindebug/<name>
  // with write_notes_midi; a file that cannot be created is skipped.
  void write_midi(const char* name);

  HarmonizerState& state_;
  console::JobConsole& console_;
};

}  // namespace zelvo::harmonizer
