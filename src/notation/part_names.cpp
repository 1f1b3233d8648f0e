#include "notation/part_names.h"

#include <array>
#include <set>
#include <string_view>

#include "notation/general_midi.h"

namespace zelvo::notation {

namespace {

// The byte count of the UTF-8 sequence at `at`, 0 when it is none.
size_t utf8_length(const std::string& text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(at);
  const size_t length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

std::string as_utf8(const std::string& bytes) {
  bool valid = true;
  for (size_t at = 0; at < bytes.size() && valid;) {
    const size_t length = static_cast<uint8_t>(bytes[at]) < 0x80 ? 1 : utf8_length(bytes, at);
    valid = length > 0;
    at += length;
  }
  std::string text;
  for (const char c : bytes) {
    const uint8_t byte = static_cast<uint8_t>(c);
    if (byte < 0x20 || byte == 0x7F) continue;
    if (valid || byte < 0x80) {
      text += c;
    } else if (byte >= 0xA0) {  // Latin-1 and Windows-1252 agree from here
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  while (!text.empty() && text.front() == ' ') text.erase(text.begin());
  return text;
}

std::string own_name(const MidiNotes& midi, int channel) { return as_utf8(midi.names[static_cast<size_t>(channel & 15)]); }

// Whether another channel with notes has the name `name` of its own.
bool name_shared(const MidiNotes& midi, int channel, const std::string& name) {
  std::array<bool, 16> used{};
  for (const SoundingNote& note : midi.notes) used[static_cast<size_t>(note.channel & 15)] = true;
  for (int other = 0; other < 16; ++other) {
    if (other != (channel & 15) && used[static_cast<size_t>(other)] && own_name(midi, other) == name) return true;
  }
  return false;
}

// The first number in `id` ("P3" -> 3), 0 for none, as the harmonizer reads
// a part's number from its id.
int id_number(std::string_view id) {
  size_t at = id.find_first_of("0123456789");
  int number = 0;
  for (; at < id.size() && id[at] >= '0' && id[at] <= '9' && number <= 16; ++at) number = number * 10 + (id[at] - '0');
  return number;
}

}  // namespace

std::string part_name(const MidiNotes& midi, int channel) {
  const std::string channel_mark = "Ch. " + std::to_string((channel & 15) + 1) + " ";
  const std::string named = own_name(midi, channel);
  if (!named.empty()) return name_shared(midi, channel, named) ? channel_mark + named : named;
  if (channel == kDrumChannel) return channel_mark + "Drums";
  return channel_mark + instrument_name(midi.programs[static_cast<size_t>(channel & 15)]);
}

void read_score_part_names(const pugi::xml_document& score, MidiNotes& midi) {
  pugi::xml_node root = score.child("score-partwise");
  if (!root) root = score.child("score-timewise");
  for (const pugi::xml_node part : root.child("part-list").children("score-part")) {
    const int number = id_number(part.attribute("id").value());
    const std::string name = part.child("part-name").text().get();
    if (number < 1 || number > 16 || as_utf8(name).empty()) continue;
    midi.names[static_cast<size_t>(number - 1)] = name;
  }
}

std::string drum_id(int channel, int key) {
  return "P" + std::to_string(channel + 1) + "-I" + std::to_string(key + 1);
}

void append_named_part(pugi::xml_node list, const MidiNotes& midi, int channel) {
  const std::string id = "P" + std::to_string(channel + 1);
  pugi::xml_node part = list.append_child("score-part");
  part.append_attribute("id").set_value(id.c_str());
  part.append_child("part-name").text().set(part_name(midi, channel).c_str());
  if (channel == kDrumChannel) {
    std::set<int> keys;
    for (const SoundingNote& note : midi.notes) {
      if (note.channel == channel) keys.insert(note.pitch);
    }
    for (const int key : keys) {
      pugi::xml_node instrument = part.append_child("score-instrument");
      instrument.append_attribute("id").set_value(drum_id(channel, key).c_str());
      instrument.append_child("instrument-name").text().set(drum_place(key).name);
    }
    for (const int key : keys) {
      pugi::xml_node sound = part.append_child("midi-instrument");
      sound.append_attribute("id").set_value(drum_id(channel, key).c_str());
      sound.append_child("midi-channel").text().set(channel + 1);
      sound.append_child("midi-unpitched").text().set(key + 1);
    }
    return;
  }
  const std::string instrument_id = id + "-I1";
  const int program = std::max(0, midi.programs[static_cast<size_t>(channel)]);
  pugi::xml_node instrument = part.append_child("score-instrument");
  instrument.append_attribute("id").set_value(instrument_id.c_str());
  instrument.append_child("instrument-name").text().set(instrument_name(program));
  pugi::xml_node sound = part.append_child("midi-instrument");
  sound.append_attribute("id").set_value(instrument_id.c_str());
  sound.append_child("midi-channel").text().set(channel + 1);
  sound.append_child("midi-program").text().set(program + 1);
}

}  // namespace zelvo::notation
