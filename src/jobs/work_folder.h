#pragma once

// The edge of a file job: a work folder's files into a JobInput (its
// outputs go back through a files::FolderWriter).
#include <string>

#include "base/status.h"
#include "jobs/job.h"

namespace zelvo::jobs {

// Every regular file directly in `folder` (empty: the current directory),
// which is every file a job may read there; a file that cannot be read is
// left out. Fails when the folder cannot be read.
base::Status read_work_inputs(const std::string& folder, Files& files);

}  // namespace zelvo::jobs
