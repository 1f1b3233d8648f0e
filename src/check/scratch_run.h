#pragma once

// Runs a job's reading step on a console that nobody sees and gives the
// message it stopped with as one line of a finding.
#include <functional>
#include <string>

#include "console/job_console.h"

namespace zelvo::check {

// True when `step` went through. Otherwise `error` holds the step's message
// on one line, after what else the step printed on its way (its warnings),
// progress lines left out. A step that still ends the job by printing its
// error and aborting (console::fail) gives the message it printed.
bool run_step(console::JobConsole& scratch, const std::function<console::Status()>& step, std::string& error);

// The same for a step that returns nothing.
bool run_on_scratch(console::JobConsole& scratch, const std::function<void()>& body, std::string& error);

}  // namespace zelvo::check
