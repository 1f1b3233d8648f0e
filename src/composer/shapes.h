#pragma once

// The periodic shapes of a calculated generator. Header-only so that the
// documentation's drawings of them use this very function.
#include <cmath>
#include <cstdint>

namespace zelvo::composer {

// The five periodic shapes at phase x in [0, 1); shapes outside 1 to 5 give
// the sine.
inline double shape_value(int32_t shape, double x) {
  switch (shape) {
    case 2: return x < 0.5 ? 1.0 : -1.0;
    case 3: return 2 * x - 1;
    case 4: return 1 - 2 * x;
    case 5: return x <= 0.5 ? 4 * x - 1 : 3 - 4 * x;
    default: return std::sin(2 * 3.1415926535 * x);
  }
}

}  // namespace zelvo::composer
