#pragma once

#include "base/status.h"

namespace zelvo::app {

// Prints "`who`: " and the failed step's message to the error stream. The
// steps around the jobs (folders, media, lead sheets) have always spoken
// English on the command line, whatever --lang says.
void print_failure(const char* who, const base::Status& status);

}  // namespace zelvo::app
