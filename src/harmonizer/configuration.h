#pragma once

#include <cstdint>
#include <string>

#include "base/status.h"
#include "engine/settings.h"

namespace zelvo::harmonizer {

// What reading the configuration came to.
struct ConfigurationRead {
  bool found = false;      // conar.rur or conar.txt opened (else the caller reports it)
  base::Status status;  // a bad line: the bad-line message with the line as read
};

// Reads conar.rur, else conar.txt, of the work folder `folder` (empty: the
// current directory) into `settings`, to the file's end or its first bad
// line. Settings stored from lines before a bad one keep their new values.
ConfigurationRead read_configuration(engine::HarmonizerSettings& settings, const std::string& folder);

// The value of a configuration line's integer: an optional '-' and the
// decimal digits after it, up to the first other character ("12x" is 12, a
// lone '-' is 0). Out-of-range values saturate at the int32 limits.
int32_t config_integer(const char* text);

}  // namespace zelvo::harmonizer
