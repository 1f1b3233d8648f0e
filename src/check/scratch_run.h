#pragma once

// Runs a job's reader on a console that nobody sees and turns the job's
// early end (an abort) into the text of its error message.
#include <functional>
#include <string>

#include "console/console.h"

namespace zelvo::check {

// True when `body` ran to its end. Otherwise `error` holds the message the
// job would have printed (the console's text since the call, on one line).
bool run_on_scratch(console::Console& scratch, const std::function<void()>& body, std::string& error);

}  // namespace zelvo::check
