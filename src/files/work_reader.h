#pragma once

// Where a job's readers find the work's files: in a folder, or given as
// bytes by the caller of a job (with the outputs the job has made so far
// standing in front of them, as they would in the folder). The readers ask
// by bare name; only FolderReader turns a name into a path.
#include <cstdio>
#include <map>
#include <string>

namespace zelvo::files {

// Files by name (a file in a subfolder named by its relative path with '/').
using FileMap = std::map<std::string, std::string>;

class WorkReader {
 public:
  virtual ~WorkReader() = default;
  // The whole of `name` into `bytes`; false when it does not open or read.
  virtual bool read(const std::string& name, std::string& bytes) const = 0;
  // Whether `name` is a regular file.
  virtual bool has_file(const std::string& name) const = 0;
  // A stream over `name` from its start, for the line readers; the caller
  // closes it. nullptr when it does not open.
  virtual std::FILE* open(const std::string& name) const = 0;
};

// The files of `folder` (empty: the current directory).
class FolderReader final : public WorkReader {
 public:
  explicit FolderReader(std::string folder) : folder_(std::move(folder)) {}
  bool read(const std::string& name, std::string& bytes) const override;
  bool has_file(const std::string& name) const override;
  std::FILE* open(const std::string& name) const override;

 private:
  std::string folder_;
};

// Files held in memory: `front` (a job's outputs so far) over `back` (the
// files it was given). Both maps are the caller's and must outlive it.
class MemoryReader final : public WorkReader {
 public:
  MemoryReader(const FileMap& front, const FileMap& back) : front_(front), back_(back) {}
  bool read(const std::string& name, std::string& bytes) const override;
  bool has_file(const std::string& name) const override { return find(name) != nullptr; }
  std::FILE* open(const std::string& name) const override;

 private:
  const std::string* find(const std::string& name) const;
  const FileMap& front_;
  const FileMap& back_;
};

// The reader a job was given, else its folder's: engines that may run on
// either ask through this.
class ReaderOrFolder {
 public:
  ReaderOrFolder(const WorkReader* given, const std::string& folder) : folder_(folder), given_(given) {}
  const WorkReader& operator*() const { return given_ != nullptr ? *given_ : folder_; }
  const WorkReader* operator->() const { return &**this; }

 private:
  FolderReader folder_;
  const WorkReader* given_;
};

}  // namespace zelvo::files
