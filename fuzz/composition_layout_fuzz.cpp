// The layout step alone (any bytes as incom.htm): what it gives back is the
// input itself or a document in the reader's layout, which the reader walks
// as a browser shows it, and which lays out to itself.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "intake/composition_layout.h"
#include "intake/html_tables.h"
#include "intake/reader_shape.h"

namespace {

constexpr size_t kMaxInput = 64 * 1024;

void require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo::intake;
  const std::string_view input(reinterpret_cast<const char*>(data), std::min(size, kMaxInput));
  const std::string laid_out = lay_out_composition(input);
  if (laid_out == input || input.starts_with("\xEF\xBB\xBF")) return 0;
  require(laid_out.starts_with("<html>\n") && laid_out.ends_with("</html>\n"));
  // Every line a tag of the layout: the cells' text holds no raw < or >.
  for (size_t at = 0; at < laid_out.size();) {
    const size_t end = laid_out.find('\n', at);
    const std::string_view line(laid_out.data() + at, end - at);
    require(line.starts_with("<"));
    if (line.starts_with("<td>")) {
      const std::string_view text = line.substr(4, line.size() - 9);
      require(line.ends_with("</td>") && text.find_first_of("<>\n") == std::string_view::npos);
    }
    at = end + 1;
  }
  const ReaderReading reading = reader_shape(laid_out);
  std::vector<std::vector<int32_t>> shown;
  for (const HtmlTable& table : read_html_tables(laid_out)) {
    auto& rows = shown.emplace_back();
    for (const auto& cells : table.rows) rows.push_back(static_cast<int32_t>(cells.size()));
  }
  require(reading.cell_too_long || (reading.shape && *reading.shape == shown));
  require(lay_out_composition(laid_out) == laid_out);
  return 0;
}
