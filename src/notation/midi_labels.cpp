#include <algorithm>
#include <utility>

#include "intake/midi_merge.h"
#include "midi/bytes.h"
#include "midi/codec.h"
#include "midi/file_layout.h"
#include "midi/timeline.h"
#include "notation/midi_notation.h"

namespace zelvo::notation {

namespace {

using midi::Departure;

// Labels are taken from whatever a file holds: every chunk, past damage and
// past the end marker, a track keeping what it had before a fault.
constexpr midi::ParseOptions kLabelReading = midi::ParseOptions{}
                                                 .accept(Departure::kHeaderLength)
                                                 .accept(Departure::kFormat)
                                                 .accept(Departure::kTimeCode)
                                                 .accept(Departure::kCutChunk)
                                                 .accept(Departure::kTrackCount)
                                                 .accept(Departure::kFourthByteEnds)
                                                 .accept(Departure::kLongTrack)
                                                 .accept(Departure::kStatusThroughExclusive)
                                                 .accept(Departure::kUnknownStatus)
                                                 .accept(Departure::kPastEndOfTrack)
                                                 .accept(Departure::kDamagedTrack);

// One track: its tempo changes, and its name with the first channel it plays on.
void read_track(const midi::SongTrack& track, MidiNotes& midi) {
  for (const midi::TimelineEvent& event : midi::decode_track(track, 0).events) {
    if (event.kind == midi::EventKind::kTempo && event.value > 0) {
      midi.tempos.push_back({event.tick, static_cast<int>(60000000 / static_cast<uint32_t>(event.value))});
    }
  }
  std::string name;
  int channel = -1;
  for (const midi::SongEvent& event : track.events) {
    if (event.status == midi::kMetaEvent) {
      if (event.data1 == 0x03 && name.empty()) name = track.data(event);
    } else if (event.status != midi::kSystemExclusive && event.status != midi::kEndOfExclusive && channel < 0) {
      // Any other status, a system one among them, is taken as a channel's.
      channel = event.status & 0x0F;
    }
  }
  if (channel >= 0 && !name.empty() && midi.names[static_cast<size_t>(channel)].empty()) {
    midi.names[static_cast<size_t>(channel)] = name;
  }
}

void read_labels(const midi::Song& song, MidiNotes& midi) {
  midi.tempos.clear();
  for (const midi::SongTrack& track : song.tracks) read_track(track, midi);
  std::stable_sort(midi.tempos.begin(), midi.tempos.end(),
                   [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
}

}  // namespace

void read_midi_labels(std::string_view file, MidiNotes& midi) {
  midi::Song song;
  if (midi::parse(file, song, kLabelReading).code == midi::ParseCode::kNotMidi) return;
  read_labels(song, midi);
}

intake::MidiMerge read_midi_with_labels(std::string_view file, MidiNotes& midi) {
  midi::Song song;
  const midi::ParseResult read = midi::parse(file, song, kLabelReading);
  // The labels first: the merge takes the song's memory.
  MidiNotes labels;
  read_labels(song, labels);
  midi::Song merged;
  const intake::MidiMerge answer = intake::merge_parsed_midi(file, song, read, merged);
  if (answer != intake::MidiMerge::kMerged) return answer;
  midi = read_midi_notes(merged);
  merged = midi::Song{};  // its memory serves the layout of the notes
  // The notes carry neither tempo changes nor names: the labels give both.
  midi.tempos = std::move(labels.tempos);
  midi.names = std::move(labels.names);
  return answer;
}

}  // namespace zelvo::notation
