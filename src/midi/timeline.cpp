#include "midi/timeline.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "midi/bytes.h"
#include "midi/codec.h"
#include "midi/file_layout.h"

namespace zelvo::midi {

namespace {

// Today's wording of each fault, as the roll and the player print it.
std::string describe(const ParseResult& result, const Song& song) {
  const std::string where = "track " + std::to_string(result.track);
  switch (result.code) {
    case ParseCode::kRead: return {};
    case ParseCode::kNotMidi: return "not a MIDI file";
    case ParseCode::kDamagedHeader: return "not a MIDI file (damaged header)";
    case ParseCode::kUnsupportedFormat:
      return "MIDI format " + std::to_string(song.format) + " is not supported (only 0 and 1)";
    case ParseCode::kTimeCode: return "time code divisions are not supported (only ticks per quarter note)";
    case ParseCode::kFileEndsInsideTrack: return "the file ends inside track " + std::to_string(result.track);
    case ParseCode::kFileEndsBeforeTrack:
      return "the file ends before track " + std::to_string(result.track) + " of " +
             std::to_string(song.declared_tracks);
    case ParseCode::kEndsInsideDelta: return where + " ends inside a delta time";
    case ParseCode::kEndsAfterDelta: return where + " ends after a delta time";
    case ParseCode::kTooLong: return where + " lasts too long";
    case ParseCode::kEndsInsideMeta: return where + " ends inside a meta event";
    case ParseCode::kEndsInsideExclusive: return where + " ends inside a system exclusive message";
    case ParseCode::kNoStatus: return where + " has data without a status byte";
    case ParseCode::kUnknownStatus: return where + " has an unknown status byte";
    case ParseCode::kEndsInsideEvent: return where + " ends inside an event";
  }
  return {};
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

bool read_timeline(std::string_view bytes, Timeline& song, std::string& error) {
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
      if (song.events.size() >= kMaxTimelineEvents) {
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
                   [](const TimelineEvent& a, const TimelineEvent& b) { return a.tick < b.tick; });
  return true;
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

bool read_timeline_file(const std::string& path, Timeline& song, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!read_timeline(bytes, song, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace zelvo::midi
