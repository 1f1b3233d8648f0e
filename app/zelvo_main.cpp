#include "command_line.h"

int main(int argc, char** argv) { return zelvo::app::run_command_line(argc, argv); }
