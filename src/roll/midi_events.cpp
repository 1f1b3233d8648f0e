#include "roll/midi_events.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace zelvo::roll {

namespace {

uint32_t be(std::string_view bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

// A track's bytes with a read position; every read checks the end.
class TrackReader {
 public:
  explicit TrackReader(std::string_view bytes) : bytes_(bytes) {}
  bool done() const { return at_ >= bytes_.size(); }
  bool byte(uint8_t& out) {
    if (done()) return false;
    out = static_cast<uint8_t>(bytes_[at_++]);
    return true;
  }
  // At most four bytes, as the format allows.
  bool var_length(uint32_t& out) {
    out = 0;
    for (int i = 0; i < 4; ++i) {
      uint8_t b = 0;
      if (!byte(b)) return false;
      out = (out << 7) | (b & 0x7Fu);
      if ((b & 0x80) == 0) return true;
    }
    return false;
  }
  bool skip(uint32_t count) {
    if (count > bytes_.size() - at_) return false;
    at_ += count;
    return true;
  }
  std::string_view take(uint32_t count) {
    std::string_view part = bytes_.substr(at_, count);
    at_ += part.size();
    return part;
  }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

// Layout of a track: (delta time, event)*, where an event is a channel
// message (status optional: running status), F0/F7 length bytes, or
// FF type length bytes. FF 2F ends the track.
bool read_track(std::string_view bytes, int track, MidiSong& song, std::string& error) {
  TrackReader in(bytes);
  int64_t tick = 0;
  uint8_t running = 0;
  const std::string where = "track " + std::to_string(track);
  while (!in.done()) {
    uint32_t delta = 0;
    if (!in.var_length(delta)) {
      error = where + " ends inside a delta time";
      return false;
    }
    tick += delta;
    if (tick > kMaxTick) {
      error = where + " lasts too long";
      return false;
    }
    song.end_tick = std::max(song.end_tick, tick);
    uint8_t status = 0;
    if (!in.byte(status)) {
      error = where + " ends after a delta time";
      return false;
    }
    if (status == 0xFF) {
      uint8_t type = 0;
      uint32_t length = 0;
      if (!in.byte(type) || !in.var_length(length) || length > bytes.size()) {
        error = where + " ends inside a meta event";
        return false;
      }
      const std::string_view data = in.take(length);
      if (data.size() != length) {
        error = where + " ends inside a meta event";
        return false;
      }
      if (type == 0x2F) return true;
      MidiEvent event;
      event.tick = tick;
      if (type == 0x51 && length == 3) {
        event.kind = EventKind::kTempo;
        event.value = static_cast<int32_t>(be(data, 0, 3));
        if (event.value == 0) continue;
      } else if (type == 0x58 && length >= 2) {
        event.kind = EventKind::kTimeSignature;
        event.data1 = static_cast<uint8_t>(data[0]);
        event.data2 = static_cast<uint8_t>(data[1]);
        if (event.data1 == 0 || event.data2 > 6) continue;
      } else {
        continue;
      }
      if (song.events.size() >= kMaxEvents) {
        error = "too many events";
        return false;
      }
      song.events.push_back(event);
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {
      uint32_t length = 0;
      if (!in.var_length(length) || !in.skip(length)) {
        error = where + " ends inside a system exclusive message";
        return false;
      }
      running = 0;
      continue;
    }
    uint8_t first = 0;
    if (status < 0x80) {
      if (running == 0) {
        error = where + " has data without a status byte";
        return false;
      }
      first = status;
      status = running;
    } else if (status >= 0xF0) {
      error = where + " has an unknown status byte";
      return false;
    } else {
      running = status;
      if (!in.byte(first)) {
        error = where + " ends inside an event";
        return false;
      }
    }
    const uint8_t kind = status & 0xF0;
    uint8_t second = 0;
    if (kind != 0xC0 && kind != 0xD0 && !in.byte(second)) {
      error = where + " ends inside an event";
      return false;
    }
    MidiEvent event;
    event.tick = tick;
    event.channel = status & 0x0F;
    event.data1 = first & 0x7F;
    event.data2 = second & 0x7F;
    switch (kind) {
      case 0x80: event.kind = EventKind::kNoteOff; break;
      case 0x90: event.kind = event.data2 == 0 ? EventKind::kNoteOff : EventKind::kNoteOn; break;
      case 0xA0: event.kind = EventKind::kKeyPressure; break;
      case 0xB0: event.kind = EventKind::kController; break;
      case 0xC0: event.kind = EventKind::kProgram; break;
      case 0xD0: event.kind = EventKind::kChannelPressure; break;
      default:
        event.kind = EventKind::kPitchBend;
        event.value = event.data1 | (event.data2 << 7);
        break;
    }
    if (song.events.size() >= kMaxEvents) {
      error = "too many events";
      return false;
    }
    song.events.push_back(event);
  }
  return true;  // a track without its end marker ends with its chunk
}

}  // namespace

// Layout: "MThd" length(>=6) format tracks division, then chunks of
// type(4) length(4) bytes; the MTrk chunks are the tracks.
bool read_midi(std::string_view bytes, MidiSong& song, std::string& error) {
  song = MidiSong{};
  if (bytes.size() < 14 || bytes.substr(0, 4) != "MThd") {
    error = "not a MIDI file";
    return false;
  }
  const uint32_t header_length = be(bytes, 4, 4);
  const uint32_t format = be(bytes, 8, 2);
  const uint32_t tracks = be(bytes, 10, 2);
  const uint32_t division = be(bytes, 12, 2);
  if (header_length < 6 || header_length > bytes.size() - 8) {
    error = "not a MIDI file (damaged header)";
    return false;
  }
  if (format > 1) {
    error = "MIDI format " + std::to_string(format) + " is not supported (only 0 and 1)";
    return false;
  }
  if (division == 0 || (division & 0x8000) != 0) {
    error = "time code divisions are not supported (only ticks per quarter note)";
    return false;
  }
  song.division = static_cast<int32_t>(division);
  size_t at = 8 + header_length;
  uint32_t track = 0;
  while (track < tracks && bytes.size() - at >= 8) {
    const std::string_view type = bytes.substr(at, 4);
    const uint32_t length = be(bytes, at + 4, 4);
    at += 8;
    if (length > bytes.size() - at) {
      error = "the file ends inside track " + std::to_string(track + 1);
      return false;
    }
    if (type == "MTrk") {
      ++track;
      if (!read_track(bytes.substr(at, length), static_cast<int>(track), song, error)) return false;
    }
    at += length;
  }
  if (track < tracks) {
    error = "the file ends before track " + std::to_string(track + 1) + " of " + std::to_string(tracks);
    return false;
  }
  // Tracks were read one after another: a stable sort keeps each tick's
  // events in track order and file order.
  std::stable_sort(song.events.begin(), song.events.end(),
                   [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
  return true;
}

bool read_midi_file(const std::string& path, MidiSong& song, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!read_midi(bytes, song, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace zelvo::roll
