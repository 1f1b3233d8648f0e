#pragma once

#include <dlfcn.h>

namespace zelvo::intake {

// For the libraries a native program loads when their first document
// arrives rather than at start (zip_library.h, xml_library.h). RTLD_LOCAL
// keeps their names out of the program's own lookups. A library with every
// function asked for stays loaded for the life of the process.
inline void* open_shared_library(const char* file) { return dlopen(file, RTLD_NOW | RTLD_LOCAL); }

// Points `function` at the library's `name`; false when the library lacks it.
template <typename Function>
bool look_up(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

// A table of a library's functions with a `loaded` flag: filled by
// `look_up_all(library, table)`, and loaded only when every one is found.
template <typename Table, typename LookUpAll>
Table load_table(const char* file, LookUpAll look_up_all) {
  Table table;
  void* library = open_shared_library(file);
  if (library == nullptr) return table;
  table.loaded = look_up_all(library, table);
  if (!table.loaded) dlclose(library);
  return table;
}

}  // namespace zelvo::intake
