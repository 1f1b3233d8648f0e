#pragma once

namespace zelvo::app {

// zelvo [--lang en|es] check [--work DIR]: lists what in the work folder is
// accepted but probably a mistake. Exit 0 when nothing is found, 1 when
// something is, 2 for a usage error or a work folder that cannot be used.
int run_check_command(int argc, char** argv);

}  // namespace zelvo::app
