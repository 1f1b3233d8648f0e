#pragma once

#include <zip.h>

namespace zelvo::intake {

// The libzip functions that unpack a compressed score. A native program
// loads the library when the first archive arrives instead of linking it:
// libzip brings libcrypto, and binding libcrypto's symbols costs every
// process about 4 M instructions (over a millisecond) at start, although only
// .mxl scores need any of it. The web module links libzip as usual.
struct ZipLibrary {
  bool loaded = false;
  decltype(&zip_source_buffer_create) source_buffer_create = nullptr;
  decltype(&zip_source_free) source_free = nullptr;
  decltype(&zip_open_from_source) open_from_source = nullptr;
  decltype(&zip_discard) discard = nullptr;
  decltype(&zip_fopen) fopen = nullptr;
  decltype(&zip_fread) fread = nullptr;
  decltype(&zip_fclose) fclose = nullptr;
  decltype(&zip_stat) stat = nullptr;
  decltype(&zip_stat_init) stat_init = nullptr;
  decltype(&zip_error_init) error_init = nullptr;
  decltype(&zip_error_fini) error_fini = nullptr;
};

// The library file the build found, such as "libzip.so.4".
const char* zip_library_file();

// Loads `file` and looks up every function; `loaded` is false when the file
// cannot be loaded or lacks one of them. Each call loads again: tests use it
// with other names.
ZipLibrary load_zip_library(const char* file);

// The library of zip_library_file(), loaded on the first call and kept for
// the life of the process, as the dynamic loader keeps it anyway.
const ZipLibrary& zip_library();

}  // namespace zelvo::intake
