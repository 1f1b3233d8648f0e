// The whole Harmonize job on small fuzzed music (a composer listing, the
// demo's instruments 1 to 3) over the demo's fixed harmony and settings.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_support.h"
#include "harmonizer/harmonize.h"
#include "harmonizer_support.h"

namespace {

// A few dozen notes: the engine's search grows fast with the notes of a
// unit, and a run must stay well within the fuzzer's time.
constexpr size_t kMaxInput = 1500;

std::string read_demo_file(const char* name) {
  std::ifstream in(std::string(ZELVO_SOURCE_DIR) + "/examples/demo/" + name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  if (size > kMaxInput) return 0;
  fuzz::enter_scratch_folder();
  static const bool ready = [] {
    fuzz::write_file("conar.rur", read_demo_file("conar.txt"));
    fuzz::write_file("inarm.xml", read_demo_file("inarm.xml"));
    return true;
  }();
  (void)ready;
  harmonizer::HarmonizerState& state = fuzz::fresh_harmonizer(0);
  console::Console& console = fuzz::fuzz_console();
  fuzz::write_file("outco.rur", data, size);
  fuzz::run_job(console, [&] { harmonizer::harmonize(state, console); });
  return 0;
}
