#pragma once

// The composition file of a work folder, read and written whole.
#include <string>

#include "composition/document.h"

namespace zelvo::composition {

enum class FileResult { kDone, kCannotRead, kReadOnly, kCannotWrite };

// The file the composer reads in `folder`: incom.htc when present, else
// incom.htm (`folder` empty: the current directory).
std::string composition_path(const std::string& folder);

// Reads the file as the composer reads it (read_any_html).
FileResult load_composition(const std::string& path, Document& document);

// The HTML the composer's intake hands on to the table reader.
std::string layout_html(const std::string& html);

// Writes the document (write_any_html) to a temporary file beside `path` and renames it
// over `path`, so the file is never left half-written; the file's
// permissions are kept. A file without write permission is refused (also
// for a user whom the system would let write it).
FileResult save_composition(const std::string& path, const Document& document);

}  // namespace zelvo::composition
