// The composition document (incom.htm), as the application reads it: laid
// out first when the reader would misread it (a document laid out once must
// come back unchanged), then reading, compiling, a bounded run of the
// generation loop, and the listing and MIDI file of what it generated.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "composer/compose.h"
#include "composer/generation_loop.h"
#include "composer/listing.h"
#include "composer/note_events.h"
#include "fuzz_support.h"
#include "intake/composition_intake.h"
#include "intake/composition_layout.h"
#include "tables/table_compiler.h"

namespace {

// A run of the loop costs about one program run per generator and output
// per click: longer runs are cut to fit a fuzzing budget.
constexpr int64_t kWorkBudget = 1'000'000;
constexpr int32_t kMaxClicks = 800;
// The events' exchange sort is quadratic; bigger results skip the files.
constexpr int32_t kMaxSortedEvents = 2000;
constexpr size_t kMaxInput = 64 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelvo;
  static auto* state = new composer::ComposerState();
  static auto* opener = new intake::CompositionIntake();
  const std::string_view input(reinterpret_cast<const char*>(data), std::min(size, kMaxInput));
  if (const std::string laid_out = intake::lay_out_composition(input); laid_out != input) {
    if (intake::lay_out_composition(laid_out) != laid_out) std::abort();
  }
  return fuzz::fuzz_file(data, size, kMaxInput, "incom.htm", [](console::JobConsole& console) {
    composer::compose_init(*state);
    state->work_folder = fuzz::scratch_folder();
    fuzz::or_abort(console,
                   tables::compile_tables(state->composition, state->machine, console, state->work_folder.c_str(), opener));
    composer::collect_variable_programs(*state);
    fuzz::or_abort(console, composer::compose_timing(*state, console));
    fuzz::or_abort(console, composer::read_sequences(*state, console));

    const int64_t clicks_per_bar = state->timing.clicks_per_bar();
    if (clicks_per_bar <= 0 || clicks_per_bar > kMaxClicks) return;
    const int64_t per_click = 200 + 2 * int64_t{state->machine.program_length};
    const int64_t bars_allowed = kWorkBudget / (per_click * clicks_per_bar);
    const auto bars = static_cast<int32_t>(std::min<int64_t>(state->timing.bar_count, bars_allowed));
    fuzz::or_abort(console, composer::generate(*state, console, bars));

    if (state->notes.count > kMaxSortedEvents) return;
    fuzz::or_abort(console, composer::write_listing_file(*state));
    composer::add_note_offs(state->notes);
    composer::compute_times(state->notes, state->timing);
    composer::sort_events(state->notes);
    fuzz::or_abort(console, composer::write_midi_file(*state, composer::kCompositionMidi));
  });
}
