#include "midi/writer.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "midi/bytes.h"

namespace zelvo::midi {

EncodeResult encode_file(const TrackSettings& settings, const TrackEvents& track, FileImage& image) {
  uint8_t* const start = image.bytes.data();
  uint8_t* out = start;
  std::memcpy(out, kHeaderId, 4);
  put_be32(out + 4, kHeaderLength);
  put_be16(out + 8, kFormat0);
  put_be16(out + 10, 1);  // one track
  put_be16(out + 12, settings.division);
  std::memcpy(out + kHeaderChunkSize, kTrackId, 4);
  put_be32(start + kTrackLengthOffset, 0);
  out = start + kTrackDataStart;

  const uint8_t time_signature[kTimeSignatureBytes] = {
      0x00, kMetaEvent, kMetaTimeSignature, 0x04, static_cast<uint8_t>(settings.numerator),
      static_cast<uint8_t>(settings.denominator_exponent), kClocksPerClick, kThirtySecondsPerQuarter};
  std::memcpy(out, time_signature, sizeof time_signature);
  out += sizeof time_signature;
  const uint8_t tempo[4] = {0x00, kMetaEvent, kMetaTempo, 0x03};
  std::memcpy(out, tempo, sizeof tempo);
  put_be24(out + 4, settings.micros_per_quarter);
  out += kTempoBytes;

  int64_t previous = 0;
  int32_t m = 0;
  const int32_t meter_count = settings.meter_count < kMaxMeterEvents ? settings.meter_count
                                                                      : kMaxMeterEvents;
  for (int32_t i = 0; i < track.count; ++i) {
    const TrackEvent& e = track.events[i];
    for (; m < meter_count && settings.meters[m].time <= e.time; ++m) {
      const MeterEvent& meter = settings.meters[m];
      if (meter.time < previous) continue;  // out of order: the notes' times hold
      if (meter.time - previous > kMaxVarLength) break;  // the note after it fails
      // Before the first note, a meta event with a one-byte delta would be
      // read back as one of the leading ones: its delta takes two bytes (a
      // leading 0x80 adds nothing).
      if (i == 0 && meter.time - previous < 0x80) *out++ = 0x80;
      out += put_var_length(out, static_cast<uint32_t>(meter.time - previous));
      previous = meter.time;
      const uint8_t signature[kTimeSignatureBytes - 1] = {
          kMetaEvent, kMetaTimeSignature, 0x04, static_cast<uint8_t>(meter.numerator),
          static_cast<uint8_t>(meter.denominator_exponent), kClocksPerClick,
          kThirtySecondsPerQuarter};
      std::memcpy(out, signature, sizeof signature);
      out += sizeof signature;
    }
    const int64_t delta = int64_t{e.time} - previous;
    if (delta < 0 || delta > kMaxVarLength) {
      image.size = static_cast<int32_t>(out - start);
      return EncodeResult{false, delta};
    }
    previous = e.time;
    out += put_var_length(out, static_cast<uint32_t>(delta));
    out[0] = static_cast<uint8_t>(kNoteOn + e.channel);
    out[1] = static_cast<uint8_t>(e.note);
    out[2] = static_cast<uint8_t>(e.velocity);
    out += 3;
  }

  const uint8_t end_of_track[kEndOfTrackBytes] = {0x00, kMetaEvent, kMetaEndOfTrack, 0x00};
  std::memcpy(out, end_of_track, sizeof end_of_track);
  out += sizeof end_of_track;
  image.size = static_cast<int32_t>(out - start);
  put_be32(start + kTrackLengthOffset, static_cast<uint32_t>(image.size - kTrackDataStart));
  return EncodeResult{true, 0};
}

WriteStatus write_file(const char* path, const FileImage& image) {
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(path, "wb"), &std::fclose);
  if (!file) return WriteStatus::kNotCreated;
  const auto size = static_cast<size_t>(image.size);
  bool ok = std::fwrite(image.bytes.data(), 1, size, file.get()) == size;
  ok = ok && std::fflush(file.get()) == 0;
  const bool closed = std::fclose(file.release()) == 0;
  return ok && closed ? WriteStatus::kWritten : WriteStatus::kNotWritten;
}

}  // namespace zelvo::midi
