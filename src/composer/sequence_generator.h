#pragma once

// The sequence generator (TGENS): plays a sequence read from the sequence
// file, forward or backward, straight or inverted, stretched and shifted.
#include <cstdint>

#include "composer/composer_state.h"
#include "base/progress_lines.h"

namespace zelvo::composer {

// Slots of a sequence generator record.
namespace seq {
constexpr int32_t kPosition = 5;  // within the note window, -1 = before a pass
constexpr int32_t kMode = 9;
constexpr int32_t kSequence = 10;
constexpr int32_t kStartBar = 11;
constexpr int32_t kStartClick = 12;
constexpr int32_t kStretch = 13;
constexpr int32_t kFirstNote = 14;
constexpr int32_t kNotesCut = 15;
constexpr int32_t kRest = 16;
constexpr int32_t kLengthBars = 17;
constexpr int32_t kLengthClicks = 18;
constexpr int32_t kPlayMode = 19;
constexpr int32_t kTopShift = 20;
constexpr int32_t kBottomShift = 21;
constexpr int32_t kGlide = 22;
constexpr int32_t kOrder = 23;
constexpr int32_t kCopySlots = 23;
}  // namespace seq

// The pitch of note p mapped so that the sequence's lowest and highest notes
// go to lowest + bottom shift and highest + top shift (straight), or the
// other way round (inverted). REQUIRES: highest != lowest.
double map_pitch(double p, int32_t lowest, int32_t highest, double top_shift, double bottom_shift,
                 bool inverted);

// One evaluation of generator `number` (1 to 99) at the current bar and
// click, in the pass that state.pass_flag names.
void run_sequence_generator(ComposerState& state, base::ProgressLines& progress, int32_t number);

}  // namespace zelvo::composer
