#pragma once

#include <array>
#include <cstdint>

#include "composer/note_events.h"
#include "composer/timing.h"

namespace zelvo::composer {

// Standard MIDI File, format 0, one track:
//   "MThd" 00000006 0000 0001 <division: 4 * clicks-semic>
//   "MTrk" <track length, patched at the end>
//   00 FF 58 04 <compas-num> <den exponent> 18 08     time signature
//   00 FF 51 03 <60000000 / tempo, 24 bits>          tempo
//   per event: <delta, variable length> <90 + Inst-1> <Note> <Vel>
//   00 FF 2F 00                                        end of track
// Every event has its own status byte; a note-off is a note-on with velocity 0.
constexpr int32_t kHeaderChunkSize = 14;
constexpr int32_t kTrackLengthOffset = 18;
constexpr int32_t kMaxEventBytes = 4 + 3;
constexpr int32_t kMidiImageCapacity = 22 + 8 + 7 + kMaxEvents * kMaxEventBytes + 4;

// The bytes of a MIDI file, built whole in memory before they go to disk.
struct MidiImage {
  std::array<uint8_t, kMidiImageCapacity> bytes;
  int32_t size;
};

struct MidiEncodeResult {
  bool ok;
  int64_t bad_delta;  // when !ok: the delta time beyond a four-byte quantity
};

// Encodes the first table.count events, which must be sorted by time
// (times filled by compute_times). Fails only on a delta time that a MIDI
// variable-length quantity cannot hold.
MidiEncodeResult encode_midi_file(const NoteTable& table, const ComposerTiming& timing, MidiImage& image);

}  // namespace zelvo::composer
