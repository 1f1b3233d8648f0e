#include "roll/piano_roll.h"

#include <algorithm>

namespace zelvo::roll {

namespace {

constexpr int32_t kDefaultTempo = 500000;  // microseconds a quarter: 120 a minute

void add_bars(const midi::Timeline& song, PianoRoll& roll) {
  // Four quarters a bar until the first time signature.
  int64_t bar_length = 4 * int64_t{song.division};
  int64_t bar_start = 0;
  int32_t number = 1;
  size_t next = 0;
  uint8_t numerator = 4;
  uint8_t exponent = 2;
  bool changes = false;
  while (bar_start <= roll.end_tick && roll.bars.size() < kMaxBarLines) {
    // A time signature inside the bar before it starts a new bar there.
    const uint8_t previous_numerator = numerator;
    const uint8_t previous_exponent = exponent;
    while (next < song.events.size() && song.events[next].tick <= bar_start) {
      const midi::TimelineEvent& event = song.events[next++];
      if (event.kind != midi::EventKind::kTimeSignature) continue;
      bar_length = std::max<int64_t>(1, 4 * int64_t{song.division} * event.data1 >> event.data2);
      numerator = event.data1;
      exponent = event.data2;
    }
    const bool new_meter = numerator != previous_numerator || exponent != previous_exponent;
    changes = changes || (new_meter && number > 1);
    const bool shown = new_meter || number == 1;
    roll.bars.push_back({bar_start, number++, shown ? numerator : uint8_t{0}, shown ? exponent : uint8_t{0}});
    int64_t bar_end = bar_start + bar_length;
    for (size_t k = next; k < song.events.size() && song.events[k].tick < bar_end; ++k) {
      if (song.events[k].kind == midi::EventKind::kTimeSignature) {
        bar_end = song.events[k].tick;
        break;
      }
    }
    bar_start = bar_end;
  }
  // A song in one meter shows none: its bars tell it.
  if (!changes) {
    for (BarLine& bar : roll.bars) bar.numerator = bar.denominator_exponent = 0;
  }
}

}  // namespace

PianoRoll make_piano_roll(const midi::Timeline& song) {
  PianoRoll roll;
  roll.division = song.division;
  roll.end_tick = song.end_tick;
  // Per channel and pitch the notes still sounding, earliest first: a queue
  // kept as a vector and the index of its head.
  std::vector<std::vector<size_t>> sounding(16 * 128);
  std::vector<size_t> head(16 * 128, 0);
  for (const midi::TimelineEvent& event : song.events) {
    if (event.kind != midi::EventKind::kNoteOn && event.kind != midi::EventKind::kNoteOff) continue;
    const size_t key = event.channel * 128u + event.data1;
    std::vector<size_t>& open = sounding[key];
    if (event.kind == midi::EventKind::kNoteOff) {
      if (head[key] == open.size()) continue;
      roll.notes[open[head[key]++]].end = event.tick;
      if (head[key] == open.size()) {
        open.clear();
        head[key] = 0;
      }
      continue;
    }
    RollNote note;
    note.start = event.tick;
    note.end = song.end_tick;
    note.channel = event.channel;
    note.pitch = event.data1;
    note.velocity = event.data2;
    open.push_back(roll.notes.size());
    roll.notes.push_back(note);
  }
  if (!roll.notes.empty()) {
    roll.lowest = 127;
    roll.highest = 0;
  }
  for (const RollNote& note : roll.notes) {
    roll.channels |= static_cast<uint16_t>(1u << note.channel);
    roll.lowest = std::min(roll.lowest, note.pitch);
    roll.highest = std::max(roll.highest, note.pitch);
  }
  add_bars(song, roll);
  return roll;
}

TempoMap::TempoMap(const midi::Timeline& song) {
  const double division = song.division > 0 ? song.division : 1;
  segments_.push_back({0, 0.0, kDefaultTempo / 1e6 / division});
  for (const midi::TimelineEvent& event : song.events) {
    if (event.kind != midi::EventKind::kTempo) continue;
    const Segment& last = segments_.back();
    const double start = last.start_seconds + static_cast<double>(event.tick - last.tick) * last.seconds_per_tick;
    const Segment segment{event.tick, start, event.value / 1e6 / division};
    if (event.tick == last.tick) {
      segments_.back() = segment;
    } else {
      segments_.push_back(segment);
    }
  }
}

double TempoMap::seconds(int64_t tick) const {
  auto after = std::upper_bound(segments_.begin(), segments_.end(), tick,
                                [](int64_t t, const Segment& s) { return t < s.tick; });
  const Segment& s = *(after - 1);
  return s.start_seconds + static_cast<double>(tick - s.tick) * s.seconds_per_tick;
}

int64_t TempoMap::tick_at(double seconds) const {
  auto after = std::upper_bound(segments_.begin(), segments_.end(), seconds,
                                [](double t, const Segment& s) { return t < s.start_seconds; });
  const Segment& s = *(after == segments_.begin() ? after : after - 1);
  return s.tick + static_cast<int64_t>((seconds - s.start_seconds) / s.seconds_per_tick);
}

}  // namespace zelvo::roll
