#pragma once

// Runs a job's reading step on a console that nobody sees and gives the
// notes it told and the message it stopped with as one line of a finding.
#include <functional>
#include <string>

#include "console/job_console.h"
#include "base/status.h"

namespace zelvo::check {

// The message of a failed step on one line, as a finding quotes it.
// REQUIRES: !status.ok().
std::string error_line(const base::Status& status, int32_t language);

// True when `step` went through. Otherwise `error` holds, on one line as
// error_line gives it, the notes the step told on its way (JobConsole::note:
// a seed, a warning, a pickup placed) and then its message: a finding quotes
// what the job's console would show before the error, its progress left out.
bool run_step(console::JobConsole& scratch, const std::function<base::Status()>& step, std::string& error);

}  // namespace zelvo::check
