#include "jobs/work_folder.h"

#include <filesystem>
#include <system_error>

#include "files/whole_file.h"

namespace zelvo::jobs {

namespace fs = std::filesystem;

base::Status read_work_inputs(const std::string& folder, Files& files) {
  std::error_code error;
  const fs::path where = folder.empty() ? fs::path(".") : fs::path(folder);
  for (auto it = fs::directory_iterator(where, error); !error && it != fs::directory_iterator(); it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    const std::string name = it->path().filename().string();
    // A file that cannot be opened is left out: the job finds it missing,
    // as it would have found it unopenable.
    std::string bytes;
    if (files::read_whole(it->path().string(), bytes)) files[name] = std::move(bytes);
  }
  if (error) return base::Message(base::MessageId::kCannotReadFolder, where.string(), error.message());
  return base::Status();
}

}  // namespace zelvo::jobs
