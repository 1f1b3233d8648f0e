// Compositions written by HTML editors, edited through the tables model:
// each edit against the file it gives, and what some files show
// (tests/data/composition/any_html.txt),
// and a round trip for each editor's file of the intake scenarios: the
// tables read as the hand-written composition's, a set keeps the file's
// markup, and the edited file reads as the hand-written one edited alike.
#include <gtest/gtest.h>

#include <sstream>

#include "composition/any_html.h"
#include "composition/compile_check.h"
#include "composition/grid.h"
#include "composition/operations.h"
#include "support/cases.h"
#include "support/files.h"
#include "support/scenario_inputs.h"

namespace zelvo::test {
namespace {

using composition::Document;

std::string run_edit(const Case& c) {
  Document document = composition::read_any_html(c.files.at(0).second);
  if (c.call.at(0) == "show") return composition::grid_text(document);
  std::string text = c.call.size() > 4 ? c.call[4] : "";
  for (char& ch : text) ch = ch == '_' ? ' ' : ch;
  if (!composition::set_cell(document, std::stoi(c.call.at(1)), std::stoi(c.call.at(2)), std::stoi(c.call.at(3)),
                            text)
           .ok()) {
    return "no such cell\n";
  }
  std::string bytes;
  return composition::write_in_place(document, bytes) ? bytes : "not in place\n";
}

TEST(AnyHtml, EditsKeepTheMarkupAroundTheText) { check_cases(test_data("composition/any_html.txt"), run_edit); }

std::string grid_of(const std::string& html) { return composition::grid_text(composition::read_any_html(html)); }

TEST(AnyHtml, EveryEditorsFileRoundTrips) {
  const std::string hand = input_files(test_data("scenarios/Intake.HandLayout")).at("incom.htm");
  Document hand_edited = composition::read_any_html(hand);
  ASSERT_TRUE(composition::set_cell(hand_edited, 1, 2, 1, "60+nrand(12)+(20*High)").ok());
  const std::vector<std::string> editors = table_rows("intake/editor_scenarios.txt", 5);
  EXPECT_EQ(editors.size(), 5u);
  for (const std::string& line : editors) {
    const std::string name = line.substr(0, line.find(' '));
    const std::string html = input_files(test_data("scenarios/" + name)).at("incom.htm");
    EXPECT_EQ(grid_of(html), grid_of(hand)) << name << ": the tables as the composer reads them";
    Document document = composition::read_any_html(html);
    ASSERT_TRUE(composition::set_cell(document, 1, 2, 1, "60+nrand(12)+(20*High)").ok()) << name;
    std::string edited;
    ASSERT_TRUE(composition::write_in_place(document, edited)) << name;
    EXPECT_EQ(edited.size(), html.size()) << name << ": only the one digit changes";
    EXPECT_EQ(grid_of(edited), composition::grid_text(hand_edited)) << name;
    EXPECT_TRUE(composition::compile_document(composition::read_any_html(edited)).ok()) << name;
  }
}

TEST(AnyHtml, AnExpressionThatDoesNotCompileBreaksThePiece) {
  const std::string hand = input_files(test_data("scenarios/Intake.HandLayout")).at("incom.htm");
  const Document before = composition::read_any_html(hand);
  Document after = before;
  ASSERT_TRUE(composition::set_cell(after, 1, 2, 1, "60+nrand(12").ok());
  std::string error;
  EXPECT_TRUE(composition::edit_breaks_piece(before, after, 0, error));
  EXPECT_EQ(error, "Error: wrong parentheses number in table TCAL, row 2, column 1");
  // Broken already the same way: the edit breaks nothing more.
  EXPECT_FALSE(composition::edit_breaks_piece(after, after, 0, error));
}

}  // namespace
}  // namespace zelvo::test
