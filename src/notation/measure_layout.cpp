#include "notation/measure_layout.h"

#include <algorithm>
#include <limits>

namespace zelvo::notation {

namespace {

int64_t bar_ticks(const TimeSignature& meter, int division) {
  return std::max<int64_t>(1, int64_t{meter.beats} * division * 4 / std::max(meter.beat_type, 1));
}

}  // namespace

bool lay_out_measures(const MidiNotes& midi, int64_t end, std::vector<Measure>& measures) {
  measures.clear();
  static const std::vector<TimeSignature> kCommonTime{{0, 4, 4}};
  const std::vector<TimeSignature>& meters = midi.meters.empty() ? kCommonTime : midi.meters;
  size_t meter = 0;
  size_t key = 0;
  int64_t position = 0;
  while (measures.empty() || position < end) {
    if (static_cast<int64_t>(measures.size()) >= kMaxMeasures) return false;
    while (meter + 1 < meters.size() && meters[meter + 1].tick <= position) ++meter;
    const int64_t next = meter + 1 < meters.size() ? meters[meter + 1].tick : std::numeric_limits<int64_t>::max();
    const int64_t length = std::min(bar_ticks(meters[meter], midi.division), next - position);
    while (key + 1 < midi.keys.size() && midi.keys[key + 1].tick < position + length) ++key;
    Measure measure{position, length, meters[meter].beats, meters[meter].beat_type,
                    midi.keys.empty() ? Key{} : midi.keys[key].key, true, true};
    if (!measures.empty()) {
      const Measure& before = measures.back();
      measure.time_shown = before.beats != measure.beats || before.beat_type != measure.beat_type;
      measure.key_shown = !(before.key == measure.key);
    }
    measures.push_back(measure);
    position += length;
  }
  return true;
}

}  // namespace zelvo::notation
