#include "check/no_notes_check.h"

#include <memory>

#include "composer/compose.h"
#include "composer/composer_state.h"
#include "composer/generation_loop.h"
#include "tables/table_compiler.h"

namespace zelvo::check {

base::Status composition_makes_notes(const std::string& folder, console::JobConsole& scratch,
                                        console::CompositionOpener* opener, console::ScoreOpener* score_opener,
                                        bool& makes_notes) {
  auto state = std::make_unique<composer::ComposerState>();
  state->composition_opener = opener;
  state->score_opener = score_opener;
  state->work_folder = folder;
  composer::compose_init(*state);
  if (base::Status compiled = tables::compile_tables(state->composition, state->machine, scratch, folder.c_str(),
                                                        opener);
      !compiled.ok()) {
    return compiled;
  }
  composer::collect_variable_programs(*state);
  if (base::Status timed = composer::compose_timing(*state, scratch); !timed.ok()) return timed;
  if (base::Status read = composer::read_sequences(*state, scratch); !read.ok()) return read;
  if (base::Status generated = composer::generate(*state, scratch, state->timing.bar_count); !generated.ok()) {
    return generated;
  }
  makes_notes = state->notes.count > 0;
  return base::Status();
}

}  // namespace zelvo::check
