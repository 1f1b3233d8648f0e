#pragma once

#include <string>

#include "console/composition_opener.h"
#include "files/work_reader.h"

namespace zelvo::intake {

// The application's composition opener: a document the table reader reads
// as it is reaches it untouched, straight from the file; any other is laid
// out in memory first (see lay_out_composition). The file comes from the
// reader a job sets, else from the folder the table reader names.
class CompositionIntake : public console::CompositionOpener {
 public:
  // The work's files for the jobs to come (null: each job's folder).
  void set_reader(const files::WorkReader* reader) { reader_ = reader; }
  std::FILE* open_composition(const std::string& folder, const char* name) override;

 private:
  const files::WorkReader* reader_ = nullptr;
};

}  // namespace zelvo::intake
