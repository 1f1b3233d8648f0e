#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "intake/zip_library.h"

namespace zelvo::intake {

// The most a compressed score may unpack to: far above any real score, far
// below what a forged archive could make memory hold.
constexpr int64_t kMaxUnpackedScore = 64 * 1024 * 1024;

enum class MxlResult {
  kRead,
  kBrokenArchive,  // not a readable zip archive
  kNoContainer,    // no META-INF/container.xml, or it names no root file
  kNoRootFile,     // the root file it names is not in the archive or unreadable
  kTooLarge,       // the root file unpacks to more than kMaxUnpackedScore bytes
  kNoLibrary,      // libzip cannot be loaded (zip_library_file())
};

// True when `bytes` begin as a zip archive does.
bool looks_like_zip(std::string_view bytes);

// Compressed MusicXML: a zip archive whose META-INF/container.xml names the
// score (the first <rootfile full-path=...>). Puts the score's bytes into
// `score`; never holds more than kMaxUnpackedScore + 1 bytes of it.
// Unpacks with zip_library().
MxlResult unpack_mxl(std::string_view bytes, std::string& score);
MxlResult unpack_mxl(const ZipLibrary& zip, std::string_view bytes, std::string& score);

}  // namespace zelvo::intake
