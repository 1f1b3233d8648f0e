#pragma once

#include "console/composition_opener.h"

namespace zelvo::intake {

// The application's composition opener: a document the table reader reads
// as it is reaches it untouched, straight from the file; any other is laid
// out in memory first (see lay_out_composition).
class CompositionIntake : public console::CompositionOpener {
 public:
  std::FILE* open_composition(const char* path) override;
};

}  // namespace zelvo::intake
