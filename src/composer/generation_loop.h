#pragma once

#include <cstdint>

#include "composer/composer_state.h"
#include "base/progress_lines.h"

namespace zelvo::composer {

// Gathers the calculated variables' code starts, in table order. Called once
// after the compile, before the first recomputation.
void collect_variable_programs(ComposerState& state);

// Runs every calculated variable's program in table order.
void recompute_variables(ComposerState& state);

// In the full pass: runs the 50 output channels and adds a note event for
// every channel whose number is 1 to 16 and whose play gate is open. Note
// and velocity are clamped to 0-127 with one warning per run. An event
// beyond kMaxBarEvents in its bar, or beyond kMaxGeneratedEvents (no memory
// left for the note-offs), unwinds to generate with its message
// (base::stop_with).
void run_outputs(ComposerState& state, base::ProgressLines& progress);

// The next generator of this pass: the lowest order value, ties to the lower
// record number, compared against an unsigned bound. 0 when none is left.
int32_t select_next_generator(const ComposerState& state);

// Whether the current bar and click lie in a generator's window: from its
// start (bar and click) for its length (bars and clicks), in clicks of the
// current bar length.
bool within_window(const ComposerState& state, double start_bar, double start_click, double length_bars,
                   double length_clicks);

// Walks `bar_count` bars click by click, evaluating every generator in a
// preview pass and a full pass. Stops before a bar once
// kGenerationStopEvents events exist. Says why when the events overflow.
base::Status generate(ComposerState& state, base::ProgressLines& progress, int32_t bar_count);

}  // namespace zelvo::composer
