#pragma once

#include <cstdarg>

#include "console/console.h"

namespace zelvo::harmonizer {

// A fatal error of a harmonizer stage: the message, then check_stop (a
// pending stop request wins), then the abort.
[[noreturn]] inline void stage_error(console::Console& console, console::MessagePair pair, ...) {
  va_list args;
  va_start(args, pair);
  console.vprint(pair, args);
  va_end(args);
  check_stop(console);
  abort_job(console);
}

}  // namespace zelvo::harmonizer
