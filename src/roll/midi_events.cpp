#include "roll/midi_events.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "midi/bytes.h"
#include "midi/codec.h"
#include "midi/file_layout.h"

namespace zelvo::roll {

namespace {

// Today's wording of each fault, as the roll and the player print it.
std::string describe(const midi::ParseResult& result, const midi::Song& song) {
  const std::string where = "track " + std::to_string(result.track);
  switch (result.code) {
    case midi::ParseCode::kRead: return {};
    case midi::ParseCode::kNotMidi: return "not a MIDI file";
    case midi::ParseCode::kDamagedHeader: return "not a MIDI file (damaged header)";
    case midi::ParseCode::kUnsupportedFormat:
      return "MIDI format " + std::to_string(song.format) + " is not supported (only 0 and 1)";
    case midi::ParseCode::kTimeCode: return "time code divisions are not supported (only ticks per quarter note)";
    case midi::ParseCode::kFileEndsInsideTrack: return "the file ends inside track " + std::to_string(result.track);
    case midi::ParseCode::kFileEndsBeforeTrack:
      return "the file ends before track " + std::to_string(result.track) + " of " +
             std::to_string(song.declared_tracks);
    case midi::ParseCode::kEndsInsideDelta: return where + " ends inside a delta time";
    case midi::ParseCode::kEndsAfterDelta: return where + " ends after a delta time";
    case midi::ParseCode::kTooLong: return where + " lasts too long";
    case midi::ParseCode::kEndsInsideMeta: return where + " ends inside a meta event";
    case midi::ParseCode::kEndsInsideExclusive: return where + " ends inside a system exclusive message";
    case midi::ParseCode::kNoStatus: return where + " has data without a status byte";
    case midi::ParseCode::kUnknownStatus: return where + " has an unknown status byte";
    case midi::ParseCode::kEndsInsideEvent: return where + " ends inside an event";
  }
  return {};
}

// The event as the roll keeps it; false for those it passes over.
bool roll_event(const midi::SongTrack& track, const midi::SongEvent& in, MidiEvent& event) {
  event.tick = in.tick;
  if (in.status == midi::kMetaEvent) {
    const std::string_view data = track.data(in);
    if (in.data1 == midi::kMetaTempo && data.size() == 3) {
      event.kind = EventKind::kTempo;
      event.value = static_cast<int32_t>(midi::get_be(data, 0, 3));
      return event.value != 0;
    }
    if (in.data1 == midi::kMetaTimeSignature && data.size() >= 2) {
      event.kind = EventKind::kTimeSignature;
      event.data1 = static_cast<uint8_t>(data[0]);
      event.data2 = static_cast<uint8_t>(data[1]);
      return event.data1 != 0 && event.data2 <= 6;
    }
    return false;
  }
  if (in.status == midi::kSystemExclusive || in.status == midi::kEndOfExclusive) return false;
  event.channel = in.status & 0x0F;
  event.data1 = in.data1 & 0x7F;
  event.data2 = in.data2 & 0x7F;
  switch (in.status & 0xF0) {
    case 0x80: event.kind = EventKind::kNoteOff; break;
    case 0x90: event.kind = event.data2 == 0 ? EventKind::kNoteOff : EventKind::kNoteOn; break;
    case 0xA0: event.kind = EventKind::kKeyPressure; break;
    case 0xB0: event.kind = EventKind::kController; break;
    case 0xC0: event.kind = EventKind::kProgram; break;
    case 0xD0: event.kind = EventKind::kChannelPressure; break;
    default:
      event.kind = EventKind::kPitchBend;
      event.value = event.data1 | (event.data2 << 7);
      break;
  }
  return true;
}

}  // namespace

bool read_midi(std::string_view bytes, MidiSong& song, std::string& error) {
  song = MidiSong{};
  midi::Song parsed;
  const midi::ParseResult result = midi::parse(bytes, parsed);
  // Events are counted in file order up to the fault, which is told only
  // when the count stays within the bound.
  for (const midi::SongTrack& track : parsed.tracks) {
    song.end_tick = std::max(song.end_tick, track.end_tick);
    for (const midi::SongEvent& in : track.events) {
      MidiEvent event;
      if (!roll_event(track, in, event)) continue;
      if (song.events.size() >= kMaxEvents) {
        error = "too many events";
        return false;
      }
      song.events.push_back(event);
    }
  }
  if (!result.ok()) {
    error = describe(result, parsed);
    return false;
  }
  song.division = static_cast<int32_t>(parsed.division);
  // Tracks were read one after another: a stable sort keeps each tick's
  // events in track order and file order.
  std::stable_sort(song.events.begin(), song.events.end(),
                   [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
  return true;
}

bool read_midi_file(const std::string& path, MidiSong& song, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!read_midi(bytes, song, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace zelvo::roll
