#pragma once

namespace zelvo::app {

// The command line of the WebAssembly module, with the native program's
// arguments and results: the jobs (compose, harmonize, all, with --work,
// --lang, --notation and --grid), check, chords and notate. A job runs on
// the calling thread (the browser gives the module none), so Ctrl-C and the
// "still working" lines are not there; what it prints and writes is the
// native program's to the byte.
int run_web_command_line(int argc, char** argv);

}  // namespace zelvo::app
