#pragma once

namespace zelvo::composer {

// Every table of the composer: the compiled composition, the stack machine,
// the note events and the sequences. Allocated once by the application and
// re-initialised by each run (compose_init and the table compiler).
struct ComposerState {
};

}  // namespace zelvo::composer
