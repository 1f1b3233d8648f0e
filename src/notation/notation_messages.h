#pragma once

#include "console/message_id.h"

// The messages of a result's notation. Spanish texts are Windows-1252.

namespace zelvo::notation {

inline constexpr console::MessageId kNotationWritten = console::MessageId::kNotationWritten;
inline constexpr console::MessageId kNotationNotWritten = console::MessageId::kNotationNotWritten;

}  // namespace zelvo::notation
