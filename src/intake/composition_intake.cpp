#include "intake/composition_intake.h"

#include <string>

#include "files/memory_stream.h"
#include "files/whole_file.h"
#include "intake/composition_layout.h"

namespace zelvo::intake {

std::FILE* CompositionIntake::open_composition(const std::string& folder, const char* name) {
  std::FILE* file = files::ReaderOrFolder(reader_, folder)->open(name);
  if (file == nullptr) return nullptr;
  // What reads of it, as the table reader would read it.
  std::string bytes;
  files::read_whole(file, bytes);
  std::string laid_out = lay_out_composition(bytes);
  if (laid_out == bytes) {
    std::rewind(file);
    return file;
  }
  std::fclose(file);
  return files::open_memory_stream(std::move(laid_out));
}

}  // namespace zelvo::intake
