#pragma once

#include "notation/notation_grid.h"

namespace zelvo::app {

// `--grid VALUE` at argv[i]: reads VALUE into `grid` and moves i onto it.
// False (i and grid untouched) when VALUE is missing or not a grid.
inline bool read_grid_option(int argc, char** argv, int& i, notation::Grid& grid) {
  if (i + 1 >= argc || !notation::parse_grid(argv[i + 1], grid)) return false;
  ++i;
  return true;
}

}  // namespace zelvo::app
