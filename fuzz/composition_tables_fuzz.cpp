// The editable composition document: any bytes read as a document write
// back unchanged; the grid, the JSON, a setting, a rename and every row
// operation then run on it without fault, and an edited cell reads back
// with the text it was given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "composition/address.h"
#include "composition/document.h"
#include "composition/grid.h"
#include "composition/operations.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo::composition;
  if (size > 64 * 1024) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Document document = read_document(bytes);
  if (write_document(document) != bytes) std::abort();
  grid_text(document);
  grid_json(document);
  CellAddress at;
  std::string value;
  const std::string setting = bytes.substr(0, bytes.find('\n'));
  const zelvo::base::Status parsed = parse_setting(document, setting, at, value);
  if (parsed.ok()) {
    if (!set_cell(document, at.table, at.row, at.column, value).ok()) std::abort();
    const Document again = read_document(write_document(document));
    if (again.tables.size() != document.tables.size()) std::abort();
  } else if (zelvo::base::render(parsed.error(), zelvo::base::kSpanish).empty()) {
    std::abort();  // every refusal says why
  }
  int32_t changed = 0;
  // Any of these may be refused; the document must stay whole either way.
  (void)rename_symbol(document, "a", "b", changed);
  for (int32_t table = 0; table < static_cast<int32_t>(document.tables.size()); ++table) {
    (void)insert_row(document, table, 1);
    (void)move_row(document, table, 1, static_cast<int32_t>(document.tables[table].rows.size()) - 1);
    (void)delete_row(document, table, 1);
  }
  int32_t index = 0;
  (void)add_table(document, 6, index);
  read_document(write_document(document));
  return 0;
}
