#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "base/windows1252.h"
#include "support/files.h"
#include "support/scenario_inputs.h"

// The guide of both documents builds the piece of examples/first-piece:
// every table it shows as a grid is that table of the piece cell for cell,
// every piece of HTML it shows is in the file as written, and the recorded
// scenarios that compose the piece start from the very same files. So the
// guide, the example and what the program makes of it cannot drift apart.
namespace zelvo::test {
namespace {

namespace fs = std::filesystem;
using Grid = std::vector<std::vector<std::string>>;

const fs::path kPiece = fs::path(ZELVO_SOURCE_DIR) / "examples" / "first-piece";

std::string trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The tables of a composition in the reader's layout (one cell a line),
// by their first cell.
std::map<std::string, Grid> piece_tables(const std::string& html) {
  std::map<std::string, Grid> tables;
  std::istringstream in(html);
  std::string line;
  Grid grid;
  while (std::getline(in, line)) {
    if (line.rfind("<tr>", 0) == 0) grid.emplace_back();
    if (line.rfind("<td>", 0) == 0 && !grid.empty()) grid.back().push_back(line.substr(4, line.find("</td>") - 4));
    if (line.rfind("</table>", 0) == 0 && !grid.empty()) {
      tables[grid[0][0]] = grid;
      grid.clear();
    }
  }
  return tables;
}

struct Shown {
  std::vector<std::pair<Grid, int>> grids;               // with the line each starts on
  std::vector<std::pair<std::string, int>> html_pieces;  // the same
};

// Markdown tables whose first title is a table kind, and "```zelvo-piece"
// blocks.
Shown shown_in(const std::string& document) {
  Shown shown;
  std::istringstream in(read_file(std::string(ZELVO_SOURCE_DIR) + "/docs/" + document));
  std::string line;
  Grid grid;
  int grid_line = 0;
  bool in_piece = false;
  for (int number = 1; std::getline(in, line); ++number) {
    if (in_piece) {
      if (line == "```") in_piece = false;
      else shown.html_pieces.back().first += line + "\n";
      continue;
    }
    if (line == "```zelvo-piece") {
      in_piece = true;
      shown.html_pieces.push_back({"", number});
      continue;
    }
    if (line.rfind("|", 0) == 0) {
      if (line.find("---") != std::string::npos) continue;
      std::vector<std::string> cells;
      size_t start = 1;
      for (size_t bar = line.find('|', start); bar != std::string::npos; bar = line.find('|', start)) {
        cells.push_back(trim(line.substr(start, bar - start)));
        start = bar + 1;
      }
      if (grid.empty()) grid_line = number;
      grid.push_back(cells);
    } else if (!grid.empty()) {
      const std::string& kind = grid[0][0];
      if (kind == "TCONF" || kind == "TCAL" || kind == "TGENC" || kind == "TGENS" || kind == "TSAL") {
        shown.grids.push_back({grid, grid_line});
      }
      grid.clear();
    }
  }
  return shown;
}

TEST(GuidePieceTest, EveryTableAndHtmlTheGuideShowsIsThePiece) {
  for (const auto& [document, file] : {std::pair{"zelvo_eng.md", "incom.htm"}, std::pair{"zelvo_spa.md", "incom_spa.htm"}}) {
    const std::string html = base::to_utf8(read_file((kPiece / file).string()));
    ASSERT_FALSE(html.empty()) << file;
    const std::map<std::string, Grid> tables = piece_tables(html);
    const Shown shown = shown_in(document);
    EXPECT_GE(shown.grids.size(), 5u) << document;
    EXPECT_GE(shown.html_pieces.size(), 5u) << document;
    for (const auto& [grid, line] : shown.grids) {
      const auto table = tables.find(grid[0][0]);
      ASSERT_NE(table, tables.end()) << document << ":" << line;
      EXPECT_EQ(grid, table->second) << document << ":" << line << " is not the table of " << file;
    }
    for (const auto& [piece, line] : shown.html_pieces) {
      EXPECT_NE(html.find(piece), std::string::npos) << document << ":" << line << " is not in " << file;
    }
  }
}

TEST(GuidePieceTest, TheRecordedScenariosStartFromThePiece) {
  const fs::path scenarios = fs::path(ZELVO_TEST_DATA) / "scenarios";
  for (const char* scenario : {"Guide.FirstPiece", "Guide.FirstPieceNotationExact"}) {
    std::map<std::string, std::string> inputs = input_files(scenarios / scenario);
    for (const auto& entry : fs::directory_iterator(kPiece)) {
      const std::string name = entry.path().filename().string();
      EXPECT_EQ(inputs[name], read_file(entry.path().string())) << scenario << " " << name;
    }
  }
  EXPECT_EQ(input_files(scenarios / "Guide.FirstPieceSpanish")["incom.htm"],
            read_file((kPiece / "incom_spa.htm").string()));
}

}  // namespace
}  // namespace zelvo::test
