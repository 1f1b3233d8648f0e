#include "roll_json.h"

#include <cstdio>

#include "midi/timeline.h"
#include "roll/piano_roll.h"
#include "roll/tones.h"

namespace zelvo::app {

namespace {

// Only the codec's error message needs escaping: the rest is numbers and
// the tone labels.
std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      out += escape;
    } else {
      out += c;
    }
  }
  return out + '"';
}

// Seconds to the microsecond: enough for a player, and short.
std::string seconds(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", value);
  return text;
}

}  // namespace

std::string roll_json(std::string_view midi, std::string_view tones) {
  midi::Timeline song;
  const base::Status read = midi::read_timeline(midi, song);
  if (!read.ok()) return "{\"error\":" + quoted(base::render(read.error(), base::kEnglish)) + "}";
  roll::PianoRoll roll = roll::make_piano_roll(song);
  if (!tones.empty()) roll::apply_tones(tones, roll);
  const roll::TempoMap clock(song);

  std::string json = "{\"division\":" + std::to_string(roll.division) +
                     ",\"endTick\":" + std::to_string(roll.end_tick) +
                     ",\"endSeconds\":" + seconds(clock.seconds(roll.end_tick)) +
                     ",\"events\":" + std::to_string(song.events.size()) +
                     ",\"lowest\":" + std::to_string(roll.lowest) + ",\"highest\":" + std::to_string(roll.highest) +
                     ",\"channels\":[";
  const char* comma = "";
  for (int channel = 0; channel < 16; ++channel) {
    if ((roll.channels >> channel & 1) == 0) continue;
    json += comma + std::to_string(channel);
    comma = ",";
  }
  json += "],\"notes\":[";
  comma = "";
  for (const roll::RollNote& note : roll.notes) {
    json += comma;
    json += "{\"channel\":" + std::to_string(note.channel) + ",\"pitch\":" + std::to_string(note.pitch) +
            ",\"start\":" + std::to_string(note.start) + ",\"end\":" + std::to_string(note.end) +
            ",\"velocity\":" + std::to_string(note.velocity) +
            ",\"tone\":" + quoted(roll::tone_type_label(note.tone_type)) +
            ",\"given\":" + std::to_string(note.given_pitch) +
            ",\"startSeconds\":" + seconds(clock.seconds(note.start)) +
            ",\"endSeconds\":" + seconds(clock.seconds(note.end)) + "}";
    comma = ",";
  }
  json += "],\"bars\":[";
  comma = "";
  for (const roll::BarLine& bar : roll.bars) {
    json += comma;
    json += "{\"tick\":" + std::to_string(bar.tick) + ",\"number\":" + std::to_string(bar.number) +
            ",\"seconds\":" + seconds(clock.seconds(bar.tick)) +
            ",\"numerator\":" + std::to_string(bar.numerator) +
            ",\"denominator\":" + std::to_string(bar.numerator == 0 ? 0 : 1 << bar.denominator_exponent) + "}";
    comma = ",";
  }
  json += "],\"held\":[";
  comma = "";
  for (const roll::HeldTone& held : roll.held_tones) {
    json += comma;
    json += "{\"tick\":" + std::to_string(held.tick) + ",\"channel\":" + std::to_string(held.channel) +
            ",\"pitch\":" + std::to_string(held.pitch) +
            ",\"tone\":" + quoted(roll::tone_type_label(held.tone_type)) + "}";
    comma = ",";
  }
  return json + "]}";
}

}  // namespace zelvo::app
