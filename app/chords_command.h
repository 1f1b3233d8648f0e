#pragma once

namespace zelvo::app {

// zelvo chords SCORE [-o FILE] [--first-part N]: the harmony file of a lead
// sheet's chord symbols and key signatures. argv[0] is "chords".
int run_chords_command(int argc, char** argv);

}  // namespace zelvo::app
