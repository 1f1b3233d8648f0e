#pragma once

namespace zelvo::app {

// zelvo notate FILE.mid [-o FILE.musicxml]: a MIDI file as MusicXML.
// argv[0] is "notate".
int run_notate_command(int argc, char** argv);

}  // namespace zelvo::app
