#pragma once

// A Standard MIDI File as text, one line per chunk header and per event:
// the absolute time, the delta's bytes and the event's bytes in hex. Every
// byte of the file appears once, so two dumps agree exactly when the files do.
#include <cstdint>
#include <cstdio>
#include <string>

namespace zelvo::test {

inline std::string hex_bytes(const std::string& bytes, size_t from, size_t to) {
  std::string text;
  char cell[4];
  for (size_t i = from; i < to && i < bytes.size(); ++i) {
    std::snprintf(cell, sizeof cell, " %02X", static_cast<unsigned char>(bytes[i]));
    text += cell;
  }
  return text;
}

inline std::string midi_dump(const std::string& file) {
  auto byte = [&](size_t i) -> uint32_t { return i < file.size() ? static_cast<unsigned char>(file[i]) : 0; };
  auto big = [&](size_t i, int n) {
    uint32_t v = 0;
    for (int k = 0; k < n; ++k) v = v << 8 | byte(i + k);
    return v;
  };
  std::string text;
  size_t at = 0;
  while (at + 8 <= file.size()) {
    const uint32_t length = big(at + 4, 4);
    const size_t end = at + 8 + length;
    text += file.substr(at, 4) + " " + std::to_string(length) + "\n";
    at += 8;
    if (file.compare(at - 8, 4, "MTrk") != 0 || end > file.size()) {
      text += "data" + hex_bytes(file, at, end) + "\n";
      at = end;
      continue;
    }
    uint64_t time = 0;
    uint32_t status = 0;
    while (at < end) {
      const size_t start = at;
      uint64_t delta = 0;
      do delta = delta << 7 | (byte(at) & 0x7F); while (byte(at++) & 0x80 && at < end);
      time += delta;
      const size_t event = at;
      if (byte(at) & 0x80) status = byte(at++);
      if (status == 0xFF || status == 0xF0 || status == 0xF7) {
        if (status == 0xFF) ++at;
        uint32_t size = 0;
        do size = size << 7 | (byte(at) & 0x7F); while (byte(at++) & 0x80 && at < end);
        at += size;
        status = 0;
      } else {
        at += (status & 0xE0) == 0xC0 ? 1 : 2;
      }
      if (at > end) at = end;
      text += std::to_string(time) + " [" + hex_bytes(file, start, event).substr(1) + "]" +
              hex_bytes(file, event, at) + "\n";
    }
  }
  if (at < file.size()) text += "rest" + hex_bytes(file, at, file.size()) + "\n";
  return text;
}

}  // namespace zelvo::test
