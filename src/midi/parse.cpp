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

 private:
  std::string_view file_;
  size_t at_;
  size_t end_;
  uint32_t track_;
  Leniency& leniency_;
};

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
      if (!in.byte(event.data1) || !in.var_length(length) || !in.take(length, data)) {
        return drop(ParseCode::kEndsInsideMeta);
      }
      if (event.data1 == kMetaEndOfTrack) {
        const uint32_t offset = event.offset;
        drop(ParseCode::kRead);
        if (lenient.take(Departure::kPastEndOfTrack, in.track(), offset)) continue;
        return ParseCode::kRead;
      }
      track.set_data(event, data);
      continue;
    }
    if (status == kSystemExclusive || status == kEndOfExclusive) {
      uint32_t length = 0;
      std::string_view data;
      if (!in.var_length(length) || !in.take(length, data)) return drop(ParseCode::kEndsInsideExclusive);
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
  return ParseCode::kRead;  // a track without its end marker ends with its chunk
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

}  // namespace

ParseResult parse(std::string_view bytes, Song& song) { return parse(bytes, song, ParseOptions{}); }

// Layout: "MThd" length(>=6) format tracks division, then chunks of
// type(4) length(4) bytes; the MTrk chunks are the tracks.
ParseResult parse(std::string_view bytes, Song& song, const ParseOptions& options) {
  song = Song{};
  ParseResult result;
  Leniency lenient(options, result);
  if (bytes.size() < static_cast<size_t>(kHeaderChunkSize) || bytes.substr(0, 4) != std::string_view(kHeaderId, 4)) {
    return failed(ParseCode::kNotMidi, 0, 0);
  }
  song.header_length = get_be(bytes, 4, 4);
  song.format = get_be(bytes, 8, 2);
  song.declared_tracks = get_be(bytes, 10, 2);
  song.division = get_be(bytes, 12, 2);
  if ((song.header_length < kHeaderLength || song.header_length > bytes.size() - kChunkHeader) &&
      !lenient.take(Departure::kHeaderLength, 0, 4)) {
    return failed(ParseCode::kDamagedHeader, 0, 4);
  }
  ParseResult fault;
  if (song.format > 1 && !lenient.take(Departure::kFormat, 0, 8)) {
    fault = failed(ParseCode::kUnsupportedFormat, 0, 8);
  } else if ((song.division == 0 || (song.division & 0x8000) != 0) && !lenient.take(Departure::kTimeCode, 0, 12)) {
    fault = failed(ParseCode::kTimeCode, 0, 12);
  } else {
    fault = read_chunks(bytes, kChunkHeader + song.header_length, song, lenient);
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
