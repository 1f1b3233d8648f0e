#include <string>

#include "media_commands.h"

namespace zelvo::app {

std::string output_beside(const std::string& path, const char* extension) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  const bool has_extension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (has_extension ? path.substr(0, dot) : path) + extension;
}

}  // namespace zelvo::app
