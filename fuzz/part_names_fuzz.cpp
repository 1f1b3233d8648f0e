// A score's part list read as the names of the channels its parts sound
// on, and every channel's part name made of them: any bytes, any ids, any
// names, in any encoding.
#include <cstddef>
#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "notation/midi_notation.h"
#include "notation/part_names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo::notation;
  if (size > 8192) return 0;
  pugi::xml_document score;
  if (!score.load_buffer(data, size)) return 0;
  MidiNotes midi;
  for (int channel = 0; channel < 16; ++channel) midi.notes.push_back({channel, 0, 96, 60});
  read_score_part_names(score, midi);
  for (int channel = 0; channel < 16; ++channel) {
    const std::string name = part_name(midi, channel);
    if (name.empty()) __builtin_trap();
    for (const char c : name) {
      if (static_cast<unsigned char>(c) < 0x20) __builtin_trap();
    }
  }
  return 0;
}
