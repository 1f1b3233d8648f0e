#include "intake/zip_library.h"

#ifndef __EMSCRIPTEN__
#include "intake/shared_library.h"
#endif

namespace zelvo::intake {

#ifdef __EMSCRIPTEN__

const char* zip_library_file() { return "libzip.a"; }

// The module is one static program: the functions are simply linked.
ZipLibrary load_zip_library(const char*) {
  return {true,      &zip_source_buffer_create, &zip_source_free, &zip_open_from_source,
          &zip_discard, &zip_fopen,             &zip_fread,       &zip_fclose,
          &zip_stat,    &zip_stat_init,         &zip_error_init,  &zip_error_fini};
}

#else

const char* zip_library_file() { return ZELVO_LIBZIP_FILE; }

ZipLibrary load_zip_library(const char* file) {
  return load_table<ZipLibrary>(file, [](void* library, ZipLibrary& zip) {
    return look_up(library, "zip_source_buffer_create", zip.source_buffer_create) &&
           look_up(library, "zip_source_free", zip.source_free) &&
           look_up(library, "zip_open_from_source", zip.open_from_source) &&
           look_up(library, "zip_discard", zip.discard) && look_up(library, "zip_fopen", zip.fopen) &&
           look_up(library, "zip_fread", zip.fread) && look_up(library, "zip_fclose", zip.fclose) &&
           look_up(library, "zip_stat", zip.stat) && look_up(library, "zip_stat_init", zip.stat_init) &&
           look_up(library, "zip_error_init", zip.error_init) && look_up(library, "zip_error_fini", zip.error_fini);
  });
}

#endif

const ZipLibrary& zip_library() {
  // Loaded once, then only read: the same for every job and thread.
  static const ZipLibrary zip = load_zip_library(zip_library_file());
  return zip;
}

}  // namespace zelvo::intake
