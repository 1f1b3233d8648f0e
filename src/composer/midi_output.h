#pragma once

#include "composer/note_events.h"
#include "composer/timing.h"
#include "midi/engine_track.h"

namespace zelvo::composer {

// outco.mid in memory: the note events as a track, then the file's bytes.
// Part of the composer's state, so it is allocated once.
struct MidiImage : midi::FileImage {
  midi::TrackEvents track;
};

static_assert(kMaxEvents <= midi::kMaxTrackEvents, "every event fits the track");

using MidiEncodeResult = midi::EncodeResult;

// Encodes the first table.count events, which must be sorted by time
// (times filled by compute_times), with the composer's timing: division
// 4 * clicks-semic, the time signature, 60000000 / tempo microseconds per
// quarter note. Fails only on a delta time that a MIDI variable-length
// quantity cannot hold. REQUIRES: tempo > 0.
MidiEncodeResult encode_midi_file(const NoteTable& table, const ComposerTiming& timing, MidiImage& image);

}  // namespace zelvo::composer
