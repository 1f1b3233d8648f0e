#include "composition/compile_check.h"

#include <memory>

#include "console/job_console.h"
#include "intake/memory_stream.h"
#include "machine/machine_state.h"
#include "tables/composition.h"
#include "tables/table_compiler.h"

namespace zelvo::composition {

namespace {

// Hands the compiler the document's bytes whichever file it asks for.
class DocumentOpener : public console::CompositionOpener {
 public:
  explicit DocumentOpener(std::string bytes) : bytes_(std::move(bytes)) {}
  std::FILE* open_composition(const char*) override { return intake::open_memory_stream(bytes_); }

 private:
  std::string bytes_;
};

// The message's lines as one, without the blank lines around it.
std::string one_line(const std::string& text) {
  std::string line;
  for (char c : text) {
    const bool end = c == '\n' || c == '\r';
    if (end && (line.empty() || line.back() == ' ')) continue;
    line += end ? ' ' : c;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

}  // namespace

base::Status compile_document(const Document& document) {
  auto composition = std::make_unique<tables::Composition>();
  auto machine = std::make_unique<machine::MachineState>();
  console::StandaloneConsole scratch;
  DocumentOpener opener(write_document(document));
  return tables::compile_tables(*composition, *machine, scratch, "", &opener);
}

bool edit_breaks_piece(const Document& before, const Document& after, int32_t language, std::string& error) {
  const base::Status edited = compile_document(after);
  if (edited.ok()) return false;
  const std::string message = one_line(base::render(edited.error(), language));
  const base::Status original = compile_document(before);
  if (!original.ok() && one_line(base::render(original.error(), language)) == message) return false;
  error = message;
  return true;
}

}  // namespace zelvo::composition
