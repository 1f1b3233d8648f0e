#pragma once

#include <cstdint>

// The Standard MIDI File that both engines write and the harmonizer reads
// back: format 0, one track, all numbers big-endian.
//   offset  0  "MThd" 00000006 <format 0000> <tracks 0001> <division>
//   offset 14  "MTrk" <track length, written as 0 and patched at the end>
//   offset 22  00 FF 58 04 <numerator> <denominator exponent> 18 08
//   offset 30  00 FF 51 03 <microseconds per quarter note, 24 bits>
//   offset 37  per event: <delta, variable length> <90 + channel> <note> <velocity>
//   last 4     00 FF 2F 00
// Every event carries its own status byte; a note-off is a note-on with
// velocity 0.
namespace zelvo::midi {

inline constexpr char kHeaderId[4] = {'M', 'T', 'h', 'd'};
inline constexpr char kTrackId[4] = {'M', 'T', 'r', 'k'};
constexpr uint32_t kHeaderLength = 6;
constexpr uint32_t kFormat0 = 0;
constexpr uint32_t kFormatAt = 8;
constexpr uint32_t kDivisionAt = 12;
constexpr int32_t kHeaderChunkSize = 14;
// The track length counts the bytes after the track chunk's type and length.
constexpr int32_t kTrackDataStart = kHeaderChunkSize + 8;

constexpr uint8_t kMetaEvent = 0xFF;
constexpr uint8_t kMetaTempo = 0x51;
constexpr uint8_t kMetaTimeSignature = 0x58;
constexpr uint8_t kMetaKeySignature = 0x59;
constexpr uint8_t kMetaEndOfTrack = 0x2F;
constexpr uint8_t kSystemExclusive = 0xF0;
constexpr uint8_t kEndOfExclusive = 0xF7;
constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kProgramChange = 0xC0;
constexpr uint8_t kChannelPressure = 0xD0;
constexpr uint8_t kStatusBit = 0x80;

// 24 MIDI clocks per metronome click, eight 32nd notes per quarter note.
constexpr uint8_t kClocksPerClick = 0x18;
constexpr uint8_t kThirtySecondsPerQuarter = 0x08;

}  // namespace zelvo::midi
