#pragma once

#include <string_view>

namespace zelvo::files {

// Whether a work folder's file goes into a scratch run on a changed
// composition (Live, a setting tried from the command line): every file but
// the results (out*), which the run makes anew, and the composition
// (incom.*), which the run is given.
inline bool is_run_input(std::string_view name) {
  return !name.starts_with("out") && !name.starts_with("incom.");
}

}  // namespace zelvo::files
