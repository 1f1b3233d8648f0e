#include "midi/reader.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "midi/file_layout.h"

namespace zelvo::midi {

namespace {

// A file read byte by byte; a byte missing past the end fails the read.
class ByteStream {
 public:
  explicit ByteStream(std::FILE* file) : file_(file) {}

  bool byte(uint8_t& out) {
    const int c = std::fgetc(file_);
    if (c == EOF) return false;
    out = static_cast<uint8_t>(c);
    return true;
  }
  bool skip(uint32_t count) {
    uint8_t ignored = 0;
    for (uint32_t k = 0; k < count; ++k) {
      if (!byte(ignored)) return false;
    }
    return true;
  }
  bool give_back(long count) { return std::fseek(file_, -count, SEEK_CUR) == 0; }

  // A variable-length quantity: 7-bit groups, bit 7 set on all but the last.
  // Groups beyond 32 bits are shifted out.
  bool var_length(uint32_t& out) {
    out = 0;
    uint8_t b = 0;
    do {
      if (!byte(b)) return false;
      out = (out << 7) | (b & 0x7F);
    } while ((b & kStatusBit) != 0);
    return true;
  }

 private:
  std::FILE* file_;
};

class Reading {
 public:
  Reading(ByteStream& in, EventSink& sink) : in_(in), sink_(sink) {}

  ReadResult run() {
    uint8_t id[4];
    for (uint8_t& b : id) {
      if (!in_.byte(b)) return ReadResult::kCannotOpen;
    }
    if (std::memcmp(id, kHeaderId, 4) != 0) return ReadResult::kNotMidi;
    uint8_t format[2];
    uint8_t division[2];
    if (!in_.skip(4) || !in_.byte(format[0]) || !in_.byte(format[1])) return ReadResult::kUnexpectedEnd;
    if (format[1] != kFormat0) return ReadResult::kNotFormat0;
    if (!in_.skip(2) || !in_.byte(division[0]) || !in_.byte(division[1])) {
      return ReadResult::kUnexpectedEnd;
    }
    sink_.division(division[0] * 256 + division[1]);
    if (!in_.skip(kTrackDataStart - kHeaderChunkSize)) return ReadResult::kUnexpectedEnd;
    bool track_ended = false;
    const ReadResult leading = leading_events(track_ended);
    if (leading != ReadResult::kRead) return leading;
    const ReadResult timed = sink_.leading_events_read(counted_);
    if (timed != ReadResult::kRead || track_ended) return timed;
    return events();
  }

 private:
  // The meta events at the start of the track, each taken as a one-byte
  // delta, 0xFF, type, length and data.
  ReadResult leading_events(bool& track_ended) {
    for (;;) {
      uint8_t pair[2];
      if (!in_.byte(pair[0]) || !in_.byte(pair[1])) return ReadResult::kUnexpectedEnd;
      if (pair[1] != kMetaEvent) {
        if (!in_.give_back(2)) return ReadResult::kUnexpectedEnd;
        return ReadResult::kRead;
      }
      uint8_t type = 0;
      uint32_t length = 0;
      if (!in_.byte(type) || !in_.var_length(length)) return ReadResult::kUnexpectedEnd;
      if (type == kMetaEndOfTrack) {
        track_ended = true;
        return ReadResult::kRead;
      }
      if (type == kMetaTempo || type == kMetaTimeSignature) {
        uint8_t data[3] = {0, 0, 0};
        const uint32_t kept = length < 3 ? length : 3;
        for (uint32_t k = 0; k < kept; ++k) {
          if (!in_.byte(data[k])) return ReadResult::kUnexpectedEnd;
        }
        if (!in_.skip(length - kept)) return ReadResult::kUnexpectedEnd;
        if (type == kMetaTempo) {
          const int32_t micros = (data[0] << 16) | (data[1] << 8) | data[2];
          if (length < 3 || micros == 0) return ReadResult::kBarOrTempo;
          sink_.tempo(micros);
        } else {
          // 2 to the power of the exponent must fit a 32-bit beat unit.
          if (length < 2 || data[1] > 30) return ReadResult::kBarOrTempo;
          sink_.time_signature(data[0], data[1]);
        }
        ++counted_;
      } else if (!in_.skip(length)) {
        return ReadResult::kUnexpectedEnd;
      }
    }
  }

  ReadResult events() {
    int32_t kind = -1;  // no running status yet
    int32_t channel = 0;
    int64_t tick = 0;
    for (;;) {
      uint32_t delta = 0;
      if (!in_.var_length(delta)) return ReadResult::kUnexpectedEnd;
      tick += delta;
      uint8_t b = 0;
      if (!in_.byte(b)) return ReadResult::kUnexpectedEnd;
      if (b == kSystemExclusive) {
        do {
          if (!in_.byte(b)) return ReadResult::kUnexpectedEnd;
        } while (b != kEndOfExclusive);
        continue;
      }
      if (b == kMetaEvent) {
        uint8_t type = 0;
        uint32_t length = 0;
        if (!in_.byte(type) || !in_.var_length(length)) return ReadResult::kUnexpectedEnd;
        if (type == kMetaEndOfTrack) return ReadResult::kRead;
        if (type == kMetaTimeSignature && length >= 2) {
          uint8_t numerator = 0;
          uint8_t exponent = 0;
          if (!in_.byte(numerator) || !in_.byte(exponent)) return ReadResult::kUnexpectedEnd;
          length -= 2;
          const ReadResult followed = sink_.later_time_signature(tick, numerator, exponent);
          if (followed != ReadResult::kRead) return followed;
        }
        if (type == kMetaTempo && length >= 3) {
          uint8_t data[3] = {0, 0, 0};
          for (uint8_t& byte : data) {
            if (!in_.byte(byte)) return ReadResult::kUnexpectedEnd;
          }
          length -= 3;
          const int32_t micros = (data[0] << 16) | (data[1] << 8) | data[2];
          if (micros > 0) sink_.later_tempo(tick, micros);
        }
        if (!in_.skip(length)) return ReadResult::kUnexpectedEnd;
        continue;
      }
      if ((b & kStatusBit) != 0) {
        kind = b & 0xF0;
        channel = (b & 0x0F) + 1;
      } else {
        if (kind < 0) return ReadResult::kNotMidi;  // data with no status to run on
        if (!in_.give_back(1)) return ReadResult::kUnexpectedEnd;
      }
      uint8_t note = 0;
      uint8_t velocity = 0;
      switch (kind) {
        case kNoteOn:
          if (!in_.byte(note) || !in_.byte(velocity)) return ReadResult::kUnexpectedEnd;
          if (velocity == 0) sink_.note_off(tick, channel, note);
          else sink_.note_on(tick, channel, note, velocity);
          break;
        case kNoteOff:
          if (!in_.byte(note) || !in_.byte(velocity)) return ReadResult::kUnexpectedEnd;
          sink_.note_off(tick, channel, note);
          break;
        case kProgramChange:
        case kChannelPressure:
          if (!in_.skip(1)) return ReadResult::kUnexpectedEnd;
          break;
        default:
          if (!in_.skip(2)) return ReadResult::kUnexpectedEnd;
          break;
      }
    }
  }

  ByteStream& in_;
  EventSink& sink_;
  int32_t counted_ = 0;
};

}  // namespace

ReadResult read_file(const char* path, EventSink& sink) {
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(path, "rb"), &std::fclose);
  return read_file(file.get(), sink);
}

ReadResult read_file(std::FILE* file, EventSink& sink) {
  if (file == nullptr) return ReadResult::kCannotOpen;
  ByteStream in(file);
  Reading reading(in, sink);
  return reading.run();
}

}  // namespace zelvo::midi
