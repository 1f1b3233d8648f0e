// Edits of a composition written by any HTML editor (any bytes as
// incom.htm): every cell's place in the file lies inside it, the places
// follow one another in the file, and a cell set in place reads back with
// its new text and every other cell as it was.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "composition/any_html.h"
#include "composition/grid.h"
#include "composition/operations.h"

namespace {

constexpr size_t kMaxInput = 64 * 1024;

void require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo::composition;
  const std::string_view input(reinterpret_cast<const char*>(data), std::min(size, kMaxInput));
  Document document = read_any_html(input);
  if (document.source.empty()) return 0;
  size_t last_end = 0;
  int32_t target_table = -1, target_row = -1, target_column = -1;
  for (size_t t = 0; t < document.tables.size(); ++t) {
    for (size_t r = 0; r < document.tables[t].rows.size(); ++r) {
      const auto& cells = document.tables[t].rows[r].cells;
      for (size_t c = 0; c < cells.size(); ++c) {
        if (cells[c].source_begin == std::string::npos) continue;
        require(cells[c].source_begin <= cells[c].source_end && cells[c].source_end <= input.size());
        require(cells[c].source_begin >= last_end);
        last_end = cells[c].source_end;
        if (target_table < 0 && r > 0) {
          target_table = static_cast<int32_t>(t);
          target_row = static_cast<int32_t>(r);
          target_column = static_cast<int32_t>(c);
        }
      }
    }
  }
  if (target_table < 0) return 0;
  require(set_cell(document, target_table, target_row, target_column, "7 < 8 & 9").ok());
  std::string bytes;
  if (!write_in_place(document, bytes)) return 0;
  require(grid_text(read_any_html(bytes)) == grid_text(document));
  return 0;
}
