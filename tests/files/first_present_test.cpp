// Which of two copies of a work file is read: a table of folders (the
// entries each copy has) and the name each rule gives.
#include "files/first_present.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>

#include "support/files.h"

namespace zelvo::files {
namespace {

namespace fs = std::filesystem;

constexpr FilePair kPair{"a.rur", "a.txt"};

// An entry that exists but does not open for reading, even for root: a
// socket.
void make_socket(const std::string& path) {
  const int handle = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(handle, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  ASSERT_EQ(::bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ::close(handle);
}

// Each copy's entry: '-' none, 'f' a file, 's' a socket, 'l' a link to
// nowhere.
void make_entry(const std::string& path, char kind) {
  if (kind == 'f') test::write_file(path, std::filesystem::path(path).filename().string());
  if (kind == 's') make_socket(path);
  if (kind == 'l') fs::create_symlink(path + ".gone", path);
}

// The rows of data/files/first_present.txt.
// The rows of data/files/first_present.txt.
TEST(FirstPresent, ByEntryAndRule) {
  for (const std::string& row : test::table_rows("files/first_present.txt", 7)) {
    SCOPED_TRACE(row);
    std::string entries, want_exists, want_opens;  // "-" for none
    std::istringstream(row) >> entries >> want_exists >> want_opens;
    if (want_exists == "-") want_exists.clear();
    if (want_opens == "-") want_opens.clear();
    test::TempFolder folder;
    make_entry(folder.file(kPair.first), entries[0]);
    make_entry(folder.file(kPair.second), entries[1]);
    const char* exists = first_present(folder.path(), kPair, Presence::kExists);
    const char* opens = first_present(folder.path(), kPair, Presence::kOpens);
    EXPECT_EQ(exists != nullptr ? exists : "", want_exists);
    EXPECT_EQ(opens != nullptr ? opens : "", want_opens);
    EXPECT_STREQ(name_to_read(folder.path(), kPair, Presence::kExists), want_exists.empty() ? "a.txt" : want_exists.c_str());
    std::FILE* file = open_first(kPair, [&](const char* name) { return std::fopen(folder.file(name).c_str(), "r"); });
    EXPECT_EQ(file != nullptr ? test::read_stream(file) : "", want_opens);  // each copy holds its own name
    if (file != nullptr) std::fclose(file);
  }
}

TEST(FirstPresent, AnEmptyFolderIsTheCurrentDirectory) {
  test::TempFolder folder;
  test::write_file(folder.file("a.txt"), "x");
  const fs::path before = fs::current_path();
  fs::current_path(folder.path());
  EXPECT_STREQ(first_present("", kPair, Presence::kOpens), "a.txt");
  fs::current_path(before);
}

}  // namespace
}  // namespace zelvo::files
