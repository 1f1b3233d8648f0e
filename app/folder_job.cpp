#include "folder_job.h"

#include <cstdio>
#include <cstring>

#include "jobs/work_folder.h"
#include "shell/folders.h"

namespace zelvo::app {

bool read_folder_job(const JobCommandOptions& options, jobs::JobInput& input) {
  const std::string& folder = options.work_folder;
  input.command = options.kind;
  input.language = options.language;
  input.notation = options.notation;
  input.grid = options.grid;
  if (const int problem = folder.empty() ? 0 : shell::folder_usable(folder); problem != 0) {
    std::fprintf(stderr, "zelvo: cannot use work folder %s: %s\n", folder.c_str(), std::strerror(problem));
    return false;
  }
  input.folder_name = folder;
  std::string problem;
  if (!jobs::read_work_inputs(folder, input.files, problem)) {
    std::fprintf(stderr, "zelvo: %s\n", problem.c_str());
    return false;
  }
  return true;
}

}  // namespace zelvo::app
