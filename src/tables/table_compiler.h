#pragma once

// The table compiler: reads incom.htc (or incom.htm) from the current
// directory in a reading pass and a compile pass and fills the composition
// and the machine's program tables.
#include <cstdint>

#include "console/composition_opener.h"
#include "base/progress_lines.h"
#include "machine/machine_state.h"
#include "tables/composition.h"

namespace zelvo::tables {

// Clears `composition` and the machine's program tables, then reads and
// compiles the document, showing its progress on `progress`; returns the
// first error's message unshown. A stop request still ends the job (through
// progress.check_stop).
// Leaves the random state and list registers of `machine` untouched.
base::Status compile_tables(Composition& composition, machine::MachineState& machine,
                            base::ProgressLines& progress);
// The same with the document in `folder` instead of the current directory,
// read through `opener` when there is one.
base::Status compile_tables(Composition& composition, machine::MachineState& machine,
                            base::ProgressLines& progress, const char* folder,
                            console::CompositionOpener* opener = nullptr);

// The first symbol record whose kind and row are these; kNoSymbol if none.
uint32_t find_symbol_by_place(const Composition& composition, uint32_t kind, uint32_t row);

// A plain number cell: digits with points between, a leading sign allowed.
bool is_number(const char* text);

// A name that may be declared now (letters and digits, at most 29, not a
// note name, no leading digit, not yet declared in any case).
bool is_valid_new_name(const Composition& composition, const char* text);

}  // namespace zelvo::tables
