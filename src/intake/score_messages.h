#pragma once

#include "console/message_id.h"

// The messages of the score intake. Their texts, in both languages, are rows of
// the console's message table.

namespace zelvo::intake {

inline constexpr console::MessageId kMalformedXml = console::MessageId::kMalformedXml;
inline constexpr console::MessageId kMidiNotMusicXml = console::MessageId::kMidiNotMusicXml;
inline constexpr console::MessageId kBrokenArchive = console::MessageId::kBrokenArchive;
inline constexpr console::MessageId kNoContainer = console::MessageId::kNoContainer;
inline constexpr console::MessageId kNoRootFile = console::MessageId::kNoRootFile;
inline constexpr console::MessageId kTooLarge = console::MessageId::kTooLarge;
inline constexpr console::MessageId kPickup = console::MessageId::kPickup;
inline constexpr console::MessageId kSmpteDivision = console::MessageId::kSmpteDivision;
inline constexpr console::MessageId kDamagedMidi = console::MessageId::kDamagedMidi;

}  // namespace zelvo::intake
