#include <cstdio>

#include "failure_line.h"

namespace zelvo::app {

void print_failure(const char* who, const base::Status& status) {
  std::fprintf(stderr, "%s: %s\n", who, base::render(status.error(), base::kEnglish).c_str());
}

}  // namespace zelvo::app
