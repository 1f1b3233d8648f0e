#pragma once

#include "console/message_id.h"

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

}  // namespace zelvo::engine
