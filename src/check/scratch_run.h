#pragma once

// Runs a job's reading step on a console that nobody sees and gives the
// message it stopped with as one line of a finding.
#include <functional>
#include <string>

#include "console/job_console.h"
#include "console/status.h"

namespace zelvo::check {

// The message of a failed step on one line, as a finding quotes it.
// REQUIRES: !status.ok().
std::string error_line(const console::Status& status, int32_t language);

// True when `step` went through. Otherwise `error` holds the step's message
// on one line (error_line), after the notes the step printed on its way
// (its warnings, a seed), progress lines left out: a finding has always
// quoted those before the error, and the readers still print them as they
// go.
bool run_step(console::JobConsole& scratch, const std::function<console::Status()>& step, std::string& error);

}  // namespace zelvo::check
