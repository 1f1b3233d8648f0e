#pragma once

#include <cstdint>
#include <string_view>

#include "midi/song.h"

// The one reader of Standard MIDI Files (formats 0 and 1) for the programs
// that take any file: the piano roll, the player and the tools after them.
//
// Variable-length numbers are read to at most four bytes, as the format
// defines them: a fifth byte is a damaged file. (The harmonizer's own
// format-0 reading keeps its older rule, reading a number of any length:
// the format-0 files handed to it by the merge of tracks may carry longer
// deltas, and what it reads from them must stay as it is.)
namespace zelvo::midi {

enum class ParseCode : uint8_t {
  kRead,
  kNotMidi,             // fewer than 14 bytes, or no "MThd"
  kDamagedHeader,       // the header's length is below 6 or past the file's end
  kUnsupportedFormat,   // format 2 or above
  kTimeCode,            // the division counts SMPTE frames, or is 0
  kFileEndsInsideTrack,  // a chunk runs past the file's end
  kFileEndsBeforeTrack,  // fewer track chunks than the header says
  kEndsInsideDelta,     // a delta time cut short, or longer than four bytes
  kEndsAfterDelta,
  kTooLong,             // a track lasts more than kMaxTick ticks
  kEndsInsideMeta,
  kEndsInsideExclusive,
  kNoStatus,            // a data byte with no status to run on
  kUnknownStatus,       // a system common or real-time status in a track
  kEndsInsideEvent,
};

// What is wrong and where: `track` counts track chunks from 1 (0 for the
// header); `offset` is the byte of the file where reading stopped.
struct ParseResult {
  ParseCode code = ParseCode::kRead;
  uint32_t track = 0;
  uint32_t offset = 0;
  bool ok() const { return code == ParseCode::kRead; }
};

// A bound on any file's length in time, so ticks never overflow.
inline constexpr int64_t kMaxTick = int64_t{1} << 40;

// Reads `bytes` into `song`. Chunks other than MTrk are skipped; reading
// stops after the tracks the header declares. Running status is followed
// and ends at a system exclusive message. On a fault `song` keeps what was
// read before it.
ParseResult parse(std::string_view bytes, Song& song);

}  // namespace zelvo::midi
