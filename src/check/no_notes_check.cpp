#include "check/no_notes_check.h"

#include <memory>

#include "composer/compose.h"
#include "composer/composer_state.h"
#include "composer/generation_loop.h"
#include "tables/table_compiler.h"

namespace zelvo::check {

bool composition_makes_notes(console::Console& scratch, console::CompositionOpener* opener,
                             console::ScoreOpener* score_opener) {
  auto state = std::make_unique<composer::ComposerState>();
  state->composition_opener = opener;
  state->score_opener = score_opener;
  composer::compose_init(*state);
  tables::compile_tables(state->composition, state->machine, scratch, "", opener);
  composer::collect_variable_programs(*state);
  composer::compose_timing(*state, scratch);
  composer::read_sequences(*state, scratch);
  composer::generate(*state, scratch, state->timing.bar_count);
  return state->notes.count > 0;
}

}  // namespace zelvo::check
