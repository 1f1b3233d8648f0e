#include "harmonizer/midi_reader.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace zelvo::harmonizer {

namespace {

using engine::MusicNote;

// A file read byte by byte; any byte missing past the end throws the end
// result out of the reading (`ok` false).
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
    } while ((b & 0x80) != 0);
    return true;
  }

 private:
  std::FILE* file_;
};

class MidiReading {
 public:
  MidiReading(engine::MusicNoteTable& table, engine::TimeSettings& time, ByteStream& in)
      : table_(table), time_(time), in_(in) {}

  MidiResult run() {
    table_.note_count = 0;
    uint8_t id[4];
    for (uint8_t& b : id) {
      if (!in_.byte(b)) return MidiResult::kCannotOpen;
    }
    if (std::memcmp(id, "MThd", 4) != 0) return MidiResult::kNotMidi;
    uint8_t format[2];
    uint8_t division[2];
    if (!in_.skip(4) || !in_.byte(format[0]) || !in_.byte(format[1])) return MidiResult::kUnexpectedEnd;
    if (format[1] != 0) return MidiResult::kNotFormat0;
    if (!in_.skip(2) || !in_.byte(division[0]) || !in_.byte(division[1])) {
      return MidiResult::kUnexpectedEnd;
    }
    const int32_t d = division[0] * 256 + division[1];
    time_.clicks_semic = d / 4;
    if (!in_.skip(8)) return MidiResult::kUnexpectedEnd;
    bool track_ended = false;
    const MidiResult leading = leading_events(track_ended);
    if (leading != MidiResult::kRead) return leading;
    time_.clicks_parte = d * 4 / time_.compas_den;
    if (counted_ != 2) return MidiResult::kBarOrTempo;
    clicks_per_bar_ = int64_t{time_.compas_num} * time_.clicks_parte;
    if (clicks_per_bar_ <= 0) return MidiResult::kBarOrTempo;
    if (track_ended) return MidiResult::kRead;
    return events();
  }

 private:
  // The tempo and time-signature metas at the start of the track, each
  // taken as a one-byte delta, 0xFF, type, length and data.
  MidiResult leading_events(bool& track_ended) {
    for (;;) {
      uint8_t pair[2];
      if (!in_.byte(pair[0]) || !in_.byte(pair[1])) return MidiResult::kUnexpectedEnd;
      if (pair[1] != 0xFF) {
        if (!in_.give_back(2)) return MidiResult::kUnexpectedEnd;
        return MidiResult::kRead;
      }
      uint8_t type = 0;
      uint32_t length = 0;
      if (!in_.byte(type) || !in_.var_length(length)) return MidiResult::kUnexpectedEnd;
      if (type == 0x2F) {
        track_ended = true;
        return MidiResult::kRead;
      }
      if (type == 0x51 || type == 0x58) {
        uint8_t data[3] = {0, 0, 0};
        const uint32_t kept = length < 3 ? length : 3;
        for (uint32_t k = 0; k < kept; ++k) {
          if (!in_.byte(data[k])) return MidiResult::kUnexpectedEnd;
        }
        if (!in_.skip(length - kept)) return MidiResult::kUnexpectedEnd;
        if (type == 0x51) {
          const int32_t micros = (data[0] << 16) | (data[1] << 8) | data[2];
          if (length < 3 || micros == 0) return MidiResult::kBarOrTempo;
          time_.tempo = 60000000 / micros;
        } else {
          // 2 to the power of the exponent must fit the 32-bit beat unit.
          if (length < 2 || data[1] > 30) return MidiResult::kBarOrTempo;
          time_.compas_num = data[0];
          time_.den_exponent = data[1];
          time_.compas_den = 1 << data[1];
        }
        ++counted_;
      } else if (!in_.skip(length)) {
        return MidiResult::kUnexpectedEnd;
      }
    }
  }

  MidiResult events() {
    int32_t kind = -1;  // no running status yet
    int32_t channel = 0;
    for (;;) {
      uint32_t delta = 0;
      if (!in_.var_length(delta)) return MidiResult::kUnexpectedEnd;
      time_now_ += delta;
      uint8_t b = 0;
      if (!in_.byte(b)) return MidiResult::kUnexpectedEnd;
      if (b == 0xF0) {
        do {
          if (!in_.byte(b)) return MidiResult::kUnexpectedEnd;
        } while (b != 0xF7);
        continue;
      }
      if (b == 0xFF) {
        uint8_t type = 0;
        uint32_t length = 0;
        if (!in_.byte(type) || !in_.var_length(length)) return MidiResult::kUnexpectedEnd;
        if (type == 0x2F) return MidiResult::kRead;
        if (!in_.skip(length)) return MidiResult::kUnexpectedEnd;
        continue;
      }
      if ((b & 0x80) != 0) {
        kind = b & 0xF0;
        channel = (b & 0x0F) + 1;
      } else {
        if (kind < 0) return MidiResult::kNotMidi;  // data with no status to run on
        if (!in_.give_back(1)) return MidiResult::kUnexpectedEnd;
      }
      uint8_t note = 0;
      uint8_t velocity = 0;
      switch (kind) {
        case 0x90:
          if (!in_.byte(note) || !in_.byte(velocity)) return MidiResult::kUnexpectedEnd;
          if (velocity == 0) close_note(channel, note);
          else open_note(channel, note, velocity);
          break;
        case 0x80:
          if (!in_.byte(note) || !in_.byte(velocity)) return MidiResult::kUnexpectedEnd;
          close_note(channel, note);
          break;
        case 0xC0:
        case 0xD0:
          if (!in_.skip(1)) return MidiResult::kUnexpectedEnd;
          break;
        default:
          if (!in_.skip(2)) return MidiResult::kUnexpectedEnd;
          break;
      }
    }
  }

  void open_note(int32_t channel, int32_t note, int32_t velocity) {
    if (table_.note_count >= kMaxMidiNotes) return;
    MusicNote& record = table_.notes[table_.note_count];
    record.Inst = channel;
    record.Cpin = static_cast<int32_t>(time_now_ / clicks_per_bar_ + 1);
    record.Ckin = static_cast<int32_t>(time_now_ % clicks_per_bar_);
    record.Dur = 0;
    record.Note = note;
    record.Vel = velocity;
    record.tie_flags = 0;
    ++table_.note_count;
  }

  void close_note(int32_t channel, int32_t note) {
    for (int32_t i = 0; i < table_.note_count; ++i) {
      MusicNote& record = table_.notes[i];
      if (record.Inst != channel || record.Note != note || record.Dur != 0) continue;
      const int64_t start = (int64_t{record.Cpin} - 1) * clicks_per_bar_ + record.Ckin;
      record.Dur = static_cast<int32_t>(time_now_ - start);
      return;
    }
  }

  engine::MusicNoteTable& table_;
  engine::TimeSettings& time_;
  ByteStream& in_;
  int32_t counted_ = 0;
  int64_t clicks_per_bar_ = 0;
  int64_t time_now_ = 0;  // absolute tick of the event being read
};

}  // namespace

MidiResult read_midi(engine::MusicNoteTable& table, engine::TimeSettings& time,
                     const char* file_name) {
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(file_name, "rb"),
                                                         &std::fclose);
  return read_midi(table, time, file.get());
}

MidiResult read_midi(engine::MusicNoteTable& table, engine::TimeSettings& time, std::FILE* file) {
  table.note_count = 0;
  if (file == nullptr) return MidiResult::kCannotOpen;
  ByteStream in(file);
  MidiReading reading(table, time, in);
  return reading.run();
}

}  // namespace zelvo::harmonizer
