#include "harmonizer/meter_reading.h"

namespace zelvo::harmonizer {

void MeterReading::fail(Problem problem, int32_t measure) {
  if (problem_ != Problem::kNone) return;
  problem_ = problem;
  problem_measure_ = measure;
}

void MeterReading::differ(int32_t measure) {
  if (parts_differ_) return;
  parts_differ_ = true;
  differ_measure_ = measure;
}

void MeterReading::end_part() {
  if (!part_states_) return;
  if (!reference_done_) {
    reference_done_ = true;
  } else if (cursor_ < reference_count_) {
    // The part stops following: it leaves out a change the first part makes.
    differ(reference_[cursor_].measure);
  }
}

void MeterReading::start_part() {
  end_part();
  cursor_ = 0;
  part_states_ = false;
}

void MeterReading::time_signature(int32_t measure, int32_t beats, int32_t beat_type) {
  const Stated stated{measure, beats, beat_type};
  if (part_states_ && stated.same_meter(current_)) return;
  if (part_states_) changes_ = true;
  part_states_ = true;
  current_ = stated;
  if (!reference_done_) {
    if (reference_count_ > engine::kMaxMeterChanges) {
      fail(Problem::kTooMany, measure);
      return;
    }
    reference_[reference_count_++] = stated;
    return;
  }
  const bool follows = cursor_ < reference_count_ &&
                       reference_[cursor_].measure == measure &&
                       reference_[cursor_].same_meter(stated);
  if (!follows) {
    differ(measure);
    return;
  }
  ++cursor_;
}

MeterReading::Problem MeterReading::finish(engine::TimeSettings& time, bool follow,
                                           int32_t& measure) {
  end_part();
  time.meters.count = 0;
  // Parts each in one meter of their own, and files not followed, are read
  // as they always were: the last meter stated holds for all.
  if (!follow || !changes_) {
    measure = 0;
    return Problem::kNone;
  }
  if (parts_differ_) fail(Problem::kPartsDiffer, differ_measure_);
  // The first meter holds from bar 1 on: a change numbered at or before
  // the measure that states it would put that measure in the wrong meter.
  if (problem_ == Problem::kNone && reference_count_ > 1 &&
      reference_[1].measure <= reference_[0].measure) {
    fail(Problem::kOutOfOrder, reference_[1].measure);
  }
  if (problem_ == Problem::kNone && reference_count_ > 1) {
    // A whole note in clicks, as the reader takes a beat's length.
    const int64_t whole = int64_t{16} * time.clicks_per_sixteenth;
    if (engine::set_first_meter(time, reference_[0].beats, reference_[0].beat_type, whole) !=
        engine::MeterProblem::kNone) {
      fail(Problem::kUnusual, reference_[0].measure);
    }
    for (int32_t k = 1; k < reference_count_ && problem_ == Problem::kNone; ++k) {
      const Stated& s = reference_[k];
      switch (engine::add_meter_change(time, s.measure, s.beats, s.beat_type, whole)) {
        case engine::MeterProblem::kNone: break;
        case engine::MeterProblem::kTooMany: fail(Problem::kTooMany, s.measure); break;
        case engine::MeterProblem::kOutOfOrder: fail(Problem::kOutOfOrder, s.measure); break;
        case engine::MeterProblem::kUnusual: fail(Problem::kUnusual, s.measure); break;
      }
    }
  }
  if (problem_ != Problem::kNone) time.meters.count = 0;
  measure = problem_measure_;
  return problem_;
}

}  // namespace zelvo::harmonizer
