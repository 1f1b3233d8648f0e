// zelvo-cli.js: the module as a command-line program under node, reading and
// writing the real folders.
#include "web_command_line.h"

int main(int argc, char** argv) { return zelvo::app::run_web_command_line(argc, argv); }
