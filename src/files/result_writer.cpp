#include "files/result_writer.h"

#include <filesystem>
#include <system_error>

#include "files/paths.h"

namespace zelvo::files {

WriteResult FolderWriter::write(const std::string& name, std::string_view bytes, Replace replace) {
  const std::string path = join_path(folder_, name);
  if (name.find('/') != std::string::npos) {
    std::error_code ignored;  // a folder that cannot be made fails the write below
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  }
  return replace == Replace::kWhole ? write_whole(path, bytes) : write_file(path, bytes);
}

WriteResult write_output(ResultWriter* writer, const std::string& folder, const std::string& name,
                         std::string_view bytes, Replace replace) {
  if (writer != nullptr) return writer->write(name, bytes, replace);
  FolderWriter in_folder(folder);
  return in_folder.write(name, bytes, replace);
}

}  // namespace zelvo::files
