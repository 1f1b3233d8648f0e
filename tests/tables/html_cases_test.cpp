// The table reader over the table of cases in data/tables/html_cases.txt:
// every cell a compile pass would take ("kind/row/column:text"), the
// console text, the tables identified, and whether the reading aborted
// ("call read"); or each line's tag as the layout's readers tell it, from
// the line's first `<` and from its first byte ("call tags").
#include <algorithm>
#include <memory>
#include <string>

#include "console/job_console.h"
#include "console/job_end.h"
#include "support/cases.h"
#include "tables/html_reader.h"

namespace zelvo::tables {
namespace {

std::string line_tags(const std::string& file) {
  constexpr const char* kNames[] = {"other", "table", "table-end", "row", "row-end", "cell", "html-end"};
  std::string out;
  for (size_t start = 0; start < file.size();) {
    const size_t end = std::min(file.find('\n', start), file.size());
    const std::string_view line = std::string_view(file).substr(start, end - start);
    out += std::string(kNames[static_cast<int>(line_tag(line))]) + " " + kNames[static_cast<int>(tag_at_start(line))] + "\n";
    start = end + 1;
  }
  return out;
}

std::string run_case(const test::Case& c) {
  if (!c.call.empty() && c.call.front() == "tags") return c.files.empty() ? "" : line_tags(c.files.front().second);
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
