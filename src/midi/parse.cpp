#include <algorithm>
#include <string_view>

#include "midi/bytes.h"
#include "midi/codec.h"
#include "midi/file_layout.h"

namespace zelvo::midi {

namespace {

constexpr size_t kChunkHeader = 8;  // type and length

ParseResult failed(ParseCode code, uint32_t track, size_t offset) {
  ParseResult result;
  result.code = code;
  result.track = track;
  result.offset = static_cast<uint32_t>(offset);
  return result;
}

// The departures accepted and those met: the first of each kind in each
// track goes into the result.
class Leniency {
 public:
  Leniency(const ParseOptions& options, ParseResult& result) : options_(options), result_(result) {}
  bool accepts(Departure d) const { return options_.accepts(d); }
  // True when `d` is accepted, noting it; false when it is a fault.
  bool take(Departure d, uint32_t track, size_t offset, ParseCode fault = ParseCode::kRead) {
    if (!options_.accepts(d)) return false;
    for (const DepartureMet& m : result_.departures) {
      if (m.departure == d && m.track == track) return true;
    }
    result_.departures.push_back({d, track, static_cast<uint32_t>(offset), fault});
    return true;
  }

 private:
  const ParseOptions& options_;
  ParseResult& result_;
};

// One track chunk with a read position; every read checks the chunk's end.
class TrackBytes {
 public:
  TrackBytes(std::string_view file, size_t start, size_t length, uint32_t track, Leniency& leniency)
      : file_(file), at_(start), end_(start + length), track_(track), leniency_(leniency) {}
  bool done() const { return at_ >= end_; }
  size_t at() const { return at_; }
  uint32_t track() const { return track_; }
  Leniency& leniency() { return leniency_; }
  bool byte(uint8_t& out) {
    if (done()) return false;
    out = static_cast<uint8_t>(file_[at_++]);
    return true;
  }
  // A variable-length quantity: seven-bit groups, bit 7 set on all but the
  // last; four bytes at most unless a departure is accepted. On a fault
  // `out` holds the groups read.
  bool var_length(uint32_t& out) {
    const size_t start = at_;
    out = 0;
    for (int i = 0;; ++i) {
      uint8_t b = 0;
      if (!byte(b)) return false;
      out = (out << 7) | (b & 0x7Fu);
      if ((b & kStatusBit) == 0) return i < 4 || leniency_.take(Departure::kLongNumber, track_, start);
      if (i == 3) {
        if (leniency_.take(Departure::kFourthByteEnds, track_, start)) return true;
        if (!leniency_.accepts(Departure::kLongNumber)) return false;
      }
    }
  }
  bool take(uint32_t count, std::string_view& out) {
    if (count > end_ - at_) return false;
    out = file_.substr(at_, count);
    at_ += count;
    return true;
  }
  // The bytes up to and including the next `last`; false when there is none.
  bool take_through(uint8_t last, std::string_view& out) {
    const size_t found = file_.substr(0, end_).find(static_cast<char>(last), at_);
    if (found == std::string_view::npos) return false;
    return take(static_cast<uint32_t>(found + 1 - at_), out);
  }
  void take_rest(std::string_view& out) { take(static_cast<uint32_t>(end_ - at_), out); }
  void back_to(size_t at) { at_ = at; }

 private:
  std::string_view file_;
  size_t at_;
  size_t end_;
  uint32_t track_;
  Leniency& leniency_;
};

// The meta events that start a track (Departure::kLeadingMetas):
// (byte FF type length bytes)*, up to a pair of bytes whose second is not
// FF. Sets `ended` when an end-of-track event among them ends the track.
ParseCode read_leading_metas(TrackBytes& in, SongTrack& track, bool& ended) {
  Leniency& lenient = in.leniency();
  while (!in.done()) {
    const size_t start = in.at();
    uint8_t delta = 0;
    uint8_t status = 0;
    if (!in.byte(delta) || !in.byte(status)) return ParseCode::kEndsAfterDelta;
    if (status != kMetaEvent) {
      lenient.take(Departure::kLeadingMetas, in.track(), start);
      in.back_to(start);
      return ParseCode::kRead;
    }
    uint8_t type = 0;
    uint32_t length = 0;
    std::string_view data;
    const bool head = in.byte(type) && in.var_length(length);
    const bool whole = head && in.take(length, data);
    if (whole && type != kMetaEndOfTrack) {
      SongEvent& event = track.events.emplace_back();
      event.offset = static_cast<uint32_t>(start);
      event.status = kMetaEvent;
      event.data1 = type;
      track.set_data(event, data);
      continue;
    }
    if (!head || type != kMetaEndOfTrack || (!whole && !lenient.take(Departure::kCutMeta, in.track(), start))) {
      return ParseCode::kEndsInsideMeta;
    }
    lenient.take(Departure::kLeadingMetas, in.track(), start);
    ended = !whole || !lenient.take(Departure::kPastEndOfTrack, in.track(), start);
    return ParseCode::kRead;
  }
  return ParseCode::kRead;
}

// A track: (delta time, event)*, where an event is a channel message
// (its status optional: running status), F0 or F7 with a length and bytes,
// or FF with a type, a length and bytes. FF 2F ends the track.
ParseCode read_track(TrackBytes& in, SongTrack& track) {
  Leniency& lenient = in.leniency();
  int64_t tick = 0;
  uint8_t running = 0;
  bool running_past_exclusive = false;
  // Each event is read in its place at the end of the track (no copy of
  // it), and taken back when it is not kept.
  const auto drop = [&track](ParseCode code) {
    track.events.pop_back();
    return code;
  };
  if (lenient.accepts(Departure::kLeadingMetas)) {
    bool ended = false;
    const ParseCode code = read_leading_metas(in, track, ended);
    if (code != ParseCode::kRead || ended) return code;
  }
  const bool unframed = lenient.accepts(Departure::kExclusiveToF7);
  while (!in.done()) {
    SongEvent& event = track.events.emplace_back();
    event.offset = static_cast<uint32_t>(in.at());
    uint32_t delta = 0;
    if (!in.var_length(delta)) {
      if (lenient.accepts(Departure::kDamagedTrack)) track.end_tick = tick + delta;
      return drop(ParseCode::kEndsInsideDelta);
    }
    tick += delta;
    if (tick > kMaxTick && !lenient.take(Departure::kLongTrack, in.track(), event.offset)) {
      return drop(ParseCode::kTooLong);
    }
    track.end_tick = tick;
    event.tick = tick;
    uint8_t status = 0;
    if (!in.byte(status)) return drop(ParseCode::kEndsAfterDelta);
    event.status = status;
    if (status == kMetaEvent) {
      uint32_t length = 0;
      std::string_view data;
      if (!in.byte(event.data1) || !in.var_length(length)) return drop(ParseCode::kEndsInsideMeta);
      if (!in.take(length, data)) {
        if (!lenient.take(Departure::kCutMeta, in.track(), event.offset)) return drop(ParseCode::kEndsInsideMeta);
        if (event.data1 == kMetaEndOfTrack) return drop(ParseCode::kRead);
        in.take_rest(data);
        track.set_data(event, data);
        return ParseCode::kEndsInsideMeta;
      }
      if (event.data1 == kMetaEndOfTrack) {
        const uint32_t offset = event.offset;
        drop(ParseCode::kRead);
        // Met only when something follows the marker in its chunk, so that a
        // reading that met no departure read what a strict one reads.
        if (!in.done() && lenient.take(Departure::kPastEndOfTrack, in.track(), offset)) continue;
        return ParseCode::kRead;
      }
      track.set_data(event, data);
      continue;
    }
    if (unframed && (status == kSystemExclusive || status == kEndOfExclusive)) {
      lenient.take(Departure::kExclusiveToF7, in.track(), event.offset);
    }
    if (status == kSystemExclusive || (status == kEndOfExclusive && !unframed)) {
      uint32_t length = 0;
      std::string_view data;
      const bool whole = unframed ? in.take_through(kEndOfExclusive, data)
                                  : in.var_length(length) && in.take(length, data);
      if (!whole) return drop(ParseCode::kEndsInsideExclusive);
      track.set_data(event, data);
      if (lenient.accepts(Departure::kStatusThroughExclusive)) {
        running_past_exclusive = running != 0;
      } else {
        running = 0;
      }
      continue;
    }
    if (status < kStatusBit) {
      if (running == 0) return drop(ParseCode::kNoStatus);
      if (running_past_exclusive) lenient.take(Departure::kStatusThroughExclusive, in.track(), event.offset);
      event.data1 = status;
      event.status = running;
    } else if (status >= kSystemExclusive && !lenient.take(Departure::kUnknownStatus, in.track(), event.offset)) {
      return drop(ParseCode::kUnknownStatus);
    } else {
      running = status;
      running_past_exclusive = false;
      if (!in.byte(event.data1)) {
        return lenient.accepts(Departure::kDamagedTrack) ? ParseCode::kEndsInsideEvent
                                                         : drop(ParseCode::kEndsInsideEvent);
      }
    }
    const uint8_t kind = event.status & 0xF0;
    if (kind != kProgramChange && kind != kChannelPressure && !in.byte(event.data2)) {
      return lenient.accepts(Departure::kDamagedTrack) ? ParseCode::kEndsInsideEvent
                                                       : drop(ParseCode::kEndsInsideEvent);
    }
  }
  // A track without its end marker ends with its chunk; the fixed layout
  // has no chunk end but the file's.
  return lenient.accepts(Departure::kFixedLayout) ? ParseCode::kFileEndsInsideTrack : ParseCode::kRead;
}

// The chunks after the header: type(4) length(4) bytes; the MTrk chunks are
// the tracks. The result names a fault only: the departures are noted apart.
ParseResult read_chunks(std::string_view bytes, size_t at, Song& song, Leniency& lenient) {
  const bool every_chunk = lenient.accepts(Departure::kTrackCount);
  const auto room = [&] { return at <= bytes.size() ? bytes.size() - at : 0; };
  while ((every_chunk || song.tracks.size() < song.declared_tracks) && room() >= kChunkHeader) {
    const uint32_t number = static_cast<uint32_t>(song.tracks.size()) + 1;
    const std::string_view type = bytes.substr(at, 4);
    uint32_t length = get_be(bytes, at + 4, 4);
    if (length > room() - kChunkHeader) {
      if (!lenient.take(Departure::kCutChunk, 0, at)) {
        return failed(ParseCode::kFileEndsInsideTrack, number, static_cast<uint32_t>(at));
      }
      length = static_cast<uint32_t>(room() - kChunkHeader);
    }
    at += kChunkHeader;
    if (type == std::string_view(kTrackId, 4)) {
      if (number > song.declared_tracks) lenient.take(Departure::kTrackCount, 0, at - kChunkHeader);
      TrackBytes in(bytes, at, length, number, lenient);
      song.tracks.emplace_back();
      // No event is shorter than two bytes; pages reserved and not used
      // are never touched, while growing by copies would touch each twice.
      song.tracks.back().events.reserve(length / 2);
      const ParseCode code = read_track(in, song.tracks.back());
      if (code != ParseCode::kRead && !lenient.take(Departure::kDamagedTrack, number, in.at(), code)) {
        return failed(code, number, static_cast<uint32_t>(in.at()));
      }
    }
    at += length;
  }
  const uint32_t next = static_cast<uint32_t>(song.tracks.size()) + 1;
  at = std::min(at, bytes.size());  // a header length past the end starts no chunk
  if (every_chunk && room() > 0 && !lenient.take(Departure::kCutChunk, 0, at)) {
    return failed(ParseCode::kFileEndsInsideTrack, next, static_cast<uint32_t>(at));
  }
  if (song.tracks.size() < song.declared_tracks && !lenient.take(Departure::kTrackCount, 0, at)) {
    return failed(ParseCode::kFileEndsBeforeTrack, next, static_cast<uint32_t>(at));
  }
  return {};
}

// The one track of the composer's layout: from offset 22 to its end-of-track
// event, whatever the chunk there says (Departure::kFixedLayout).
ParseResult read_fixed_track(std::string_view bytes, Song& song, Leniency& lenient) {
  const size_t start = kTrackDataStart;
  if (bytes.size() < start) return failed(ParseCode::kFileEndsInsideTrack, 1, kHeaderChunkSize);
  if (bytes.substr(kHeaderChunkSize, 4) != std::string_view(kTrackId, 4)) {
    lenient.take(Departure::kFixedLayout, 0, kHeaderChunkSize);
  }
  TrackBytes in(bytes, start, bytes.size() - start, 1, lenient);
  SongTrack& track = song.tracks.emplace_back();
  track.events.reserve((bytes.size() - start) / 2);
  const ParseCode code = read_track(in, track);
  if (code != ParseCode::kRead && !lenient.take(Departure::kDamagedTrack, 1, in.at(), code)) {
    return failed(code, 1, in.at());
  }
  if (code == ParseCode::kRead && in.at() != start + get_be(bytes, kHeaderChunkSize + 4, 4)) {
    lenient.take(Departure::kFixedLayout, 0, kHeaderChunkSize + 4);
  }
  return {};
}

// "MThd" length(>=6) format(0, 1) tracks division(ticks per quarter note).
// With kFixedLayout a field is read when the file holds it whole and the
// length is not checked.
ParseResult read_header(std::string_view bytes, Song& song, Leniency& lenient) {
  const auto field = [bytes](size_t at, size_t count, uint32_t& out) {
    if (bytes.size() < at + count) return false;
    out = get_be(bytes, at, static_cast<int>(count));
    return true;
  };
  field(4, 4, song.header_length);
  field(10, 2, song.declared_tracks);
  const bool format = field(kFormatAt, 2, song.format);
  if (!format || !field(kDivisionAt, 2, song.division)) {
    const size_t stop = std::min<size_t>(format ? kDivisionAt : kFormatAt, bytes.size());
    lenient.take(Departure::kFixedLayout, 0, stop);
    return failed(ParseCode::kDamagedHeader, 0, stop);
  }
  if (lenient.accepts(Departure::kFixedLayout)) {
    if (song.header_length != kHeaderLength) lenient.take(Departure::kFixedLayout, 0, 4);
  } else if ((song.header_length < kHeaderLength || song.header_length > bytes.size() - kChunkHeader) &&
             !lenient.take(Departure::kHeaderLength, 0, 4)) {
    return failed(ParseCode::kDamagedHeader, 0, 4);
  }
  if (song.format > 1 && !lenient.take(Departure::kFormat, 0, kFormatAt)) {
    return failed(ParseCode::kUnsupportedFormat, 0, kFormatAt);
  }
  if ((song.division == 0 || (song.division & 0x8000) != 0) && !lenient.take(Departure::kTimeCode, 0, kDivisionAt)) {
    return failed(ParseCode::kTimeCode, 0, kDivisionAt);
  }
  return {};
}

}  // namespace

ParseResult parse(std::string_view bytes, Song& song) { return parse(bytes, song, ParseOptions{}); }

// Layout: the header, then chunks of type(4) length(4) bytes; the MTrk
// chunks are the tracks.
ParseResult parse(std::string_view bytes, Song& song, const ParseOptions& options) {
  song = Song{};
  ParseResult result;
  Leniency lenient(options, result);
  const bool fixed = options.accepts(Departure::kFixedLayout);
  const size_t shortest = fixed ? sizeof kHeaderId : static_cast<size_t>(kHeaderChunkSize);
  if (bytes.size() < shortest || bytes.substr(0, 4) != std::string_view(kHeaderId, 4)) {
    return failed(ParseCode::kNotMidi, 0, 0);
  }
  ParseResult fault = read_header(bytes, song, lenient);
  if (fault.ok()) {
    fault = fixed ? read_fixed_track(bytes, song, lenient)
                  : read_chunks(bytes, kChunkHeader + song.header_length, song, lenient);
  }
  fault.departures = std::move(result.departures);
  return fault;
}

bool met(const ParseResult& result, Departure departure, uint32_t track) {
  for (const DepartureMet& d : result.departures) {
    if (d.departure == departure && (track == 0 || d.track == track)) return true;
  }
  return false;
}

}  // namespace zelvo::midi
