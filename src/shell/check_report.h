#pragma once

#include <string>

#include "console/job_console.h"
#include "shell/folders.h"
#include "shell/platform.h"

namespace zelvo::shell {

// Options > Check: the probable mistakes of the work folder, printed into
// the console in its language, one a line, then how many. Runs no job and
// changes no file. No work folder: the usual message box. The files read
// are those of `work_folder`, the folder the jobs run in.
void print_check(console::JobConsole& console, const std::string& work_folder, const Folders& folders,
                 Platform& platform);

}  // namespace zelvo::shell
