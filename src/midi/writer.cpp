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
  int32_t t = 0;
  const int32_t meter_count = settings.meter_count < kMaxMeterEvents ? settings.meter_count
                                                                      : kMaxMeterEvents;
  const int32_t tempo_count = settings.tempo_count < kMaxTempoEvents ? settings.tempo_count
                                                                      : kMaxTempoEvents;
  // A meta event at `time` before the note `i`; false when its delta is too
  // long (the note after it fails). One out of order is left out: the notes'
  // times hold.
  const auto put_meta = [&](int32_t i, int64_t time, const uint8_t* bytes, size_t size) {
    if (time < previous) return true;
    if (time - previous > kMaxVarLength) return false;
    // Before the first note, a meta event with a one-byte delta would be
    // read back as one of the leading ones: its delta takes two bytes (a
    // leading 0x80 adds nothing).
    if (i == 0 && time - previous < 0x80) *out++ = 0x80;
    out += put_var_length(out, static_cast<uint32_t>(time - previous));
    previous = time;
    std::memcpy(out, bytes, size);
    out += size;
    return true;
  };
  for (int32_t i = 0; i < track.count; ++i) {
    const TrackEvent& e = track.events[i];
    // The changes up to this note, in time order; a meter before a tempo of
    // its tick.
    for (;;) {
      const bool meter_due = m < meter_count && settings.meters[m].time <= e.time;
      const bool tempo_due = t < tempo_count && settings.tempos[t].time <= e.time;
      if (meter_due && (!tempo_due || settings.meters[m].time <= settings.tempos[t].time)) {
        const MeterEvent& meter = settings.meters[m++];
        const uint8_t signature[kTimeSignatureBytes - 1] = {
            kMetaEvent, kMetaTimeSignature, 0x04, static_cast<uint8_t>(meter.numerator),
            static_cast<uint8_t>(meter.denominator_exponent), kClocksPerClick,
            kThirtySecondsPerQuarter};
        if (!put_meta(i, meter.time, signature, sizeof signature)) break;
      } else if (tempo_due) {
        const TempoEvent& change = settings.tempos[t++];
        const uint32_t micros = change.micros_per_quarter;
        const uint8_t tempo_change[kTempoBytes - 1] = {
            kMetaEvent, kMetaTempo, 0x03, static_cast<uint8_t>(micros >> 16),
            static_cast<uint8_t>(micros >> 8), static_cast<uint8_t>(micros)};
        if (!put_meta(i, change.time, tempo_change, sizeof tempo_change)) break;
      } else {
        break;
      }
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
