#pragma once

#include <cstdint>
#include <cstdio>

#include "base/status.h"
#include "engine/model.h"
#include "engine/settings.h"
#include "harmonizer/midi_events.h"

namespace zelvo::harmonizer {

// Note-ons beyond are ignored: the music note table grows to its memory bound.
constexpr int32_t kMaxMidiNotes = engine::kMaxMusicNotes - 2;

// Reads a format 0 Standard MIDI File whose track begins with its tempo and
// time-signature events (the composer's outco.mid) from an open binary
// stream into `table`, one record per note-on in order, Inst = channel + 1,
// and sets every time setting from it: clicks-semic = division / 4,
// clicks-parte = division * 4 / compas-den. Running status is followed; a
// note-off (or note-on with velocity 0) closes the earliest open note of its
// channel and pitch. Besides the faults read_midi_events refuses, the file
// is refused when it has not exactly two leading tempo/time-signature
// events, or values that give no bar length or tempo, and, when
// `follow_meter_changes`, when a later time signature that changes the meter
// does not fall on a bar line or its meter cannot be taken (a later change
// starts at its bar). A null `file` cannot be read. Messages name the file
// as `name`.
base::Status read_midi(engine::MusicNoteTable& table, engine::TimeSettings& time, std::FILE* file, const char* name,
                       bool follow_meter_changes = false);
// The same from the one track the score intake merged a multi-track file
// into, as if it had been written and read (read_midi_events).
base::Status read_midi(engine::MusicNoteTable& table, engine::TimeSettings& time, const midi::Song& merged,
                       const char* name, bool follow_meter_changes);

}  // namespace zelvo::harmonizer
