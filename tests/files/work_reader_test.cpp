// The two places a job reads the work's files from answer alike: a folder
// and the same files in memory, the job's outputs in front of its inputs.
#include "files/work_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "support/files.h"

namespace zelvo::files {
namespace {

namespace fs = std::filesystem;

TEST(WorkReader, AFolderAndTheSameFilesInMemory) {
  test::TempFolder folder;
  const FileMap given = {{"conar.txt", "given"}, {"outco.rur", "old"}, {"empty", ""}, {"crlf", "a\r\nb\r\n"}};
  const FileMap made = {{"outco.rur", "new"}, {"outco.mid", std::string("MThd\0\0", 6)}};
  for (const FileMap* files : {&given, &made}) {
    for (const auto& [name, bytes] : *files) test::write_file(folder.file(name), bytes);
  }
  fs::create_directory(folder.file("dir"));
  const FolderReader on_disk(folder.path());
  const MemoryReader in_memory(made, given);
  // Each name and what reading it gives ("-" when it does not read).
  const struct {
    const char* name;
    const char* bytes;
  } cases[] = {{"conar.txt", "given"}, {"outco.rur", "new"}, {"empty", ""}, {"crlf", "a\r\nb\r\n"},
               {"missing", "-"},       {"dir", "-"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const bool there = std::string(c.bytes) != "-";
    for (const WorkReader* reader : {static_cast<const WorkReader*>(&on_disk), static_cast<const WorkReader*>(&in_memory)}) {
      std::string bytes = "left";
      EXPECT_EQ(reader->read(c.name, bytes), there);
      if (there) {
        EXPECT_EQ(bytes, c.bytes);
      }
      EXPECT_EQ(reader->has_file(c.name), there);
      const std::unique_ptr<std::FILE, decltype(&std::fclose)> file(reader->open(c.name), &std::fclose);
      if (there) {
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(test::read_stream(file.get()), c.bytes);
        std::rewind(file.get());  // the table reader reads twice
        EXPECT_EQ(test::read_stream(file.get()), c.bytes);
      }
    }
  }
  std::string bytes;
  EXPECT_TRUE(in_memory.read("outco.mid", bytes));
  EXPECT_EQ(bytes, std::string("MThd\0\0", 6));  // bytes after a zero stay
}

TEST(WorkReader, TheGivenReaderElseTheFolder) {
  test::TempFolder folder;
  test::write_file(folder.file("a"), "disk");
  const FileMap none, given = {{"a", "memory"}};
  const MemoryReader memory(none, given);
  std::string bytes;
  EXPECT_TRUE(ReaderOrFolder(nullptr, folder.path())->read("a", bytes));
  EXPECT_EQ(bytes, "disk");
  EXPECT_TRUE(ReaderOrFolder(&memory, folder.path())->read("a", bytes));
  EXPECT_EQ(bytes, "memory");
}

}  // namespace
}  // namespace zelvo::files
