#pragma once

#include <string>
#include <string_view>

// The one way a file's path is made from its folder and name.
namespace zelvo::files {

// `name` inside `folder`; an empty folder stands for the current directory,
// as a relative path does, and a folder ending in '/' gets no second one.
inline std::string join_path(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty()) return std::string(name);
  if (path.back() != '/') path += '/';
  path += name;
  return path;
}

}  // namespace zelvo::files
