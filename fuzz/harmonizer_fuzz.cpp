// The whole Harmonize job on small fuzzed music (a composer listing, the
// demo's instruments 1 to 3) over the demo's fixed harmony and settings.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "console/console_view.h"
#include "fuzz_support.h"
#include "harmonizer/harmonize_job.h"

namespace {

// A few dozen notes: the engine's search grows fast with the notes of a
// unit, and a run must stay well within the fuzzer's time.
constexpr size_t kMaxInput = 1500;

// A guard only: every stage of a unit (the link search included) takes
// polynomial time, and inputs of this size end well within it. Past the
// deadline the next progress message presses Stop, so the job ends at its
// next check (after the unit being searched) instead of running on.
constexpr std::chrono::milliseconds kDeadline{1000};

class Deadline : public zelvo::console::ConsoleView {
 public:
  explicit Deadline(zelvo::console::JobConsole& console) : console_(console) {}
  void start() { start_ = std::chrono::steady_clock::now(); }
  void appended(std::string_view) override {
    if (std::chrono::steady_clock::now() - start_ > kDeadline) console_.control().request_stop();
  }

 private:
  zelvo::console::JobConsole& console_;
  std::chrono::steady_clock::time_point start_;
};

std::string read_demo_file(const char* name) {
  std::ifstream in(std::string(ZELVO_SOURCE_DIR) + "/examples/demo/" + name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  static const bool ready = [] {
      fuzz::write_file("conar.rur", read_demo_file("conar.txt"));
    fuzz::write_file("inarm.xml", read_demo_file("inarm.xml"));
    return true;
  }();
  (void)ready;
  return fuzz::fuzz_file(data, size, kMaxInput, "outco.rur", [](console::JobConsole& console) {
    static auto* deadline = new Deadline(console);
    console.store().set_view(deadline);
    deadline->start();
    harmonizer::harmonize(fuzz::fresh_harmonizer(0), console);
    console.store().set_view(nullptr);
  });
}
