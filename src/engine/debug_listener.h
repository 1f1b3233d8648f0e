#pragma once

#include <cstdint>

#include "engine/model.h"

namespace zelvo::engine {

// The engine's hooks for the debug listings. harmonize_units calls them only
// when `Debug` is not 0, at the moments named below; every method does
// nothing by default. Slots are logical window slots (unit_slot(state, s)).
// A listener may change the music note table for a moment (to write a MIDI
// file) but must leave every engine table as it found it.
class DebugListener {
 public:
  virtual ~DebugListener() = default;

  // Candidates were built during the search of the traced line (line 0 of a
  // unit whose line 0 begins in bar 2), for its own slot or for a line it
  // looks ahead into: the pool is sorted and holds the scored paths, with
  // state.pool.process_count paths scored. `line` is always 0, the traced
  // line's label; `searched_line` is the line whose paths the pool holds.
  virtual void list_paths(EngineState& /*state*/, int32_t /*slot*/, int32_t /*line*/,
                          int32_t /*searched_line*/) {}

  // The traced line of slot 0 has been searched (its Arn is set).
  virtual void list_candidates(EngineState& /*state*/, int32_t /*slot*/, int32_t /*line*/) {}

  // The candidate list of a line is ready during a search (also when it was
  // reused); called before the line looks ahead.
  virtual void list_link(EngineState& /*state*/, int32_t /*slot*/, int32_t /*line*/) {}

  // A unit of slot 0 is finished and its result appended: the line-summary
  // listing, then the all-lines listing.
  virtual void list_units(EngineState& /*state*/) {}
  virtual void list_all_lines(EngineState& /*state*/) {}
};

}  // namespace zelvo::engine
