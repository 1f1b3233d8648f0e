#pragma once

#include <cstdint>

#include "engine/bar_time.h"
#include "engine/settings.h"

namespace zelvo::harmonizer {

// The time signatures a MusicXML file states, part by part. When some part
// changes meter, every part must change it where the first part that states
// one does, and once the file is read the first part's meters become the
// meter map. Parts that each keep one meter are left as they always were read,
// even when their meters differ.
class MeterReading {
 public:
  enum class Problem : int32_t { kNone, kPartsDiffer, kTooMany, kOutOfOrder, kUnusual };

  void start_part();
  void time_signature(int32_t measure, int32_t beats, int32_t beat_type);

  // Sets the first meter and the changes in `time` when the meter changes;
  // leaves `time` as it is for a file in one meter. `measure` names the
  // place of a problem.
  Problem finish(engine::TimeSettings& time, bool follow, int32_t& measure);

 private:
  struct Stated {
    int32_t measure;
    int32_t beats;
    int32_t beat_type;
    bool same_meter(const Stated& other) const {
      return beats == other.beats && beat_type == other.beat_type;
    }
  };
  void end_part();
  void fail(Problem problem, int32_t measure);
  void differ(int32_t measure);

  // The first stating part's meters, each differing from the one before.
  Stated reference_[engine::kMaxMeterChanges + 1] = {};
  int32_t reference_count_ = 0;
  bool reference_done_ = false;  // a later part is being compared with it
  int32_t cursor_ = 0;           // the current part's next meter in the reference
  bool part_states_ = false;     // the current part stated a meter
  Stated current_ = {};
  bool changes_ = false;         // some part states a second meter
  bool parts_differ_ = false;    // a part left the reference
  int32_t differ_measure_ = 0;   // where it first did
  Problem problem_ = Problem::kNone;
  int32_t problem_measure_ = 0;
};

}  // namespace zelvo::harmonizer
