#pragma once

#include <cstdint>

#include "engine/context.h"

namespace zelvo::engine {

// The chosen pitches and tone types that the path search may give one note
// of the line it searches, in the order it tries them: offsets upward, the
// tone rules in kRuleOrder, without the types the line's last note may not
// take. Within one stage of one search they depend on a path only through
// its previous note's chosen pitch and tone type (the note's place, the
// previous note's place, chord, scale and profile are fixed), so they are
// worked out once per previous pitch and type instead of once per path.
// Beside each choice, what it adds to a path's cost tally (tally_step of
// path_cost.h), worked out with the list.
struct ChoiceList {
  const PathNote* notes;
  const uint64_t* steps;
  int32_t count;
};

// The memo key of a previous note: its type (0-7, or 8 for a chord tone)
// and pitch; one key for no previous note; -1 for a state no path makes,
// which is worked out every time.
int32_t choice_key(const LinkState& previous);

// Forgets every list: the next stage or search has other notes.
void new_choice_stage(EngineState& state);

// The choices for note `i` of line `l` of slot `s` after `previous`; `q` is
// the note's position in its stage (0 to kStageNotes - 1). The list stays
// valid until the next new_choice_stage.
ChoiceList tone_choices(Engine& engine, int32_t s, int32_t l, int32_t i, int32_t q,
                        const LinkState& previous, bool no_lookahead);

}  // namespace zelvo::engine
