#include "midi/timeline.h"

#include <algorithm>

#include "files/whole_file.h"
#include "midi/bytes.h"
#include "midi/codec.h"
#include "midi/file_layout.h"

namespace zelvo::midi {

namespace {

// The fault as the roll, the player and the renders tell it, after `where`
// (a file's name and a colon, or nothing).
base::Message describe(const ParseResult& result, const Song& song, const std::string& where) {
  using enum base::MessageId;
  const int64_t track = result.track;
  switch (result.code) {
    case ParseCode::kRead: break;
    case ParseCode::kNotMidi: return base::Message(kNotAMidiFile, where);
    case ParseCode::kDamagedHeader: return base::Message(kMidiDamagedHeader, where);
    case ParseCode::kUnsupportedFormat: return base::Message(kMidiUnsupportedFormat, where, int64_t{song.format});
    case ParseCode::kTimeCode: return base::Message(kMidiTimeCode, where);
    case ParseCode::kFileEndsInsideTrack: return base::Message(kMidiEndsInsideTrack, where, track);
    case ParseCode::kFileEndsBeforeTrack:
      return base::Message(kMidiEndsBeforeTrack, where, track, int64_t{song.declared_tracks});
    case ParseCode::kEndsInsideDelta: return base::Message(kMidiEndsInsideDelta, where, track);
    case ParseCode::kEndsAfterDelta: return base::Message(kMidiEndsAfterDelta, where, track);
    case ParseCode::kTooLong: return base::Message(kMidiTrackTooLong, where, track);
    case ParseCode::kEndsInsideMeta: return base::Message(kMidiEndsInsideMeta, where, track);
    case ParseCode::kEndsInsideExclusive: return base::Message(kMidiEndsInsideExclusive, where, track);
    case ParseCode::kNoStatus: return base::Message(kMidiNoStatus, where, track);
    case ParseCode::kUnknownStatus: return base::Message(kMidiUnknownStatus, where, track);
    case ParseCode::kEndsInsideEvent: return base::Message(kMidiEndsInsideEvent, where, track);
  }
  return base::Message(kInternalError, "a MIDI file read without a fault has none to tell");
}

// The event as a decoded track holds it; false for the meta events no
// reader takes. `as_written`: data bytes as the file has them (top bit and
// all), else as seven-bit values.
bool decode_event(const SongTrack& track, const SongEvent& in, bool as_written, TimelineEvent& event) {
  event.tick = in.tick;
  if (in.status == kMetaEvent) {
    const std::string_view data = track.data(in);
    if (in.data1 == kMetaTempo && data.size() == 3) {
      event.kind = EventKind::kTempo;
      event.value = static_cast<int32_t>(tempo_micros(data));
      return true;
    }
    if ((in.data1 == kMetaTimeSignature || in.data1 == kMetaKeySignature) && data.size() >= 2) {
      event.kind = in.data1 == kMetaTimeSignature ? EventKind::kTimeSignature : EventKind::kKeySignature;
      event.data1 = static_cast<uint8_t>(data[0]);
      event.data2 = static_cast<uint8_t>(data[1]);
      return true;
    }
    return false;
  }
  if (in.status >= kSystemExclusive) {
    event.kind = EventKind::kSystem;
    return true;
  }
  event.channel = in.status & 0x0F;
  const uint8_t mask = as_written ? 0xFF : 0x7F;
  event.data1 = in.data1 & mask;
  event.data2 = in.data2 & mask;
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

// Whether the timeline a listener hears keeps the decoded event: not a
// tempo of 0, a meter of no beats or of a unit below a sixty-fourth, a key
// signature or a system message.
bool heard(const TimelineEvent& event) {
  switch (event.kind) {
    case EventKind::kTempo: return event.value != 0;
    case EventKind::kTimeSignature: return event.data1 != 0 && event.data2 <= 6;
    case EventKind::kKeySignature:
    case EventKind::kSystem: return false;
    default: return true;
  }
}

}  // namespace

uint32_t tempo_micros(std::string_view data) { return static_cast<uint32_t>(get_be(data, 0, 3)); }

base::Status read_timeline(std::string_view bytes, Timeline& song, const std::string& source) {
  const std::string where = source.empty() ? std::string() : source + ": ";
  song = Timeline{};
  Song parsed;
  const ParseResult result = parse(bytes, parsed);
  // Events are counted in file order up to the fault, which is told only
  // when the count stays within the bound.
  for (const SongTrack& track : parsed.tracks) {
    song.end_tick = std::max(song.end_tick, track.end_tick);
    for (const SongEvent& in : track.events) {
      TimelineEvent event;
      if (!decode_event(track, in, false, event) || !heard(event)) continue;
      if (song.events.size() >= kMaxTimelineEvents) return base::Message(base::MessageId::kMidiTooManyEvents, where);
      song.events.push_back(event);
    }
  }
  if (!result.ok()) return describe(result, parsed, where);
  song.division = static_cast<int32_t>(parsed.division);
  // Tracks were read one after another: a stable sort keeps each tick's
  // events in track order and file order.
  std::stable_sort(song.events.begin(), song.events.end(),
                   [](const TimelineEvent& a, const TimelineEvent& b) { return a.tick < b.tick; });
  return base::Status();
}

Timeline decode_track(const SongTrack& track, int32_t division) {
  Timeline decoded;
  decoded.division = division;
  decoded.end_tick = track.end_tick;
  for (const SongEvent& in : track.events) {
    TimelineEvent event;
    if (decode_event(track, in, true, event)) decoded.events.push_back(event);
  }
  return decoded;
}

base::Status read_timeline_file(const std::string& path, Timeline& song) {
  std::string bytes;
  if (!files::read_whole(path, bytes)) return base::Message(base::MessageId::kMidiFileUnreadable, path);
  return read_timeline(bytes, song, path);
}

}  // namespace zelvo::midi
