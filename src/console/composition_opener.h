#pragma once

#include <cstdio>
#include <string>

namespace zelvo::console {

// How the table reader gets the bytes of incom.htc or incom.htm. The reader
// reads the line layout its own examples use; the application may hand it a
// document written by another HTML editor laid out in that form first.
// Without an opener the reader opens the file itself.
class CompositionOpener {
 public:
  virtual ~CompositionOpener() = default;
  // A stream of the file `name` of the work folder `folder` (empty: the
  // current directory), ready to be read from its start; the caller closes
  // it. nullptr when the file does not open.
  virtual std::FILE* open_composition(const std::string& folder, const char* name) = 0;
};

}  // namespace zelvo::console
