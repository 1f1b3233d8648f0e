#include "notation/notation_grid.h"

#include <algorithm>

#include "notation/measure_layout.h"

namespace zelvo::notation {

namespace {

// A bar of the music and where it goes on the grid.
struct BarPlace {
  int64_t start;      // ticks of the music
  int64_t length;
  int64_t to_start;   // ticks of the grid's division
  int64_t to_length;
};

class GridMap {
 public:
  GridMap(std::vector<BarPlace> bars, int from_division, int to_division, int64_t step)
      : bars_(std::move(bars)), from_(from_division), to_(to_division), step_(step) {}

  // The grid point nearest `tick` within its bar (halves round up).
  int64_t place(int64_t tick) const {
    const BarPlace& bar = bar_of(tick);
    const int64_t numerator = std::max<int64_t>(0, tick - bar.start) * to_;
    const int64_t denominator = int64_t{from_} * step_;
    const int64_t steps = (2 * numerator + denominator) / (2 * denominator);
    return bar.to_start + std::min(steps * step_, bar.to_length);
  }

  // The first bar line at or after `tick`.
  int64_t next_bar_line(int64_t tick) const {
    const BarPlace& bar = bar_of(tick);
    return tick <= bar.start ? bar.to_start : bar.to_start + bar.to_length;
  }

  // The first bar line of the music at or after `tick`.
  int64_t bar_end(int64_t tick) const {
    const BarPlace& bar = bar_of(tick);
    return tick <= bar.start ? bar.start : bar.start + bar.length;
  }

  // Whether `ticks` of the music are shorter than a step (or at most one).
  bool under_step(int64_t ticks) const { return ticks * to_ < step_ * from_; }
  bool within_step(int64_t ticks) const { return ticks * to_ <= step_ * from_; }

 private:
  const BarPlace& bar_of(int64_t tick) const {
    auto after = std::upper_bound(bars_.begin(), bars_.end(), tick,
                                  [](int64_t t, const BarPlace& bar) { return t < bar.start; });
    return after == bars_.begin() ? bars_.front() : *(after - 1);
  }

  std::vector<BarPlace> bars_;
  int from_;
  int to_;
  int64_t step_;
};

int64_t full_bar(int beats, int beat_type, int division) {
  return std::max<int64_t>(1, int64_t{beats} * division * 4 / std::max(beat_type, 1));
}

}  // namespace

bool parse_grid(std::string_view text, Grid& grid) {
  if (text == "16") grid = Grid::kSixteenth;
  else if (text == "8t") grid = Grid::kEighthTriplet;
  else if (text == "32") grid = Grid::kThirtySecond;
  else if (text == "exact") grid = Grid::kExact;
  else return false;
  return true;
}

Grid choose_grid(const MidiNotes& midi) {
  // Places within a beat in twelfths of a tick: sixteenths lie on multiples
  // of 3 beats' twelfths, triplets on multiples of 4.
  const int64_t beat = int64_t{midi.division} * 12;
  int64_t triplets = 0;
  int64_t sixteenths = 0;
  for (const SoundingNote& note : midi.notes) {
    const int64_t at = (note.start % midi.division) * 12;
    const auto distance = [&](int64_t unit) {
      const int64_t off = at % unit;
      return std::min(off, unit - off);
    };
    const int64_t to_sixteenth = distance(beat / 4);
    const int64_t to_triplet = distance(beat / 3);
    if (to_triplet < to_sixteenth) ++triplets;
    if (to_sixteenth < to_triplet) ++sixteenths;
  }
  return triplets > sixteenths ? Grid::kEighthTriplet : Grid::kSixteenth;
}

bool place_on_grid(const MidiNotes& midi, Grid grid, GridNotes& placed) {
  int division = grid == Grid::kEighthTriplet ? 6 : grid == Grid::kThirtySecond ? 8 : 4;
  int64_t step = grid == Grid::kEighthTriplet ? 2 : 1;
  // Every bar a whole number of ticks (a 64th beat needs 16 to a quarter).
  for (const TimeSignature& meter : midi.meters) {
    while ((int64_t{meter.beats} * division * 4) % std::max(meter.beat_type, 1) != 0 && division < 96) {
      division *= 2;
      step *= 2;
    }
  }
  int64_t end = 0;
  for (const SoundingNote& note : midi.notes) end = std::max(end, note.start + note.length);
  std::vector<Measure> measures;
  if (!lay_out_measures(midi, end, measures)) return false;

  std::vector<BarPlace> bars;
  int64_t to = 0;
  for (const Measure& bar : measures) {
    int64_t length = full_bar(bar.beats, bar.beat_type, division);
    if (bar.length != full_bar(bar.beats, bar.beat_type, midi.division)) {
      // A bar cut short by a change of meter: its length on the grid.
      const int64_t denominator = int64_t{midi.division} * step;
      length = (2 * bar.length * division + denominator) / (2 * denominator) * step;
    }
    bars.push_back({bar.start, bar.length, to, length});
    to += length;
  }
  const GridMap map(bars, midi.division, division, step);

  MidiNotes& out = placed.midi;
  out = MidiNotes{};
  out.division = division;
  out.tempo = midi.tempo;
  out.programs = midi.programs;
  out.names = midi.names;
  out.meters.clear();
  for (const TimeSignature& meter : midi.meters) {
    const int64_t tick = map.next_bar_line(meter.tick);
    if (!out.meters.empty() && out.meters.back().tick == tick) out.meters.pop_back();
    out.meters.push_back({tick, meter.beats, meter.beat_type});
  }
  for (const KeySignature& key : midi.keys) {
    const int64_t tick = map.next_bar_line(key.tick);
    if (!out.keys.empty() && out.keys.back().tick == tick) out.keys.pop_back();
    out.keys.push_back({tick, key.key});
  }
  for (const TempoChange& tempo : midi.tempos) {
    const int64_t tick = map.place(tempo.tick);
    if (!out.tempos.empty() && out.tempos.back().tick == tick) out.tempos.pop_back();
    out.tempos.push_back({tick, tempo.tempo});
  }

  // The onsets of each channel in time order, for the silence after a note.
  std::vector<int64_t> onsets[16];
  for (const SoundingNote& note : midi.notes) onsets[note.channel & 15].push_back(note.start);
  for (std::vector<int64_t>& list : onsets) std::sort(list.begin(), list.end());

  placed.step = step;
  placed.staccato.assign(midi.notes.size(), false);
  for (size_t i = 0; i < midi.notes.size(); ++i) {
    const SoundingNote& note = midi.notes[i];
    const std::vector<int64_t>& channel = onsets[note.channel & 15];
    const int64_t start = map.place(note.start);
    const int64_t sounding_end = note.start + note.length;
    int64_t written_end = map.place(sounding_end);
    const auto after = std::lower_bound(channel.begin(), channel.end(), sounding_end);
    const auto later = std::upper_bound(channel.begin(), channel.end(), note.start);
    // After the channel's last note, the next bar line stands for its next onset.
    const int64_t next = after != channel.end() ? *after : map.bar_end(sounding_end);
    const int64_t gap = next - sounding_end;
    if (map.under_step(gap) || (map.within_step(gap) && gap <= note.length)) written_end = map.place(next);
    if (later != channel.end() && *later < sounding_end && map.under_step(sounding_end - *later)) {
      written_end = std::min(written_end, map.place(*later));
    }
    written_end = std::max(written_end, start + step);
    out.notes.push_back(SoundingNote{note.channel, start, written_end - start, note.pitch});
    // Sounding half the written length or less (compared in the music's ticks).
    placed.staccato[i] = note.length * 2 * division <= (written_end - start) * midi.division;
  }
  return true;
}

std::string write_notation(const MidiNotes& midi, const std::vector<std::string>& lyrics, Grid grid) {
  if (grid == Grid::kExact) return write_musicxml(midi, lyrics);
  GridNotes placed;
  if (!place_on_grid(midi, grid == Grid::kChosen ? choose_grid(midi) : grid, placed)) return {};
  return write_readable_musicxml(placed.midi, lyrics, ReadableMarks{placed.step, placed.staccato});
}

}  // namespace zelvo::notation
