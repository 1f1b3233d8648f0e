#pragma once

#include "console/message_id.h"

// Every message of the harmonizer's driver and files. Spanish texts are
// Windows-1252.

namespace zelvo::harmonizer {


// The driver.
inline constexpr console::MessageId kStartMessage = console::MessageId::kHarmonizerStartMessage;
inline constexpr console::MessageId kReadingMusic = console::MessageId::kReadingMusic;
inline constexpr console::MessageId kReadingHarmony = console::MessageId::kReadingHarmony;
inline constexpr console::MessageId kGeneratingMidi = console::MessageId::kGeneratingMidi;
// Also the message of a music or harmony file that cannot be opened.
inline constexpr console::MessageId kErrorOpeningFile = console::MessageId::kErrorOpeningFile;

// Follows kErrorOpeningFile for the configuration: where it was looked for.
inline constexpr console::MessageId kNoConfigurationIn = console::MessageId::kNoConfigurationIn;

// The configuration file.
inline constexpr console::MessageId kBadConfigurationLine = console::MessageId::kBadConfigurationLine;

// Harmony information and music preparation.
inline constexpr console::MessageId kBadMusicSource = console::MessageId::kBadMusicSource;
inline constexpr console::MessageId kNoMusic = console::MessageId::kNoMusic;
inline constexpr console::MessageId kNoHarmony = console::MessageId::kNoHarmony;
// Follows kNoHarmony: where the harmony was looked for and what the file has.
inline constexpr console::MessageId kHarmonyPartsLookedFor = console::MessageId::kHarmonyPartsLookedFor;

// The MIDI reader's result codes 1 to 5, each with the file name.
inline constexpr console::MessageId kMidiCannotRead = console::MessageId::kMidiCannotRead;
inline constexpr console::MessageId kMidiNotMidi = console::MessageId::kMidiNotMidi;
inline constexpr console::MessageId kMidiNotFormat0 = console::MessageId::kMidiNotFormat0;
inline constexpr console::MessageId kMidiBarOrTempo = console::MessageId::kMidiBarOrTempo;
inline constexpr console::MessageId kMidiUnexpectedEnd = console::MessageId::kMidiUnexpectedEnd;

// A MusicXML measure numbered 0: bar 0 means "no entry" to the tables.
inline constexpr console::MessageId kPickupMeasure = console::MessageId::kPickupMeasure;

// Capacities and malformed input.
inline constexpr console::MessageId kTooManyNotes = console::MessageId::kTooManyNotes;
inline constexpr console::MessageId kTooManyPieces = console::MessageId::kTooManyPieces;
inline constexpr console::MessageId kTooManyChords = console::MessageId::kTooManyChords;
inline constexpr console::MessageId kTooManyScales = console::MessageId::kTooManyScales;
inline constexpr console::MessageId kNoDivisions = console::MessageId::kNoDivisions;
inline constexpr console::MessageId kZeroBeatType = console::MessageId::kZeroBeatType;
inline constexpr console::MessageId kTooManyResultNotes = console::MessageId::kTooManyResultNotes;
inline constexpr console::MessageId kBadTempo = console::MessageId::kHarmonizerBadTempo;
inline constexpr console::MessageId kTimeStepTooLong = console::MessageId::kTimeStepTooLong;
inline constexpr console::MessageId kErrorCreatingFile = console::MessageId::kErrorCreatingFile;
inline constexpr console::MessageId kErrorWritingFile = console::MessageId::kErrorWritingFile;

// A score whose time signature changes is harmonized bar by bar in its own
// meters; these say where that cannot be done.
inline constexpr console::MessageId kPartsInOtherMeters = console::MessageId::kPartsInOtherMeters;
inline constexpr console::MessageId kTooManyMeterChanges = console::MessageId::kTooManyMeterChanges;
inline constexpr console::MessageId kMeterOutOfOrder = console::MessageId::kMeterOutOfOrder;
inline constexpr console::MessageId kUnusualMeter = console::MessageId::kUnusualMeter;
inline constexpr console::MessageId kHarmonyMeterDiffers = console::MessageId::kHarmonyMeterDiffers;

inline constexpr console::MessageId kMidiMeterNotFollowed = console::MessageId::kMidiMeterNotFollowed;

}  // namespace zelvo::harmonizer
