#include "intake/composition_intake.h"

#include <fstream>
#include <iterator>
#include <string>

#include "intake/composition_layout.h"
#include "intake/memory_stream.h"

namespace zelvo::intake {

std::FILE* CompositionIntake::open_composition(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string laid_out = lay_out_composition(bytes);
  if (laid_out == bytes) return std::fopen(path, "rb");
  return intake::open_memory_stream(std::move(laid_out));
}

}  // namespace zelvo::intake
