#pragma once

// The calculated generator (TGENC): a periodic shape between a bottom and a
// top value, sounding every `pulse` clicks.
#include <cstdint>

#include "composer/composer_state.h"
#include "base/progress_lines.h"

namespace zelvo::composer {

// Slots of a calculated generator record: column c is slot 8 + c.
namespace calc {
constexpr int32_t kPeriod = 5;       // current period length, -1 = not yet set
constexpr int32_t kPulseCount = 6;
constexpr int32_t kMode = 9;
constexpr int32_t kStartBar = 10;
constexpr int32_t kStartClick = 11;
constexpr int32_t kPeriodBars = 12;
constexpr int32_t kPeriodClicks = 13;
constexpr int32_t kPulse = 14;
constexpr int32_t kLengthBars = 15;
constexpr int32_t kLengthClicks = 16;
constexpr int32_t kNoteLength = 17;
constexpr int32_t kShape = 18;
constexpr int32_t kTop = 19;
constexpr int32_t kBottom = 20;
constexpr int32_t kStep = 21;
constexpr int32_t kOrder = 22;
constexpr int32_t kCopySlots = 22;  // the order slot is not part of the private copy
}  // namespace calc

// One evaluation of generator `number` (1 to 99) at the current bar and
// click, in the pass that state.pass_flag names.
void run_calculated_generator(ComposerState& state, base::ProgressLines& progress, int32_t number);

}  // namespace zelvo::composer
