#pragma once

#include "console/status.h"

namespace zelvo::engine {

inline constexpr console::MessageId kProgressLineInfo = console::MessageId::kProgressLineInfo;
inline constexpr console::MessageId kProgress = console::MessageId::kProgress;
inline constexpr console::MessageId kLineInfo = console::MessageId::kLineInfo;
inline constexpr console::MessageId kImpossible = console::MessageId::kImpossible;
inline constexpr console::MessageId kSummaryRow = console::MessageId::kSummaryRow;
inline constexpr console::MessageId kSummaryValue = console::MessageId::kSummaryValue;
inline constexpr console::MessageId kLookAheadFirst = console::MessageId::kLookAheadFirst;
inline constexpr console::MessageId kLookAheadDeeper = console::MessageId::kLookAheadDeeper;

// Guards of the engine's own limits.
inline constexpr console::MessageId kNoHarmonyInForce = console::MessageId::kNoHarmonyInForce;
inline constexpr console::MessageId kTooManyLines = console::MessageId::kTooManyLines;
inline constexpr console::MessageId kBadClicks = console::MessageId::kBadClicks;

// Whether a Stop pressed before the job ends on `failure` wins over the
// abort: so for a line that cannot be harmonized, never for a broken limit.
inline bool stop_wins_over(const console::Message& failure) { return failure.id() == kImpossible; }

}  // namespace zelvo::engine
