#pragma once

#include <cstdint>
#include <string>

#include "console/job_console.h"
#include "engine/settings.h"

namespace zelvo::harmonizer {

// Reads conar.rur, else conar.txt, of the work folder `folder` (empty: the
// current directory) into `settings`. Result 0 when neither
// file can be opened (the caller reports it), 1 when the file was read to
// its end. A bad line prints the bad-line message with the line as read and
// ends the job; settings stored from earlier lines keep their new values.
int32_t read_configuration(engine::HarmonizerSettings& settings, console::JobConsole& console,
                           const std::string& folder);

// The value of a configuration line's integer: an optional '-' and the
// decimal digits after it, up to the first other character ("12x" is 12, a
// lone '-' is 0). Out-of-range values saturate at the int32 limits.
int32_t config_integer(const char* text);

}  // namespace zelvo::harmonizer
