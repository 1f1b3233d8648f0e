#pragma once

#include <cstdint>
#include <cstdio>

#include "engine/model.h"
#include "engine/settings.h"
#include "harmonizer/meter_reading.h"
#include "harmonizer/midi_events.h"

namespace zelvo::harmonizer {

// Note-ons beyond are ignored: the music note table grows to its memory bound.
constexpr int32_t kMaxMidiNotes = engine::kMaxMusicNotes - 2;

// Reads a format 0 Standard MIDI File whose track begins with its tempo and
// time-signature events (the composer's outco.mid) into `table`, one record
// per note-on in order, Inst = channel + 1, and sets every time setting from
// it: clicks-semic = division / 4, clicks-parte = division * 4 / compas-den.
// Running status is followed; a note-off (or note-on with velocity 0) closes
// the earliest open note of its channel and pitch. kBarOrTempo: not exactly
// two leading tempo/time-signature events, or values that give no bar
// length or tempo.
MidiResult read_midi(engine::MusicNoteTable& table, engine::TimeSettings& time,
                     const char* file_name);
// The same from an open binary stream (kCannotOpen when it is null); the
// caller closes it. When `meters` says to follow them, a later time
// signature that changes the meter starts a meter change at its bar;
// kMeterNotFollowed, with the problem place saying where, when it does not
// fall on a bar line or the meter cannot be taken.
MidiResult read_midi(engine::MusicNoteTable& table, engine::TimeSettings& time, std::FILE* file,
                     MeterFollowing* meters = nullptr);

}  // namespace zelvo::harmonizer
