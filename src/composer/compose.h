#pragma once

#include "composer/composer_state.h"
#include "console/console.h"

namespace zelvo::composer {

// The Compose job: compiles incom.htm, generates the bars and writes
// outco.rur and outco.mid in the current directory. A stop or an error ends
// the job through the console (JobEnded).
void compose(ComposerState& state, console::Console& console);

}  // namespace zelvo::composer
