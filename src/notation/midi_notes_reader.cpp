#include <algorithm>

#include "midi/bytes.h"
#include "midi/codec.h"
#include "midi/file_layout.h"
#include "midi/timeline.h"
#include "midi/write.h"
#include "notation/midi_notation.h"

namespace zelvo::notation {

namespace {

using midi::Departure;
using midi::EventKind;

// The merged track as the notation has always read it: a delta of more
// than four bytes (a long silence) read as its first four, a fault ending
// the notes where it stands. (A meta event's length is one byte in what the
// merge writes.)
constexpr midi::ParseOptions kNotesReading = midi::ParseOptions{}
                                                 .accept(Departure::kTimeCode)
                                                 .accept(Departure::kFourthByteEnds)
                                                 .accept(Departure::kLongTrack)
                                                 .accept(Departure::kDamagedTrack);

// The notes of the merged track, decoded as written (midi::decode_track).
MidiNotes notes_of(const midi::Timeline& track) {
  MidiNotes midi;
  // A division of 0 (no tick is any length) is read as one tick a quarter note.
  midi.division = std::max(1, static_cast<int>(track.division));
  midi.meters.clear();
  bool tempo_seen = false;
  int64_t tick = track.end_tick;
  std::vector<size_t> open;
  for (const midi::TimelineEvent& event : track.events) {
    const int channel = event.channel;
    switch (event.kind) {
      case EventKind::kTimeSignature:
        if (event.data1 == 0) break;
        if (!midi.meters.empty() && midi.meters.back().tick == event.tick) midi.meters.pop_back();
        midi.meters.push_back({event.tick, event.data1, 1 << std::min<int>(event.data2, 6)});
        break;
      case EventKind::kKeySignature: {
        const int fifths = static_cast<int8_t>(event.data1);
        if (!midi.keys.empty() && midi.keys.back().tick == event.tick) midi.keys.pop_back();
        midi.keys.push_back({event.tick, Key{std::clamp(fifths, -7, 7), event.data2 == 1}});
        break;
      }
      case EventKind::kTempo:
        if (tempo_seen) break;
        midi.tempo = event.value == 0 ? 120 : static_cast<int>(60000000 / static_cast<uint32_t>(event.value));
        tempo_seen = true;
        break;
      case EventKind::kProgram:
        if (midi.programs[static_cast<size_t>(channel)] < 0) midi.programs[static_cast<size_t>(channel)] = event.data1 & 0x7F;
        break;
      case EventKind::kNoteOn:
        open.push_back(midi.notes.size());
        midi.notes.push_back(SoundingNote{channel, event.tick, -1, event.data1});
        break;
      case EventKind::kNoteOff:
        for (auto it = open.begin(); it != open.end(); ++it) {
          SoundingNote& note = midi.notes[*it];
          if (note.channel != channel || note.pitch != event.data1) continue;
          note.length = event.tick - note.start;
          open.erase(it);
          break;
        }
        break;
      case EventKind::kSystem:  // the merged track holds none: the notes end there
        tick = event.tick;
        goto ended;
      case EventKind::kKeyPressure:
      case EventKind::kController:
      case EventKind::kChannelPressure:
      case EventKind::kPitchBend: break;
    }
  }
ended:
  for (const size_t index : open) midi.notes[index].length = tick - midi.notes[index].start;
  if (midi.meters.empty() || midi.meters.front().tick != 0) midi.meters.insert(midi.meters.begin(), {0, 4, 4});
  return midi;
}

// The song's first track decoded; `cut`: its last event is a channel event
// cut short by the end, and not a note.
MidiNotes notes_of(const midi::Song& song, bool cut) {
  const int32_t division = static_cast<int32_t>(song.division);
  if (song.tracks.empty()) return notes_of(midi::decode_track(midi::SongTrack{}, division));
  if (!cut || song.tracks.front().events.empty()) return notes_of(midi::decode_track(song.tracks.front(), division));
  midi::SongTrack whole = song.tracks.front();
  whole.events.pop_back();
  return notes_of(midi::decode_track(whole, division));
}

}  // namespace

MidiNotes read_midi_notes(std::string_view format0) {
  midi::Song song;
  const midi::ParseResult result = midi::parse(format0, song, kNotesReading);
  bool cut = false;
  for (const midi::DepartureMet& met : result.departures) {
    cut = cut || (met.departure == Departure::kDamagedTrack && met.fault == midi::ParseCode::kEndsInsideEvent);
  }
  return notes_of(song, cut);
}

MidiNotes read_midi_notes(const midi::Song& merged) {
  // The merged track read as it is reads as its bytes do, but for a delta
  // past four bytes (a silence of 2^28 ticks or more), which the bytes'
  // reading cuts short: then the bytes are read.
  for (const midi::SongTrack& track : merged.tracks) {
    int64_t previous = 0;
    for (const midi::SongEvent& event : track.events) {
      if (event.tick - previous > midi::kMaxVarLength) {
        std::string format0;
        (void)midi::write(merged, midi::kMergedLayout, format0);
        return read_midi_notes(format0);
      }
      previous = event.tick;
    }
  }
  return notes_of(merged, false);
}

void add_key_from_notes(MidiNotes& midi) {
  if (!midi.keys.empty()) return;
  std::vector<int> pitches;
  std::vector<int64_t> lengths;
  for (const SoundingNote& note : midi.notes) {
    pitches.push_back(note.pitch);
    lengths.push_back(note.length);
  }
  midi.keys.push_back({0, estimate_key(pitches, lengths)});
}

}  // namespace zelvo::notation
