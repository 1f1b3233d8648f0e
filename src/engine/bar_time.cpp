#include "engine/bar_time.h"

namespace zelvo::engine {

namespace {

// No real bar comes near this; it keeps every bar start within 62 bits.
constexpr int64_t kMaxBarClicks = int64_t{1} << 30;
constexpr int32_t kMaxBeats = 255;        // a MIDI time signature's byte
constexpr int32_t kMaxBeatType = 64;

int64_t first_bar_clicks(const TimeSettings& time) {
  return int64_t{time.beats_per_bar} * time.clicks_per_beat;
}

// A meter the engine and a MIDI file can carry, with its beat in clicks.
bool usable(int32_t beats, int32_t beat_type, int64_t whole_clicks, int32_t& beat_clicks) {
  if (beats < 1 || beats > kMaxBeats || beat_type < 1 || beat_type > kMaxBeatType) return false;
  if ((beat_type & (beat_type - 1)) != 0 || whole_clicks <= 0) return false;
  const int64_t clicks = whole_clicks / beat_type;
  if (clicks <= 0 || clicks * beats > kMaxBarClicks) return false;
  beat_clicks = static_cast<int32_t>(clicks);
  return true;
}

}  // namespace

const MeterChange* meter_at(const TimeSettings& time, int64_t bar) {
  const MeterMap& map = time.meters;
  if (map.count == 0 || bar < map.changes[0].bar) return nullptr;
  int32_t low = 0;
  int32_t high = map.count - 1;
  while (low < high) {  // the last change at or before `bar`
    const int32_t mid = (low + high + 1) / 2;
    if (map.changes[mid].bar <= bar) {
      low = mid;
    } else {
      high = mid - 1;
    }
  }
  return &map.changes[low];
}

int64_t bar_start(const TimeSettings& time, int64_t bar) {
  const MeterChange* change = meter_at(time, bar);
  if (change == nullptr) return (bar - 1) * first_bar_clicks(time);
  return change->start + (bar - change->bar) * change->bar_clicks();
}

BarPosition position_at(const TimeSettings& time, int64_t clicks) {
  const MeterMap& map = time.meters;
  int32_t k = map.count - 1;
  while (k >= 0 && map.changes[k].start > clicks) --k;
  const int64_t origin = k < 0 ? 0 : map.changes[k].start;
  const int64_t first = k < 0 ? 1 : map.changes[k].bar;
  const int64_t length = k < 0 ? first_bar_clicks(time) : map.changes[k].bar_clicks();
  const int64_t offset = clicks - origin;
  int64_t bars = offset / length;
  if (offset % length < 0) --bars;  // before bar 1: floor, so the click stays in the bar
  return BarPosition{first + bars, offset - bars * length};
}

MeterProblem set_first_meter(TimeSettings& time, int32_t beats, int32_t beat_type,
                             int64_t whole_clicks) {
  time.meters.count = 0;
  int32_t beat_clicks = 0;
  if (!usable(beats, beat_type, whole_clicks, beat_clicks)) return MeterProblem::kUnusual;
  time.beats_per_bar = beats;
  time.beat_unit = beat_type;
  time.den_exponent = denominator_exponent(beat_type);
  time.clicks_per_beat = beat_clicks;
  return MeterProblem::kNone;
}

MeterProblem add_meter_change(TimeSettings& time, int32_t bar, int32_t beats, int32_t beat_type,
                              int64_t whole_clicks) {
  MeterMap& map = time.meters;
  const int32_t previous_bar = map.count == 0 ? 1 : map.changes[map.count - 1].bar;
  if (bar <= previous_bar) return MeterProblem::kOutOfOrder;
  if (map.count >= kMaxMeterChanges) return MeterProblem::kTooMany;
  MeterChange change;
  if (!usable(beats, beat_type, whole_clicks, change.beat_clicks)) {
    return MeterProblem::kUnusual;
  }
  change.bar = bar;
  change.beats = beats;
  change.beat_type = beat_type;
  change.den_exponent = denominator_exponent(beat_type);
  change.start = bar_start(time, bar);
  map.changes[map.count++] = change;
  return MeterProblem::kNone;
}

int64_t first_meter_difference(const TimeSettings& a, const TimeSettings& b) {
  if (a.beats_per_bar != b.beats_per_bar || a.beat_unit != b.beat_unit) return 1;
  const MeterMap& x = a.meters;
  const MeterMap& y = b.meters;
  for (int32_t k = 0; k < x.count || k < y.count; ++k) {
    if (k >= x.count) return y.changes[k].bar;
    if (k >= y.count) return x.changes[k].bar;
    const MeterChange& p = x.changes[k];
    const MeterChange& q = y.changes[k];
    if (p.bar != q.bar || p.beats != q.beats || p.beat_type != q.beat_type) {
      return p.bar < q.bar ? p.bar : q.bar;
    }
  }
  return 0;
}

}  // namespace zelvo::engine
