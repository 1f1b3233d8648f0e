// The table reader over the table of cases in data/tables/html_cases.txt:
// every cell a compile pass would take ("kind/row/column:text"), the
// console text, the tables identified, and whether the reading aborted.
#include <memory>
#include <string>

#include "console/job_end.h"
#include "support/cases.h"
#include "tables/html_reader.h"

namespace zelvo::tables {
namespace {

std::string run_case(const test::Case& c) {
  test::TempFolder folder;
  for (const auto& [name, bytes] : c.files) test::write_file(folder.file(name), bytes);
  console::StandaloneConsole console;
  auto reader = std::make_unique<TableReader>(console);
  std::string text;
  const base::Status read = base::attempt([&] {
    if (base::Status opened = open_table_input(*reader, folder.path().c_str()); !opened.ok()) {
      base::stop_with(opened.error());
    }
    reset_position(*reader);
    ReaderPosition& at = reader->position;
    for (;;) {
      read_table_line(*reader);
      if (starts_with_nocase("</html>", reader->buffer)) break;
      if (at.row >= 1 && at.kind >= 1 && at.column >= 0) {
        const char* cell = take_cell(*reader);
        text += std::to_string(at.kind) + "/" + std::to_string(at.row) + "/" + std::to_string(at.column) + ":" + cell + "\n";
        ++at.column;
      }
    }
  });
  if (!read.ok()) {
    text += "aborted\n";
    // Printed as the composer prints it.
    try {
      console::fail(console, read.error());
    } catch (const console::JobEnded&) {
    }
  }
  text += "identified";
  for (int32_t count : reader->tables_identified) text += " " + std::to_string(count);
  return text + "\n" + test::quoted(console.store().contents());
}

TEST(HtmlCasesTest, EveryDocumentReadsAsRecorded) {
  test::check_cases(test::test_data("tables/html_cases.txt"), run_case);
}

}  // namespace
}  // namespace zelvo::tables
