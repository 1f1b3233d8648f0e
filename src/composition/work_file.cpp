#include "composition/work_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "composition/any_html.h"
#include "base/work_files.h"
#include "files/first_present.h"
#include "files/whole_file.h"
#include "intake/composition_layout.h"

namespace zelvo::composition {

std::string composition_path(const std::string& folder) {
  return base::work_path(folder, files::name_to_read(folder, base::kCompositionFiles, files::Presence::kExists));
}

std::string layout_html(const std::string& html) { return intake::lay_out_composition(html); }

FileResult load_composition(const std::string& path, Document& document) {
  std::string bytes;
  if (!files::read_whole(path, bytes)) return FileResult::kCannotRead;
  document = read_any_html(bytes);
  return FileResult::kDone;
}

FileResult save_composition(const std::string& path, const Document& document) {
  struct stat status {};
  const bool exists = ::stat(path.c_str(), &status) == 0;
  if (exists && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return FileResult::kReadOnly;
  const files::WriteResult written =
      files::write_whole(path, write_any_html(document), nullptr, {.permissions = true, .on_disk = true});
  return written == files::WriteResult::kWritten ? FileResult::kDone : FileResult::kCannotWrite;
}

}  // namespace zelvo::composition
