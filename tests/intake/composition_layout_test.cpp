// The layout step over the table of cases in data/intake/layout_cases.txt
// (each document and what it is laid out to, or "unchanged"), and over the
// documents the project ships: every example, the template and every
// recorded scenario read as they are, except the scenarios listed in
// data/intake/editor_scenarios.txt, which must also compose exactly like
// the hand-written document they name.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "intake/composition_layout.h"
#include "support/cases.h"
#include "support/scenario_inputs.h"

namespace zelvo::intake {
namespace {

namespace fs = std::filesystem;

std::string run_case(const test::Case& c) {
  const std::string& html = c.files.at(0).second;
  const std::string laid_out = lay_out_composition(html);
  if (laid_out == html) return "unchanged\n";
  EXPECT_EQ(lay_out_composition(laid_out), laid_out) << "a laid-out document is laid out again: " << c.name;
  return laid_out;
}

TEST(CompositionLayoutTest, EveryDocumentIsLaidOutAsRecorded) {
  test::check_cases(test::test_data("intake/layout_cases.txt"), run_case);
}

struct EditorScenario {
  std::string name, hand, reading;  // reading: "as-is" or "laid-out"
};

std::vector<EditorScenario> editor_scenarios() {
  std::vector<EditorScenario> list;
  for (const std::string& line : test::table_rows("intake/editor_scenarios.txt", 4)) {
    std::istringstream words(line);
    words >> list.emplace_back().name >> list.back().hand >> list.back().reading;
  }
  return list;
}

const fs::path kScenarios = fs::path(ZELVO_TEST_DATA) / "scenarios";

TEST(CompositionLayoutTest, EditorsTablesComposeLikeTheHandWrittenOnes) {
  for (const EditorScenario& scenario : editor_scenarios()) {
    const std::string html = test::input_files(kScenarios / scenario.name).at("incom.htm");
    EXPECT_EQ(lay_out_composition(html) == html, scenario.reading == "as-is") << scenario.name;
    for (const char* result : {"outco.mid.dump", "outco.rur"}) {
      const fs::path files = fs::path("expected") / "files" / result;
      const std::string made = test::read_file((kScenarios / scenario.name / files).string());
      EXPECT_FALSE(made.empty()) << scenario.name << " " << result;
      EXPECT_EQ(made, test::read_file((kScenarios / scenario.hand / files).string())) << scenario.name << " " << result;
    }
  }
}

TEST(CompositionLayoutTest, ShippedDocumentsReadAsTheyAre) {
  std::map<std::string, std::string> documents;  // where -> bytes
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(ZELVO_SOURCE_DIR) / "examples")) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("incom") && name.ends_with(".htm")) documents[entry.path()] = test::read_file(entry.path());
  }
  std::vector<std::string> laid_out_by_design;
  // The editors' files, and the same files edited through the tables tools.
  for (const EditorScenario& scenario : editor_scenarios()) {
    laid_out_by_design.push_back(scenario.name);
    laid_out_by_design.push_back("TablesOnAnyHtml" + scenario.name.substr(scenario.name.find('.')));
  }
  for (const auto& entry : fs::directory_iterator(kScenarios)) {
    const std::string name = entry.path().filename().string();
    const std::map<std::string, std::string> inputs = test::input_files(entry.path());
    if (inputs.count("incom.htm") && std::find(laid_out_by_design.begin(), laid_out_by_design.end(), name) == laid_out_by_design.end()) {
      documents[entry.path() / "incom.htm"] = inputs.at("incom.htm");
    }
  }
  ASSERT_GE(documents.size(), 10u);
  for (const auto& [document, html] : documents) {
    EXPECT_TRUE(lay_out_composition(html) == html) << document;
  }
}

}  // namespace
}  // namespace zelvo::intake
