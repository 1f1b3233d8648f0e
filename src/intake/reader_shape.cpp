#include "intake/reader_shape.h"

#include <cstdio>
#include <memory>
#include <string>

#include "console/job_console.h"
#include "tables/html_reader.h"
#include "base/message_id.h"

namespace zelvo::intake {

namespace {

void drop_empty(TableShape& shape) {
  for (auto& rows : shape) std::erase(rows, 0);
  std::erase_if(shape, [](const std::vector<int32_t>& rows) { return rows.empty(); });
}

// The walk of the compile pass, counting instead of compiling.
TableShape walk(tables::TableReader& reader) {
  TableShape shape;
  tables::reset_position(reader);
  tables::ReaderPosition& at = reader.position;
  for (;;) {
    const int32_t kind_before = at.kind;
    tables::read_table_line(reader);
    const char* line = reader.buffer;
    if (tables::starts_with_nocase("</html>", line)) break;
    if (tables::starts_with_nocase("<table", line)) shape.emplace_back();
    if (shape.empty() || at.kind < 1 || at.row < 0) continue;
    std::vector<int32_t>& rows = shape.back();
    if (rows.size() <= static_cast<size_t>(at.row)) rows.resize(static_cast<size_t>(at.row) + 1, 0);
    if (at.row == 0) {
      // The line that named the table holds its first cell's text.
      if (kind_before < 1) {
        rows[0] = 1;
      } else if (tables::starts_with_nocase("<td", line)) {
        ++rows[0];
      }
    } else if (at.column >= 0) {
      tables::take_cell(reader);
      ++rows[static_cast<size_t>(at.row)];
      ++at.column;
    }
  }
  drop_empty(shape);
  return shape;
}

}  // namespace

ReaderReading reader_shape(std::string_view document) {
  // fmemopen reads the bytes in place; the copy keeps them while it does.
  std::string bytes(document);
  ReaderReading reading;
  if (bytes.empty()) return reading;
  auto console = std::make_unique<console::StandaloneConsole>();
  console->control().set_language(base::kEnglish);
  auto reader = std::make_unique<tables::TableReader>(*console);
  reader->file.reset(fmemopen(bytes.data(), bytes.size(), "rb"));
  if (!reader->file) return reading;
  console->control().set_job_running(true);
  const base::Status walked = base::attempt([&] { reading.shape = walk(*reader); });
  if (!walked.ok()) reading.cell_too_long = walked.error().id() == base::MessageId::kCellTooLong;
  return reading;
}

}  // namespace zelvo::intake
