#pragma once

#include <string>

namespace zelvo::app {

// For a file named on the command line that does not exist: "NAME was
// looked for in the folder DIR", DIR absolute, so that a command run in the
// wrong folder says where it looked. Empty when the file exists (then it
// is unreadable, not missing).
std::string looked_for(const std::string& path);

}  // namespace zelvo::app
