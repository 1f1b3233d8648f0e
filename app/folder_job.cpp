#include "folder_job.h"

#include <cstdio>
#include <cstring>

#include "failure_line.h"
#include "jobs/work_folder.h"
#include "shell/folders.h"

namespace zelvo::app {

bool read_folder_job(const JobCommandOptions& options, jobs::JobInput& input) {
  const std::string& folder = options.work_folder;
  input.command = options.kind;
  input.language = options.language;
  input.notation = options.notation;
  input.grid = options.grid;
  if (const base::Status usable = folder.empty() ? base::Status() : shell::folder_usable(folder); !usable.ok()) {
    print_failure("zelvo", usable);
    return false;
  }
  input.folder_name = folder;
  if (const base::Status read = jobs::read_work_inputs(folder, input.files); !read.ok()) {
    print_failure("zelvo", read);
    return false;
  }
  return true;
}

}  // namespace zelvo::app
