#pragma once

#include <cstdint>
#include <string>

#include "midi/song.h"

// The one writer of Standard MIDI Files: a Song as bytes, laid out as the
// reader of the file needs it. The engines' outco.mid and outar.mid and the
// one-track file the score intake makes of a multi-track one are all
// written here; what sets them apart is their WriteLayout.
namespace zelvo::midi {

// Where the files written differ.
struct WriteLayout {
  // A channel event with the status of the channel event just before it
  // leaves its status out. A meta event or a system exclusive message ends
  // the run.
  bool running_status = false;
  // Each track ends with the end-of-track meta event at its end_tick.
  bool end_of_track = true;
  // Delta times of any size, in as many bytes as they need. Otherwise four
  // bytes at most (kMaxVarLength), as the format defines them: a longer one
  // is refused.
  bool any_length_deltas = false;
  // The harmonizer's format-0 reading takes the meta events that open a
  // track, each with a one-byte delta, as its leading time signature and
  // tempo. So a time signature or tempo after the track's first two events
  // and before its first channel event gets a delta of two bytes or more (a
  // leading 0x80 adds nothing) and is read as a change.
  bool widen_early_changes = false;
};

// outco.mid and outar.mid: a leading time signature and tempo, then the
// notes with the changes among them.
inline constexpr WriteLayout kEngineLayout{false, true, false, true};
// The one track the score intake makes of a multi-track file: its silences
// may pass what four bytes hold (the harmonizer's reading of format 0 takes
// deltas of any length).
inline constexpr WriteLayout kMergedLayout{false, true, true, true};

enum class WriteCode : uint8_t {
  kWritten,
  kBadDelta,  // an event, or a track's end, before the event written before
              // it, or a delta past the layout's limit
};

struct WriteResult {
  WriteCode code = WriteCode::kWritten;
  int64_t bad_delta = 0;  // the delta refused
  uint32_t track = 0;     // its track, counted from 1
  bool ok() const { return code == WriteCode::kWritten; }
};

// Writes `song` as `bytes`: "MThd", header length 6, the format, the number
// of tracks and the division (16 bits each; declared_tracks and
// header_length are not used), then one MTrk chunk per track, its events in
// order, each after its delta time from the one before. A channel event is
// its status, data1 and, but for a program change or channel pressure,
// data2; a meta event FF, its type (data1), the length and bytes of its
// data; a system exclusive message F0 or F7, its data's length and bytes.
// An event whose status is below 0x80 (none that a file holds) is its data
// as it is: the engines keep a note whose channel number does not fit the
// status byte that way, byte for byte.
// On kBadDelta, `bytes` keeps what was written before the refused event,
// the length of its track chunk still 0.
// REQUIRES: format and division below 0x10000; fewer than 0x10000 tracks.
WriteResult write(const Song& song, const WriteLayout& layout, std::string& bytes);

}  // namespace zelvo::midi
