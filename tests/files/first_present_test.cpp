// Which of two copies of a work file is read: a table of folders (the
// entries each copy has) and the name each rule gives.
#include "files/first_present.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
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

TEST(FirstPresent, ByEntryAndRule) {
  struct Case {
    const char* entries;  // the first copy's and the second's
    const char* exists;   // the first present by kExists ("" none)
    const char* opens;    // the first present by kOpens
  };
  const Case cases[] = {
      {"--", "", ""},
      {"f-", "a.rur", "a.rur"},
      {"-f", "a.txt", "a.txt"},
      {"ff", "a.rur", "a.rur"},
      {"sf", "a.rur", "a.txt"},  // there but unreadable: the readers go on
      {"s-", "a.rur", ""},
      {"lf", "a.txt", "a.txt"},  // a link to nothing is no copy
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entries);
    test::TempFolder folder;
    make_entry(folder.file(kPair.first), c.entries[0]);
    make_entry(folder.file(kPair.second), c.entries[1]);
    const char* exists = first_present(folder.path(), kPair, Presence::kExists);
    const char* opens = first_present(folder.path(), kPair, Presence::kOpens);
    EXPECT_STREQ(exists != nullptr ? exists : "", c.exists);
    EXPECT_STREQ(opens != nullptr ? opens : "", c.opens);
    EXPECT_STREQ(name_to_read(folder.path(), kPair, Presence::kExists), *c.exists != '\0' ? c.exists : "a.txt");
    std::FILE* file = open_first(kPair, [&](const char* name) { return std::fopen(folder.file(name).c_str(), "r"); });
    std::string opened;  // each copy holds its own name
    if (file != nullptr) {
      for (int got = std::getc(file); got != EOF; got = std::getc(file)) opened += static_cast<char>(got);
      std::fclose(file);
    }
    EXPECT_EQ(opened, c.opens);
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
