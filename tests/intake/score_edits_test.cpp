// The score edits and the layout over the table of cases in
// data/intake/score_edit_cases.txt: each case's score.xml is parsed, asked
// whether it has a pickup, edited as its call names (place_pickup,
// add_pickup_bar, drop_pickup; has_pickup asks only) and written out by
// lay_out, which "call lay_out" runs alone.
#include "intake/score_edits.h"

#include <gtest/gtest.h>

#include <string>

#include "intake/xml_layout.h"
#include "support/cases.h"

namespace zelvo::intake {
namespace {

std::string run_case(const test::Case& c) {
  pugi::xml_document score;
  if (!score.load_string(c.files.at(0).second.c_str())) return "not XML\n";
  const std::string& call = c.call.at(0);
  if (call == "lay_out") return lay_out(score);
  const std::string pickup = has_pickup(score) ? "pickup\n" : "no pickup\n";
  if (call == "has_pickup") return pickup;
  if (call == "place_pickup") place_pickup(score);
  if (call == "add_pickup_bar") add_pickup_bar(score);
  if (call == "drop_pickup") drop_pickup(score);
  return pickup + lay_out(score);
}

TEST(ScoreEdits, EveryCaseAsRecorded) {
  test::check_cases(test::test_data("intake/score_edit_cases.txt"), run_case);
}

}  // namespace
}  // namespace zelvo::intake
