#pragma once

#include "console/message_id.h"

namespace zelvo::composer {

inline constexpr console::MessageId kStartMessage = console::MessageId::kComposerStartMessage;
inline constexpr console::MessageId kSeedMessage = console::MessageId::kSeedMessage;
inline constexpr console::MessageId kSequenceFileRead = console::MessageId::kSequenceFileRead;
inline constexpr console::MessageId kNoSequenceFile = console::MessageId::kNoSequenceFile;
inline constexpr console::MessageId kGenerationStarts = console::MessageId::kGenerationStarts;
inline constexpr console::MessageId kEachBar = console::MessageId::kEachBar;
inline constexpr console::MessageId kRangeWarning = console::MessageId::kRangeWarning;
// Shared with the harmonizer.
inline constexpr console::MessageId kMidiFileMessage = console::MessageId::kMidiFileMessage;

// Faults of the configuration, found before anything is derived.
inline constexpr console::MessageId kBadDenominator = console::MessageId::kBadDenominator;
inline constexpr console::MessageId kBadTempo = console::MessageId::kComposerBadTempo;

// The generated notes would leave no room for their note-off copies (the
// event limit, then the bar).
inline constexpr console::MessageId kTooManyNoteEvents = console::MessageId::kTooManyNoteEvents;

// Output files (%s: the file name).
inline constexpr console::MessageId kCannotCreate = console::MessageId::kCannotCreate;
inline constexpr console::MessageId kCannotWrite = console::MessageId::kCannotWrite;
inline constexpr console::MessageId kTimeTooLarge = console::MessageId::kTimeTooLarge;

// The sequence file (%s: the file name).
inline constexpr console::MessageId kSequenceTooManyNotes = console::MessageId::kSequenceTooManyNotes;
inline constexpr console::MessageId kSequenceTooManySequenceNotes = console::MessageId::kSequenceTooManySequenceNotes;
inline constexpr console::MessageId kSequenceTooManyBoundaries = console::MessageId::kSequenceTooManyBoundaries;
inline constexpr console::MessageId kSequenceMissingNumber = console::MessageId::kSequenceMissingNumber;
inline constexpr console::MessageId kSequenceNoDivisions = console::MessageId::kSequenceNoDivisions;

}  // namespace zelvo::composer
