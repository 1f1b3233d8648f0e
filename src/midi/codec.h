#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "midi/song.h"

// The one reader of Standard MIDI Files (formats 0 and 1) for the programs
// that take any file: the piano roll, the player and the tools after them;
// the score merge, the notation and the harmonizer's reading of outco.mid
// read through it too, each accepting the departures from the format it has
// always taken (ParseOptions).
//
// Variable-length numbers are read to at most four bytes, as the format
// defines them: a fifth byte is a damaged file unless kLongNumber is
// accepted (the format-0 files that the merge of tracks hands to the
// harmonizer may carry longer deltas).
namespace zelvo::midi {

enum class ParseCode : uint8_t {
  kRead,
  kNotMidi,             // fewer than 14 bytes (4 with kFixedLayout), or no "MThd"
  kDamagedHeader,       // the header's length is below 6 or past the file's end
                        // (kFixedLayout: the file ends inside the header)
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

// Departures from the format that older readers of this program accept and
// that a lenient reading takes instead of refusing the file. Each is
// reported where it is first met in each track (track 0: the header and the
// chunk list), so a caller can refuse or accept each as its rules say.
enum class Departure : uint8_t {
  kHeaderLength,      // length below 6, or past the file's end (then no track is read):
                      // the chunks start where the length says
  kFormat,            // format 2 or above, read as format 1
  kTimeCode,          // a time code or zero division, kept as it is
  kCutChunk,          // a chunk running past the file's end is read to the end
  kTrackCount,        // the track chunks are not as many as declared: every chunk to the
                      // file's end is read
  kLongNumber,        // a variable-length number of five bytes or more; the
                      // groups beyond 32 bits are lost
  kFourthByteEnds,    // a fourth byte ends a variable-length number though its
                      // top bit says more follow (taken before kLongNumber)
  kLongTrack,         // a track longer than kMaxTick ticks
  kStatusThroughExclusive,  // running status goes on after a system exclusive message
  kUnknownStatus,     // a system common or real-time status (F1-FE but F7 and FF),
                      // read as a status with two data bytes
  kPastEndOfTrack,    // events after an end-of-track event are read, to the chunk's end
                      // (met when bytes follow the marker in its chunk)
  kDamagedTrack,      // a track ending in a fault keeps what was read (a channel
                      // event cut short too, and a delta cut short in its end tick)
                      // and reading goes on with the next chunk
  kFixedLayout,       // the file is read at the places of the layout the composer
                      // writes (file_layout.h): format and division at offsets 8 and
                      // 12, then one track from offset 22 to its end-of-track event,
                      // over its chunk's end and any chunk after it; header length,
                      // track count, chunk type and length are not read. A header
                      // cut short is read as far as it goes (kDamagedHeader at the
                      // first field it lacks, or at its end) and a track without its
                      // end-of-track event runs past the file's end
                      // (kFileEndsInsideTrack). Reported where the chunks say
                      // otherwise, or where the header is cut.
  kLeadingMetas,      // the meta events that start a track each follow a one-byte
                      // delta, any byte, that is not counted in the time; the first
                      // pair of bytes whose second is not FF starts the events read
                      // as usual. A pair cut short is kEndsAfterDelta. Reported
                      // where the leading events end, at that pair or at an
                      // end-of-track event among them: not when the track ends
                      // among them.
  kExclusiveToF7,     // a system exclusive message has no length: its bytes run to
                      // the next F7, which they take; an F7 met alone is a status
                      // as kUnknownStatus reads it
  kCutMeta,           // a meta event whose data runs past the track's end keeps the
                      // bytes there are and the track ends in kEndsInsideMeta (a
                      // leading one, read whole, is left out); an end-of-track
                      // event so cut ends its track as usual
};
inline constexpr int kDepartures = static_cast<int>(Departure::kCutMeta) + 1;

struct DepartureMet {
  Departure departure;
  uint32_t track = 0;
  uint32_t offset = 0;
  ParseCode fault = ParseCode::kRead;  // kDamagedTrack: what ended the track
};

// What is wrong and where: `track` counts track chunks from 1 (0 for the
// header); `offset` is the byte of the file where reading stopped.
struct ParseResult {
  ParseCode code = ParseCode::kRead;
  uint32_t track = 0;
  uint32_t offset = 0;
  bool ok() const { return code == ParseCode::kRead; }
  // What a lenient reading accepted (ParseOptions), in the order met.
  std::vector<DepartureMet> departures;
};

// The departures a reading accepts; none by default.
struct ParseOptions {
  uint32_t accepted = 0;
  constexpr ParseOptions& accept(Departure d) {
    accepted |= 1u << static_cast<int>(d);
    return *this;
  }
  constexpr bool accepts(Departure d) const { return (accepted & (1u << static_cast<int>(d))) != 0; }
};

// A bound on any file's length in time, so ticks never overflow.
inline constexpr int64_t kMaxTick = int64_t{1} << 40;

// Reads `bytes` into `song`. Chunks other than MTrk are skipped; reading
// stops after the tracks the header declares. Running status is followed
// and ends at a system exclusive message. On a fault `song` keeps what was
// read before it.
ParseResult parse(std::string_view bytes, Song& song);
// The same, accepting the departures `options` names.
ParseResult parse(std::string_view bytes, Song& song, const ParseOptions& options);

// True when `result` met `departure` (in `track`, or in any when 0).
bool met(const ParseResult& result, Departure departure, uint32_t track = 0);

}  // namespace zelvo::midi
