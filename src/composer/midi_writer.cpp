#include "composer/midi_writer.h"

#include <cstring>

#include "console/midi_bytes.h"

namespace zelvo::composer {

using midi::kMaxVarLength;
using midi::put_be16;
using midi::put_be24;
using midi::put_be32;
using midi::put_var_length;

MidiEncodeResult encode_midi_file(const NoteTable& table, const ComposerTiming& timing, MidiImage& image) {
  uint8_t* const start = image.bytes.data();
  uint8_t* out = start;
  std::memcpy(out, "MThd", 4);
  put_be32(out + 4, 6);
  put_be16(out + 8, 0);  // format 0
  put_be16(out + 10, 1);  // one track
  put_be16(out + 12, 4u * static_cast<uint32_t>(timing.clicks_semic));
  out += kHeaderChunkSize;
  std::memcpy(out, "MTrk", 4);
  put_be32(out + 4, 0);
  out += 8;

  const uint8_t time_signature[8] = {0x00, 0xFF, 0x58, 0x04, static_cast<uint8_t>(timing.compas_num),
                                     static_cast<uint8_t>(timing.den_exponent), 0x18, 0x08};
  std::memcpy(out, time_signature, sizeof time_signature);
  out += sizeof time_signature;
  const uint8_t tempo_start[4] = {0x00, 0xFF, 0x51, 0x03};
  std::memcpy(out, tempo_start, sizeof tempo_start);
  put_be24(out + 4, static_cast<uint32_t>(60000000 / timing.tempo));
  out += 7;

  int64_t previous = 0;
  for (int32_t i = 0; i < table.count; ++i) {
    const NoteEvent& e = table.events[i];
    const int64_t delta = int64_t{table.times[i]} - previous;
    if (delta < 0 || delta > kMaxVarLength) return MidiEncodeResult{false, delta};
    previous = table.times[i];
    out += put_var_length(out, static_cast<uint32_t>(delta));
    out[0] = static_cast<uint8_t>(0x90 + (e.Inst - 1));
    out[1] = static_cast<uint8_t>(e.Note);
    out[2] = static_cast<uint8_t>(e.Vel);
    out += 3;
  }

  const uint8_t end_of_track[4] = {0x00, 0xFF, 0x2F, 0x00};
  std::memcpy(out, end_of_track, sizeof end_of_track);
  out += sizeof end_of_track;
  image.size = static_cast<int32_t>(out - start);
  put_be32(start + kTrackLengthOffset, static_cast<uint32_t>(image.size - 22));
  return MidiEncodeResult{true, 0};
}

}  // namespace zelvo::composer
