#include "composer/compose.h"

#include "composer/composer_messages.h"

namespace zelvo::composer {

// The run order of a Compose job. Stages are filled in as they are built.
void compose(ComposerState& state, console::Console& console) {
  (void)state;
  console_print(console, kStartMessage);
  check_stop(console);
}

}  // namespace zelvo::composer
