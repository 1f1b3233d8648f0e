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

// The merged track as the notation has always read it: a delta of more
// than four bytes (a long silence) read as its first four, a fault ending
// the notes where it stands. (A meta event's length is one byte in what the
// merge writes.)
constexpr midi::ParseOptions kNotesReading = midi::ParseOptions{}
                                                 .accept(Departure::kTimeCode)
                                                 .accept(Departure::kFourthByteEnds)
                                                 .accept(Departure::kLongTrack)
                                                 .accept(Departure::kDamagedTrack);

// The notes of the song's first track; `cut`: its last event is a channel
// event cut short by the end, and not a note.
MidiNotes notes_of(const midi::Song& song, bool cut) {
  MidiNotes midi;
  // A division of 0 (no tick is any length) is read as one tick a quarter note.
  midi.division = std::max(1, static_cast<int>(song.division));
  midi.meters.clear();
  bool tempo_seen = false;
  const midi::SongTrack none;
  const midi::SongTrack& track = song.tracks.empty() ? none : song.tracks.front();
  const std::vector<midi::SongEvent>& events = track.events;
  int64_t tick = track.end_tick;
  std::vector<size_t> open;
  for (size_t e = 0; e + (cut ? 1 : 0) < events.size(); ++e) {
    const midi::SongEvent& event = events[e];
    const std::string_view data = track.data(event);
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(data[i]); };
    if (event.status == midi::kMetaEvent) {
      const uint8_t type = event.data1;
      if (type == midi::kMetaTimeSignature && data.size() >= 2 && byte(0) > 0) {
        if (!midi.meters.empty() && midi.meters.back().tick == event.tick) midi.meters.pop_back();
        midi.meters.push_back({event.tick, byte(0), 1 << std::min<int>(byte(1), 6)});
      } else if (type == 0x59 && data.size() >= 2) {
        const int fifths = static_cast<int8_t>(byte(0));
        if (!midi.keys.empty() && midi.keys.back().tick == event.tick) midi.keys.pop_back();
        midi.keys.push_back({event.tick, Key{std::clamp(fifths, -7, 7), byte(1) == 1}});
      } else if (type == midi::kMetaTempo && data.size() == 3 && !tempo_seen) {
        const uint32_t tempo = midi::tempo_micros(data);
        midi.tempo = tempo == 0 ? 120 : static_cast<int>(60000000 / tempo);
        tempo_seen = true;
      }
      continue;
    }
    if (event.status >= midi::kSystemExclusive) {  // the merged track holds no system messages
      tick = event.tick;
      break;
    }
    const uint8_t kind = event.status & 0xF0;
    const int channel = event.status & 0x0F;
    const int pitch = event.data1;
    if (kind == midi::kProgramChange && midi.programs[static_cast<size_t>(channel)] < 0) {
      midi.programs[static_cast<size_t>(channel)] = pitch & 0x7F;
    }
    if (kind == midi::kNoteOn && event.data2 > 0) {
      open.push_back(midi.notes.size());
      midi.notes.push_back(SoundingNote{channel, event.tick, -1, pitch});
    } else if (kind == midi::kNoteOff || kind == midi::kNoteOn) {
      for (auto it = open.begin(); it != open.end(); ++it) {
        SoundingNote& note = midi.notes[*it];
        if (note.channel != channel || note.pitch != pitch) continue;
        note.length = event.tick - note.start;
        open.erase(it);
        break;
      }
    }
  }
  for (const size_t index : open) midi.notes[index].length = tick - midi.notes[index].start;
  if (midi.meters.empty() || midi.meters.front().tick != 0) midi.meters.insert(midi.meters.begin(), {0, 4, 4});
  return midi;
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
