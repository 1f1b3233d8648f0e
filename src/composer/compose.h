#pragma once

#include "composer/composer_state.h"
#include "base/progress_lines.h"
#include "console/job_console.h"
#include "base/work_files.h"

namespace zelvo::composer {

// The output files, in the job's work folder.
inline constexpr const char* kCompositionListing = base::kCompositionListing;
inline constexpr const char* kCompositionMidi = base::kCompositionMidi;
inline constexpr const char* kSequenceFile = base::kSequenceFile;

// The Compose job: compiles incom.htm, generates the bars and writes
// outco.rur and outco.mid in state.work_folder. A stop or an error ends
// the job through the console (JobEnded).
void compose(ComposerState& state, console::JobConsole& console);

// Clears the event and sequence tables, the current position and the
// range-warning flag.
void compose_init(ComposerState& state);

// Derives the timing values from the configuration and seeds the random
// numbers; says why a denominator or tempo cannot be used.
base::Status compose_timing(ComposerState& state, base::ProgressLines& progress);

// Reads insec.xml (in state.work_folder) into the sequence tables, or
// prints that there is none; says what is wrong with a file it cannot use.
base::Status read_sequences(ComposerState& state, base::ProgressLines& progress);

// Encodes the sorted events and writes them to `name` in state.work_folder;
// says why when a time does not fit or the file cannot be created or fully
// written.
base::Status write_midi_file(ComposerState& state, const char* name);

// Writes the note listing outco.rur in state.work_folder; says why when it
// cannot be created or fully written.
base::Status write_listing_file(const ComposerState& state);

}  // namespace zelvo::composer
