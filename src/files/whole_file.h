#pragma once

// Whole files in and out: the one place a file is read into memory or
// written from it.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>

namespace zelvo::files {

// What happened to a file being written.
enum class WriteResult : uint8_t { kWritten, kNotCreated, kNotWritten };

// The bytes of the file at `path`; false when it cannot be opened or read
// (a folder is opened but not read), `bytes` then holding what was read.
bool read_whole(const std::string& path, std::string& bytes);
// What is left of an open file, from where it stands; false on a read error.
bool read_whole(std::FILE* file, std::string& bytes);

// Creates or empties the file at `path` and writes `bytes` into it:
// kNotCreated when it cannot be opened, kNotWritten when a write or the
// closing fails (a full disk), when a reader may see what got through.
WriteResult write_file(const std::string& path, std::string_view bytes);

// What write_whole does besides, for a file a user keeps (the composition).
struct Keeping {
  bool permissions = false;  // the new file takes the permission bits of the one it replaces
  bool on_disk = false;      // the part reaches the disk before it is renamed
};

// Writes `bytes` to `path` + ".part" and renames it to `path`, so a reader
// sees the old file or the whole new one, never a part; the part is removed
// on any failure. kNotCreated when the part cannot be created, kNotWritten
// when it cannot be written or renamed; `rename_error`, when given, says
// why the renaming failed (and is cleared otherwise).
WriteResult write_whole(const std::string& path, std::string_view bytes, std::error_code* rename_error = nullptr,
                        Keeping keeping = {});

}  // namespace zelvo::files
