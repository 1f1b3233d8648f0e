#pragma once

#include <cstdint>

#include "engine/context.h"

namespace zelvo::engine {

// Fills window slot `s` with the harmonic unit that begins at music note
// `first` and returns the index of its last note. The unit ends before the
// next chord or scale change, or earlier, before the group of simultaneous
// notes at which one instrument (0-15) reaches HarmUnitNoteLimit or 100
// notes. A unit always holds at least its first note. Gives up (base::stop_with)
// when no chord or no scale is in force at the first note.
int32_t form_unit(Engine& engine, int32_t s, int32_t first);

// Empties a slot: no line in use. The lines' contents are left as they are:
// nothing reads a line past the first unused one, and clear_line makes a
// line new before it is used.
void clear_slot(UnitSlot& slot);

// Makes line `l` of a slot new: unused, no links, no entry state, every
// candidate empty.
void clear_line(UnitSlot& slot, int32_t l);

// The entry of `table` in force at `time`: the entry before the first one
// that starts later or ends the table; -1 when there is none.
int32_t entry_in_force(const Engine& engine, const HarmonyTable& table, int64_t time);

}  // namespace zelvo::engine
