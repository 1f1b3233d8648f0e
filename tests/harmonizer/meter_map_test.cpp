// The meter map over the table of cases in data/harmonizer/meter_cases.txt.
// A case is a script, one operation a line, each answered on its line:
//   clicks N             clicks per sixteenth (256 unless given)
//   first BEATS TYPE     set_first_meter
//   change BAR BEATS TYPE  add_meter_change
//   changes N            N changes from bar 2, the last one's answer
//   bar BAR              bar_start
//   at CLICKS            position_at (bar and click)
//   meter BAR            the beats of the bar's meter and their clicks
//   weight BAR CLICK     the engine's metric weight
//   differs              first_meter_difference with the settings kept by `keep`
//   keep                 keeps the settings as they are
//   part / time MEASURE BEATS TYPE / finish   a MeterReading, as the
//                        MusicXML reader feeds it part by part
#include <memory>
#include <sstream>
#include <string>

#include "engine/bar_time.h"
#include "engine/context.h"
#include "engine/tone_rules.h"
#include "harmonizer/meter_reading.h"
#include "support/cases.h"

namespace zelvo::harmonizer {
namespace {

const char* problem_name(engine::MeterProblem problem) {
  switch (problem) {
    case engine::MeterProblem::kNone: return "ok";
    case engine::MeterProblem::kTooMany: return "too many";
    case engine::MeterProblem::kOutOfOrder: return "out of order";
    case engine::MeterProblem::kUnusual: return "unusual";
  }
  return "?";
}

const char* reading_name(MeterReading::Problem problem) {
  switch (problem) {
    case MeterReading::Problem::kNone: return "ok";
    case MeterReading::Problem::kPartsDiffer: return "parts differ";
    case MeterReading::Problem::kTooMany: return "too many";
    case MeterReading::Problem::kOutOfOrder: return "out of order";
    case MeterReading::Problem::kUnusual: return "unusual";
  }
  return "?";
}

std::string meters_text(const engine::TimeSettings& time) {
  std::string text = std::to_string(time.beats_per_bar) + "/" + std::to_string(time.beat_unit) +
                     " beat " + std::to_string(time.clicks_per_beat);
  for (int32_t k = 0; k < time.meters.count; ++k) {
    const engine::MeterChange& c = time.meters.changes[k];
    if (k >= 3 && k + 2 < time.meters.count) {  // long maps: the ends tell enough
      if (k == 3) text += " ...";
      continue;
    }
    text += ", bar " + std::to_string(c.bar) + " " + std::to_string(c.beats) + "/" +
            std::to_string(c.beat_type) + " from " + std::to_string(c.start);
  }
  return text + " (" + std::to_string(time.meters.count) + " changes)";
}

std::string run_case(const test::Case& c) {
  engine::HarmonizerSettings settings;
  engine::TimeSettings kept;
  auto state = std::make_unique<engine::EngineState>();
  auto reading = std::make_unique<MeterReading>();
  engine::TimeSettings& time = settings.time;
  std::string out;
  std::istringstream script(c.files.at(0).second);
  for (std::string line; std::getline(script, line);) {
    std::istringstream words(line);
    std::string op;
    words >> op;
    int64_t a = 0, b = 0, d = 0;
    words >> a >> b >> d;
    std::string answer;
    if (op == "clicks") {
      time.clicks_per_sixteenth = static_cast<int32_t>(a);
      time.clicks_per_beat = static_cast<int32_t>(4 * a);
    } else if (op == "first") {
      answer = problem_name(engine::set_first_meter(time, static_cast<int32_t>(a), static_cast<int32_t>(b),
                                                    int64_t{16} * time.clicks_per_sixteenth));
    } else if (op == "change") {
      answer = problem_name(engine::add_meter_change(time, static_cast<int32_t>(a), static_cast<int32_t>(b),
                                                     static_cast<int32_t>(d), int64_t{16} * time.clicks_per_sixteenth));
    } else if (op == "bar") {
      answer = std::to_string(engine::bar_start(time, a));
    } else if (op == "at") {
      const engine::BarPosition p = engine::position_at(time, a);
      answer = "bar " + std::to_string(p.bar) + " click " + std::to_string(p.click);
    } else if (op == "meter") {
      const engine::MeterChange* change = engine::meter_at(time, a);
      answer = std::to_string(change != nullptr ? change->beats : time.beats_per_bar) + " beats of " +
               std::to_string(change != nullptr ? change->beat_clicks : time.clicks_per_beat);
    } else if (op == "weight") {
      base::QuietLines lines;
      const engine::Engine engine(*state, settings, lines, nullptr);
      answer = std::to_string(engine::metric_weight(engine, static_cast<int32_t>(a), static_cast<int32_t>(b)));
    } else if (op == "keep") {
      kept = time;
    } else if (op == "differs") {
      answer = std::to_string(engine::first_meter_difference(kept, time));
    } else if (op == "part") {
      reading->start_part();
    } else if (op == "time") {
      reading->time_signature(static_cast<int32_t>(a), static_cast<int32_t>(b), static_cast<int32_t>(d));
    } else if (op == "finish") {
      int32_t measure = 0;
      answer = reading_name(reading->finish(time, true, measure));
      answer += " measure " + std::to_string(measure);
      reading = std::make_unique<MeterReading>();
    } else if (op == "map") {
      answer = meters_text(time);
    } else if (op == "changes") {
      // changes N: N changes from bar 2 on, 3/4 and 4/4 in turn; the last answers.
      engine::MeterProblem last = engine::MeterProblem::kNone;
      for (int64_t k = 0; k < a; ++k) {
        last = engine::add_meter_change(time, static_cast<int32_t>(2 + k), k % 2 == 0 ? 3 : 4, 4,
                                        int64_t{16} * time.clicks_per_sixteenth);
      }
      answer = problem_name(last);
    } else if (op == "repeat") {
      // repeat N BEATS_A BEATS_B: N time signatures of part 1, measure by
      // measure from 1, alternating A/4 and B/4.
      for (int64_t m = 1; m <= a; ++m) {
        reading->time_signature(static_cast<int32_t>(m), static_cast<int32_t>(m % 2 == 1 ? b : d), 4);
      }
    } else {
      answer = "unknown operation";
    }
    out += line + (answer.empty() ? "" : " -> " + answer) + "\n";
  }
  return out;
}

TEST(MeterMapCasesTest, EveryCaseAsRecorded) {
  test::check_cases(test::test_data("harmonizer/meter_cases.txt"), run_case);
}

}  // namespace
}  // namespace zelvo::harmonizer
