#pragma once

// File helpers shared by the tests: whole files in and out, scratch folders,
// and recorded expectations that ZELVO_UPDATE=1 rewrites.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "console/console.h"

namespace zelvo::test {

inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The bytes from `file`'s position to its end.
inline std::string read_stream(std::FILE* file) {
  std::string bytes;
  for (int c = std::getc(file); c != EOF; c = std::getc(file)) bytes += static_cast<char>(c);
  return bytes;
}

inline void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string replace_all(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, from.size(), to);
  return text;
}

inline std::string test_data(const std::string& name) { return std::string(ZELVO_TEST_DATA) + "/" + name; }

// The rows of the table of cases `name` under tests/data: its lines but
// blank ones and "#" comments, at least `fewest` of them.
inline std::vector<std::string> table_rows(const std::string& name, size_t fewest) {
  std::vector<std::string> rows;
  std::istringstream in(read_file(test_data(name)));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#') rows.push_back(line);
  }
  EXPECT_GE(rows.size(), fewest) << name;
  return rows;
}

// A scratch folder removed with its contents at the end of a test.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zelvo-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Recordings name the program's version by a placeholder, so a new version
// is one line of the program and changes no recording.
inline std::string versioned_name() { return std::string(console::kProductName) + " " + console::kVersion; }
inline std::string placeholder_name() { return std::string(console::kProductName) + " <version>"; }

// A recording's text as the program prints it today.
inline std::string with_version(const std::string& recorded) {
  return replace_all(recorded, placeholder_name(), versioned_name());
}
// What the program printed, as a recording holds it.
inline std::string without_version(const std::string& printed) {
  return replace_all(printed, versioned_name(), placeholder_name());
}
inline std::string read_recorded(const std::string& path) { return with_version(read_file(path)); }

inline bool updating() {
  const char* update = std::getenv("ZELVO_UPDATE");
  return update != nullptr && *update != '\0' && *update != '0';
}

// `actual` against the recorded file `path`; with ZELVO_UPDATE=1 the record
// is rewritten instead, so an intended change shows as a diff in review.
inline void expect_recorded(const std::string& path, const std::string& actual) {
  if (updating()) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    write_file(path, without_version(actual));
    return;
  }
  const std::string expected = read_recorded(path);
  if (expected == actual) return;
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  const size_t line_start = expected.rfind('\n', at == 0 ? 0 : at - 1);
  const size_t from = line_start == std::string::npos ? 0 : line_start + 1;
  ADD_FAILURE() << path << " differs at byte " << at << "\nexpected: "
                << expected.substr(from, at - from + 80) << "\n  actual: " << actual.substr(from, at - from + 80);
}

}  // namespace zelvo::test
