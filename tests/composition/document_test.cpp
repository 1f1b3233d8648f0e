// The composition document: files read and written back unchanged, each
// edit against the file a hand edit gives (tests/data/composition/*.txt),
// and an edited file composing exactly like the hand-edited one.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "composer/compose.h"
#include "composition/address.h"
#include "composition/error_places.h"
#include "base/message.h"
#include "composition/kinds.h"
#include "composition/operations.h"
#include "composition/work_file.h"
#include "console/job_console.h"
#include "support/cases.h"
#include "support/status_text.h"
#include "support/files.h"
#include "support/scenario_inputs.h"

namespace zelvo::test {
namespace {

namespace fs = std::filesystem;
using composition::Document;

std::vector<std::string> composition_files() {
  std::vector<std::string> paths;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(ZELVO_SOURCE_DIR) / "examples")) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("incom", 0) == 0 && entry.path().extension() == ".htm") paths.push_back(entry.path().string());
  }
  return paths;
}

TEST(CompositionDocument, EveryExampleAndScenarioWritesBackByteForByte) {
  std::map<std::string, std::string> documents;  // where -> bytes
  for (const std::string& path : composition_files()) documents[path] = read_file(path);
  for (const auto& entry : fs::recursive_directory_iterator(test_data("scenarios"))) {
    const std::string name = entry.path().filename().string();
    if (name == "incom.htm" || name == "incom.htc") documents[entry.path().string()] = read_file(entry.path().string());
  }
  for (const auto& scenario : fs::directory_iterator(test_data("scenarios"))) {
    for (const auto& [name, bytes] : input_files(scenario.path())) {
      const std::string file = fs::path(name).filename().string();
      if (file == "incom.htm" || file == "incom.htc") documents[scenario.path().string() + ": " + name] = bytes;
    }
  }
  ASSERT_GT(documents.size(), 20u);
  for (const auto& [where, bytes] : documents) {
    EXPECT_EQ(composition::write_document(composition::read_document(bytes)), bytes) << where;
  }
}

// The examples are written in the reader's layout: every cell written anew
// gives the same bytes, so an edit changes only the cell edited.
TEST(CompositionDocument, ExamplesAreInTheLayoutTheWriterWrites) {
  for (const std::string& path : composition_files()) {
    if (path.find("/examples/") == std::string::npos) continue;
    const std::string bytes = read_file(path);
    EXPECT_EQ(composition::layout_html(bytes), bytes) << path;  // the composer's intake leaves them be
    Document document = composition::read_document(bytes);
    size_t cells = 0;
    for (auto& table : document.tables) {
      for (auto& row : table.rows) {
        for (auto& cell : row.cells) {
          cell.raw.clear();
          ++cells;
        }
      }
    }
    EXPECT_GT(cells, 50u) << path;
    EXPECT_EQ(composition::write_document(document), bytes) << path;
  }
}

int32_t number(const std::string& word) { return std::stoi(word); }

// One call of the case table on the document; "" when it was done.
std::string apply(Document& document, const std::vector<std::string>& call) {
  const std::string& what = call.at(0);
  if (what == "rename") {
    int32_t changed = 0;
    return test::english_line(composition::rename_symbol(document, call.at(1), call.at(2), changed));
  }
  if (what == "add") {
    int32_t index = 0;
    return test::english_line(composition::add_table(document, number(call.at(1)), index));
  }
  if (what == "setting") {
    composition::CellAddress at;
    std::string value;
    const base::Status parsed = composition::parse_setting(document, call.at(1), at, value);
    if (!parsed.ok()) return base::render(parsed.error(), base::kEnglish);
    return composition::set_cell(document, at.table, at.row, at.column, value).ok() ? "" : "set failed";
  }
  int32_t table = 0, name_row = 0;
  const base::Status found = composition::resolve_table(document, call.at(1), table, name_row);
  if (!found.ok()) return base::render(found.error(), base::kEnglish);
  base::Status result;
  if (what == "set") {
    std::string text = call.size() > 4 ? call[4] : "";
    for (char& c : text) c = c == '_' ? ' ' : c;
    result = composition::set_cell(document, table, number(call.at(2)), number(call.at(3)), text);
  } else if (what == "insert") {
    result = composition::insert_row(document, table, number(call.at(2)));
  } else if (what == "delete") {
    result = composition::delete_row(document, table, number(call.at(2)));
  } else if (what == "move") {
    result = composition::move_row(document, table, number(call.at(2)), number(call.at(3)));
  } else if (what == "drop") {
    result = composition::delete_table(document, table);
  } else {
    return "unknown call " + what;
  }
  return test::english_line(result);
}

TEST(CompositionDocument, EditsGiveTheFileAHandEditGives) {
  check_cases(test_data("composition/edits.txt"), [](const Case& c) {
    Document document = composition::read_document(c.files.at(0).second);
    const std::string refused = apply(document, c.call);
    return refused.empty() ? composition::write_document(document) : "refused: " + refused + "\n";
  });
}

// The demo with one generator renamed and its pulse halved through the
// model composes to the same notes as the same change made by hand.
TEST(CompositionDocument, EditedFileComposesLikeTheHandEdit) {
  const std::string demo = read_file(std::string(ZELVO_SOURCE_DIR) + "/examples/demo/incom.htm");
  Document document = composition::read_document(demo);
  int32_t changed = 0;
  ASSERT_TRUE(composition::rename_symbol(document, "Wave", "Swell", changed).ok());
  EXPECT_EQ(changed, 3);
  composition::CellAddress at;
  std::string value;
  ASSERT_TRUE(composition::parse_setting(document, "Swell:6=24", at, value).ok());
  ASSERT_TRUE(composition::set_cell(document, at.table, at.row, at.column, value).ok());

  const std::string hand = read_file(test_data("composition/demo-hand-edit.htm"));
  EXPECT_EQ(composition::write_document(document), hand);
  std::string outputs[2];
  for (int run = 0; run < 2; ++run) {
    TempFolder work;
    fs::copy_file(std::string(ZELVO_SOURCE_DIR) + "/examples/demo/insec.xml", (work.path() + "/insec.xml"));
    if (run == 0) {
      ASSERT_EQ(composition::save_composition((work.path() + "/incom.htm"), document), composition::FileResult::kDone);
    } else {
      write_file((work.path() + "/incom.htm"), hand);
    }
    auto state = std::make_unique<composer::ComposerState>();
    state->work_folder = work.path();
    console::StandaloneConsole console;
    try {
      composer::compose(*state, console);
    } catch (...) {
    }
    outputs[run] = console.store().contents() + read_file((work.path() + "/outco.mid")) + read_file((work.path() + "/outco.rur"));
  }
  EXPECT_GT(outputs[0].size(), 1000u);
  EXPECT_EQ(outputs[0], outputs[1]);
}

TEST(CompositionDocument, SavingKeepsTheModeAndRefusesAReadOnlyFile) {
  TempFolder folder;
  const std::string path = folder.file("incom.htm");
  write_file(path, "<html>\n</html>\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  Document document = composition::read_document("<html>\n<body>\n</body>\n</html>\n");
  ASSERT_EQ(composition::save_composition(path, document), composition::FileResult::kDone);
  EXPECT_EQ(read_file(path), "<html>\n<body>\n</body>\n</html>\n");
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::permissions(path, fs::perms::owner_read);
  EXPECT_EQ(composition::save_composition(path, composition::read_document("x\n")), composition::FileResult::kReadOnly);
  EXPECT_EQ(read_file(path), "<html>\n<body>\n</body>\n</html>\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(CompositionDocument, MessagesPointAtTheirCells) {
  check_cases(test_data("composition/error_places.txt"), [](const Case& c) {
    const Document document = composition::read_document(c.files.at(0).second);
    std::string got;
    for (const auto& place : composition::error_places(document, c.files.at(1).second)) {
      got += std::to_string(place.table) + " " + std::to_string(place.row) + " " + std::to_string(place.column) +
             " | " + place.message + "\n";
    }
    return got;
  });
}

// The editor's column help is the manual's own column tables, word for
// word, in each language.
TEST(CompositionDocument, ColumnHelpIsTheManualsText) {
  for (const auto& [language, manual_file] : {std::pair{base::kEnglish, "/docs/zelvo_eng.md"},
                                              std::pair{base::kSpanish, "/docs/zelvo_spa.md"}}) {
    const std::string manual = read_file(std::string(ZELVO_SOURCE_DIR) + manual_file);
    int rows = 0;
    for (int32_t kind : {1, 3, 6, 7}) {
      for (int32_t column = 0; column < 20; ++column) {
        const composition::ColumnHelp* help = composition::column_help(kind, column, language);
        if (help == nullptr) continue;
        const std::string note = help->note[0] == '\0' ? std::string(" |") : std::string(" ") + help->note + " |";
        const std::string row = "| " + std::to_string(column) + " | " + help->meaning + " |" + note;
        EXPECT_NE(manual.find(row), std::string::npos) << row;
        ++rows;
      }
    }
    EXPECT_EQ(rows, 6 + 6 + 14 + 15);
  }
}

}  // namespace
}  // namespace zelvo::test
