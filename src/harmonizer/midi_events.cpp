#include "harmonizer/midi_events.h"

#include <optional>
#include <string>
#include <vector>

#include "base/message_id.h"
#include "midi/bytes.h"
#include "midi/codec.h"
#include "midi/file_layout.h"
#include "midi/timeline.h"
#include "midi/write.h"

namespace zelvo::harmonizer {

using enum base::MessageId;

namespace {

using midi::Departure;
using midi::ParseCode;

// outco.mid as the harmonizer has always read it: at the composer's fixed
// places whatever the header and the chunk say (a format whose low byte is
// 0, any division), the leading meta events each after one byte, numbers
// of any length and no bound on time, system exclusive messages up to their
// F7 with running status going on through them, other system statuses with
// two data bytes, and a meta event cut short by the file's end kept, for a
// time signature or tempo there is still shown.
constexpr midi::ParseOptions kOutcoReading = midi::ParseOptions{}
                                                 .accept(Departure::kFixedLayout)
                                                 .accept(Departure::kFormat)
                                                 .accept(Departure::kTimeCode)
                                                 .accept(Departure::kLeadingMetas)
                                                 .accept(Departure::kLongNumber)
                                                 .accept(Departure::kLongTrack)
                                                 .accept(Departure::kExclusiveToF7)
                                                 .accept(Departure::kStatusThroughExclusive)
                                                 .accept(Departure::kUnknownStatus)
                                                 .accept(Departure::kCutMeta);

uint8_t byte(std::string_view data, size_t i) { return static_cast<uint8_t>(data[i]); }

// A tempo or time signature among the leading meta events, counted; false
// for one that gives no tempo or bar length.
bool leading_event(const midi::SongEvent& event, std::string_view data, MidiEventSink& sink, int32_t& counted) {
  if (event.data1 == midi::kMetaTempo) {
    const uint32_t micros = midi::tempo_micros(data);
    if (data.size() < 3 || micros == 0) return false;
    sink.tempo(static_cast<int32_t>(micros));
    ++counted;
  } else if (event.data1 == midi::kMetaTimeSignature) {
    // 2 to the power of the exponent must fit a 32-bit beat unit.
    if (data.size() < 2 || byte(data, 1) > 30) return false;
    sink.time_signature(byte(data, 0), byte(data, 1));
    ++counted;
  }
  return true;
}

// An event after the leading ones: notes, and a time signature or tempo
// whose first bytes are there.
base::Status later_event(const midi::SongEvent& event, std::string_view data, MidiEventSink& sink) {
  if (event.status == midi::kMetaEvent) {
    if (event.data1 == midi::kMetaTimeSignature && data.size() >= 2) {
      return sink.later_time_signature(event.tick, byte(data, 0), byte(data, 1));
    }
    const uint32_t micros = midi::tempo_micros(data);
    if (event.data1 == midi::kMetaTempo && data.size() >= 3 && micros > 0) {
      sink.later_tempo(event.tick, static_cast<int32_t>(micros));
    }
    return base::Status();
  }
  const uint8_t kind = event.status & 0xF0;
  const int32_t channel = (event.status & 0x0F) + 1;
  if (kind == midi::kNoteOn && event.data2 != 0) {
    sink.note_on(event.tick, channel, event.data1, event.data2);
  } else if (kind == midi::kNoteOn || kind == midi::kNoteOff) {
    sink.note_off(event.tick, channel, event.data1);
  }
  return base::Status();
}

// Where the leading meta events of `merged` end when it is written in the
// merged layout and those bytes are read as above; none when that reading
// would not read its events as they are, and the bytes must be read: an
// event other than a channel message or a meta event that does not end the
// track, a silence past four bytes, a leading meta event after a silence
// (the one-byte delta of a leading event adds nothing to the time), or so
// long a silence before the first later event (or the end) that the
// second byte of its delta could read as a meta event's status.
std::optional<size_t> leading_end_as_written(const midi::Song& merged) {
  if (merged.format != midi::kFormat0 || merged.tracks.size() != 1 || merged.division > 0xFFFF) return std::nullopt;
  const midi::SongTrack& track = merged.tracks.front();
  int64_t previous = 0;
  for (const midi::SongEvent& event : track.events) {
    const bool meta = event.status == midi::kMetaEvent && event.data1 != midi::kMetaEndOfTrack;
    const bool channel = event.status >= midi::kStatusBit && event.status < midi::kSystemExclusive;
    const int64_t delta = event.tick - previous;
    if ((!meta && !channel) || delta < 0 || delta > midi::kMaxVarLength) return std::nullopt;
    previous = event.tick;
  }
  if (track.end_tick < previous || track.end_tick - previous > midi::kMaxVarLength) return std::nullopt;
  const std::vector<midi::SongEvent>& events = track.events;
  size_t e = 0;
  for (; e < events.size(); ++e) {
    const midi::SongEvent& event = events[e];
    // The writer widens the delta of a later change of time signature or
    // tempo among the opening meta events, so that it reads as a change.
    const bool widened = e >= 2 && (event.data1 == midi::kMetaTempo || event.data1 == midi::kMetaTimeSignature);
    if (event.status != midi::kMetaEvent || widened || event.tick >= 0x80) break;
    if (event.tick != 0) return std::nullopt;
  }
  const int64_t first_later = e < events.size() ? events[e].tick : track.end_tick;
  if (first_later >= 1 << 14) return std::nullopt;
  return e;
}

// Where the leading meta events end; none when the file ends among them.
const midi::DepartureMet* leading_end(const midi::ParseResult& read) {
  for (const midi::DepartureMet& met : read.departures) {
    if (met.departure == Departure::kLeadingMetas) return &met;
  }
  return nullptr;
}

// The track's events to the sink: those before `lead_end` as the leading
// ones, the rest as later ones. A file cut short among its leading events
// (`cut_among_leading`) ends once they are read.
base::Status send_events(const midi::SongTrack& track, size_t lead_end, bool cut_among_leading, MidiEventSink& sink,
                         const char* name) {
  const std::vector<midi::SongEvent>& events = track.events;
  size_t e = 0;
  int32_t counted = 0;
  for (; e < lead_end; ++e) {
    if (!leading_event(events[e], track.data(events[e]), sink, counted)) return base::Message(kMidiBarOrTempo, name);
  }
  if (cut_among_leading) return base::Message(kMidiUnexpectedEnd, name);
  if (base::Status timed = sink.leading_events_read(counted); !timed.ok()) return timed;
  for (; e < events.size(); ++e) {
    if (base::Status later = later_event(events[e], track.data(events[e]), sink); !later.ok()) return later;
  }
  return base::Status();
}

}  // namespace

base::Status read_midi_events(std::string_view bytes, MidiEventSink& sink, const char* name) {
  if (bytes.size() < sizeof midi::kHeaderId) return base::Message(kMidiCannotRead, name);
  const auto cut_short = [name] { return base::Message(kMidiUnexpectedEnd, name); };
  midi::Song song;
  const midi::ParseResult read = midi::parse(bytes, song, kOutcoReading);
  if (read.code == ParseCode::kNotMidi) return base::Message(kMidiNotMidi, name);
  // A header cut short: its format is checked when it is there.
  const bool cut = read.code == ParseCode::kDamagedHeader;
  if (cut && read.offset <= midi::kFormatAt) return cut_short();
  if ((song.format & 0xFF) != midi::kFormat0) return base::Message(kMidiNotFormat0, name);
  if (cut) return cut_short();
  sink.division(static_cast<int32_t>(song.division));
  if (song.tracks.empty()) return cut_short();
  const midi::SongTrack& track = song.tracks.front();
  const std::vector<midi::SongEvent>& events = track.events;
  const midi::DepartureMet* lead = leading_end(read);
  size_t lead_end = 0;
  while (lead_end < events.size() && (lead == nullptr || events[lead_end].offset < lead->offset)) ++lead_end;
  if (base::Status sent = send_events(track, lead_end, lead == nullptr, sink, name); !sent.ok()) return sent;
  if (read.code == ParseCode::kNoStatus) return base::Message(kMidiNotMidi, name);
  if (!read.ok()) return cut_short();
  return base::Status();
}

base::Status read_midi_events(const midi::Song& merged, MidiEventSink& sink, const char* name) {
  const std::optional<size_t> lead_end = leading_end_as_written(merged);
  if (!lead_end) {
    std::string bytes;
    (void)midi::write(merged, midi::kMergedLayout, bytes);  // what it wrote is read, as ever
    return read_midi_events(bytes, sink, name);
  }
  sink.division(static_cast<int32_t>(merged.division));
  return send_events(merged.tracks.front(), *lead_end, false, sink, name);
}

}  // namespace zelvo::harmonizer
