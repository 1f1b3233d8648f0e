#pragma once

// The input of a job run on a work folder, as the command line builds it
// (the native program and the web module's alike): the folder's files as
// values, the folder named for the messages that name it.
#include <string>

#include "jobs/job.h"

namespace zelvo::app {

// Fills `input` with the files of the work folder `folder` (empty: the
// current directory). When the folder cannot be used or read, says why on
// standard error and returns false: the caller exits with the usage status.
bool read_folder_job(const std::string& folder, jobs::JobInput& input);

}  // namespace zelvo::app
