#pragma once

// Where a job's output files go. The engines hand each output file to a
// ResultWriter as bytes; the work folder's writer puts it in the folder at
// once, run_job's keeps it (and passes it on to the caller's writer, the
// command line's being the work folder's). How the write failed decides
// the job's message, so every writer answers as the folder would.
#include <string>
#include <string_view>

#include "files/whole_file.h"

namespace zelvo::files {

// How an output replaces the file before it.
enum class Replace : uint8_t {
  kInPlace,  // emptied and written: a failed write leaves what got through
  kWhole,    // written beside it and renamed (write_whole)
};

class ResultWriter {
 public:
  virtual ~ResultWriter() = default;
  // Writes `bytes` as the output `name` (a path relative to the work folder).
  virtual WriteResult write(const std::string& name, std::string_view bytes, Replace replace) = 0;
};

// The outputs written straight into a folder (empty: the current directory);
// an output in a subfolder makes the subfolder.
class FolderWriter : public ResultWriter {
 public:
  explicit FolderWriter(std::string folder) : folder_(std::move(folder)) {}
  WriteResult write(const std::string& name, std::string_view bytes, Replace replace) override;

 private:
  std::string folder_;
};

// Writes through `writer`, or into `folder` when there is none.
WriteResult write_output(ResultWriter* writer, const std::string& folder, const std::string& name,
                         std::string_view bytes, Replace replace);

}  // namespace zelvo::files
