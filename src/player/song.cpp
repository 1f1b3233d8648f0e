#include "player/song.h"

#include <algorithm>

namespace zelvo::player {

namespace {

// Microseconds at `tick` under the tempo steps so far (the last one in force).
int64_t micros_at(const std::vector<TempoStep>& tempo, int32_t division, int64_t tick) {
  auto step = std::upper_bound(tempo.begin(), tempo.end(), tick,
                               [](int64_t t, const TempoStep& s) { return t < s.tick; });
  --step;  // the first step is at tick 0
  const __int128 span = static_cast<__int128>(tick - step->tick) * step->micros_per_quarter;
  return step->micros + static_cast<int64_t>(span / division);
}

std::vector<TempoStep> tempo_map(const midi::Timeline& file, int32_t division) {
  std::vector<TempoStep> tempo{TempoStep{}};
  for (const midi::TimelineEvent& event : file.events) {
    if (event.kind != midi::EventKind::kTempo || event.value <= 0) continue;
    TempoStep step;
    step.tick = event.tick;
    step.micros = micros_at(tempo, division, event.tick);
    step.micros_per_quarter = event.value;
    if (tempo.back().tick == step.tick) {
      tempo.back().micros_per_quarter = step.micros_per_quarter;  // the later one at a tick wins
    } else {
      tempo.push_back(step);
    }
  }
  return tempo;
}

// The channel message of an event, as it goes over the wire.
bool message_of(const midi::TimelineEvent& event, TimedMessage& message) {
  const uint8_t channel = event.channel & 0x0F;
  auto set = [&](uint8_t status, uint8_t a, uint8_t b, uint8_t size) {
    message.bytes[0] = static_cast<uint8_t>(status | channel);
    message.bytes[1] = a & 0x7F;
    message.bytes[2] = b & 0x7F;
    message.size = size;
    return true;
  };
  switch (event.kind) {
    case midi::EventKind::kNoteOn: return set(0x90, event.data1, event.data2, 3);
    case midi::EventKind::kNoteOff: return set(0x80, event.data1, 0, 3);
    case midi::EventKind::kKeyPressure: return set(0xA0, event.data1, event.data2, 3);
    case midi::EventKind::kController: return set(0xB0, event.data1, event.data2, 3);
    case midi::EventKind::kProgram: return set(0xC0, event.data1, 0, 2);
    case midi::EventKind::kChannelPressure: return set(0xD0, event.data1, 0, 2);
    case midi::EventKind::kPitchBend:
      return set(0xE0, static_cast<uint8_t>(event.value & 0x7F), static_cast<uint8_t>(event.value >> 7), 3);
    case midi::EventKind::kTempo:
    case midi::EventKind::kTimeSignature:
    case midi::EventKind::kKeySignature:
    case midi::EventKind::kSystem: return false;
  }
  return false;
}

}  // namespace

int64_t Song::tick_at(int64_t micros) const {
  auto step = std::upper_bound(tempo.begin(), tempo.end(), micros,
                               [](int64_t m, const TempoStep& s) { return m < s.micros; });
  if (step != tempo.begin()) --step;
  const __int128 span = static_cast<__int128>(micros - step->micros) * division;
  return step->tick + static_cast<int64_t>(span / step->micros_per_quarter);
}

int64_t Song::micros_at_tick(int64_t tick) const { return micros_at(tempo, division, std::max<int64_t>(0, tick)); }

int Song::bar_at(int64_t micros) const {
  auto line = std::upper_bound(bar_lines.begin(), bar_lines.end(), micros);
  const int bar = static_cast<int>(line - bar_lines.begin());
  return std::clamp(bar, 1, std::max(1, bar_count()));
}

int64_t Song::next_beat(int64_t micros) const {
  if (micros <= 0 || bar_beats.empty()) return 0;
  if (micros > bar_lines.back()) return bar_lines.back();
  const int bar = bar_at(micros);
  const int64_t start = bar_ticks[bar - 1];
  const int64_t length = bar_ticks[bar] - start;
  const int beats = std::max<int>(1, bar_beats[bar - 1]);
  for (int beat = 0; beat < beats; ++beat) {
    const int64_t line = beat == 0 ? bar_lines[bar - 1] : micros_at_tick(start + length * beat / beats);
    if (line >= micros) return line;
  }
  return bar_lines[bar];
}

Song make_song(const midi::Timeline& file) {
  Song song;
  song.division = file.division > 0 ? file.division : 480;
  song.tempo = tempo_map(file, song.division);
  for (const midi::TimelineEvent& event : file.events) {
    TimedMessage message;
    if (!message_of(event, message)) continue;
    message.micros = micros_at(song.tempo, song.division, event.tick);
    song.messages.push_back(message);
  }
  song.end_micros = micros_at(song.tempo, song.division, file.end_tick);

  // Bar lines in ticks, then in time; the meter in force at each bar line.
  int64_t bar_ticks = int64_t{4} * song.division;
  uint8_t beats = 4;
  size_t next_meter = 0;
  int64_t tick = 0;
  song.bar_lines.push_back(0);
  song.bar_ticks.push_back(0);
  while (tick < file.end_tick && song.bar_lines.size() <= kMaxBars) {
    for (; next_meter < file.events.size(); ++next_meter) {
      const midi::TimelineEvent& event = file.events[next_meter];
      if (event.tick > tick) break;
      if (event.kind != midi::EventKind::kTimeSignature || event.data1 == 0 || event.data2 > 6) continue;
      bar_ticks = std::max<int64_t>(1, int64_t{4} * song.division * event.data1 >> event.data2);
      beats = static_cast<uint8_t>(event.data1);
    }
    tick += bar_ticks;
    song.bar_lines.push_back(micros_at(song.tempo, song.division, tick));
    song.bar_ticks.push_back(tick);
    song.bar_beats.push_back(beats);
  }
  if (song.bar_lines.size() == 1) {
    song.bar_lines.push_back(micros_at(song.tempo, song.division, bar_ticks));  // an empty song: one bar
    song.bar_ticks.push_back(bar_ticks);
    song.bar_beats.push_back(beats);
  } else if (tick < file.end_tick) {
    song.bar_lines.back() = song.end_micros;  // cut at kMaxBars: the last bar runs to the end
    song.bar_ticks.back() = file.end_tick;
  }
  return song;
}

base::Status load_song(const std::string& path, Song& song) {
  midi::Timeline file;
  base::Status read = midi::read_timeline_file(path, file);
  if (read.ok()) song = make_song(file);
  return read;
}

}  // namespace zelvo::player
