#pragma once

#include <string>

namespace zelvo::base {

// The work folder `folder` (empty: the current directory) as a message
// names it: its absolute path in Windows-1252, or "." when that cannot be
// found. A message that says a file is missing names the folder this way,
// so that a job run in the wrong folder says where it looked.
std::string shown_work_folder(const std::string& folder);

}  // namespace zelvo::base
