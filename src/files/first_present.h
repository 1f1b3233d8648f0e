#pragma once

// Which copy of a work file is read when a work may hold two: incom.htc
// before incom.htm, conar.rur before conar.txt, infor.rur before
// infor.txt. The order and the test for "present" live here; every reader,
// check and launcher asks through these.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zelvo::files {

// Two names of one file, in the order they are looked for.
struct FilePair {
  const char* first;
  const char* second;
};

// What makes a copy present. The readers take the first copy that opens,
// so an unreadable first copy hands over to the second; the check's file
// names and the lead sheet ask only whether a copy is there (a copy that is
// there but unreadable is still the one a person should look at).
enum class Presence : uint8_t {
  kExists,  // there is an entry of that name (std::filesystem::exists)
  kOpens,   // it opens for reading
};

// The first name of `pair` present in `folder` (empty: the current
// directory); nullptr when neither is.
const char* first_present(std::string_view folder, FilePair pair, Presence presence);

// The first name present, else the second: the one a reader tries last and
// a message names when neither is there.
inline const char* name_to_read(std::string_view folder, FilePair pair, Presence presence) {
  const char* name = first_present(folder, pair, presence);
  return name != nullptr ? name : pair.second;
}

// The first stream `open(name)` gives for the names of `pair` in order
// (the first copy that opens); nullptr when neither opens.
template <typename Open>
std::FILE* open_first(FilePair pair, Open open) {
  std::FILE* file = open(pair.first);
  return file != nullptr ? file : open(pair.second);
}

}  // namespace zelvo::files
