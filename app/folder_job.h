#pragma once

// The input of a job run on a work folder, as the command line builds it
// (the native program and the web module's alike): the folder's files as
// values, the folder named for the messages that name it.
#include <string>

#include "base/message.h"
#include "jobs/job.h"

namespace zelvo::app {

// What both command lines read for a job run on a work folder.
struct JobCommandOptions {
  std::string work_folder;  // empty: the current directory
  int language = base::kEnglish;
  console::JobKind kind = console::JobKind::kCompose;
  bool notation = false;  // also write the results as MusicXML
  bool grid_given = false;
  notation::Grid grid = notation::Grid::kChosen;  // where those notes go
};

// Fills `input` with the job `options` ask for and the files of its work
// folder. When the folder cannot be used or read, says why on standard
// error and returns false: the caller exits with the usage status.
bool read_folder_job(const JobCommandOptions& options, jobs::JobInput& input);

}  // namespace zelvo::app
