#include <string>

#include "midi/bytes.h"
#include "midi/codec.h"
#include "midi/file_layout.h"

namespace zelvo::midi {

namespace {

constexpr size_t kChunkHeader = 8;  // type and length

// One track chunk with a read position; every read checks the chunk's end.
class TrackBytes {
 public:
  TrackBytes(std::string_view file, size_t start, size_t length)
      : file_(file), at_(start), end_(start + length) {}
  bool done() const { return at_ >= end_; }
  size_t at() const { return at_; }
  bool byte(uint8_t& out) {
    if (done()) return false;
    out = static_cast<uint8_t>(file_[at_++]);
    return true;
  }
  bool var_length(uint32_t& out) { return get_var_length(file_.substr(0, end_), at_, out); }
  bool take(uint32_t count, std::string& out) {
    if (count > end_ - at_) return false;
    out.assign(file_.substr(at_, count));
    at_ += count;
    return true;
  }

 private:
  std::string_view file_;
  size_t at_;
  size_t end_;
};

// A track: (delta time, event)*, where an event is a channel message
// (its status optional: running status), F0 or F7 with a length and bytes,
// or FF with a type, a length and bytes. FF 2F ends the track.
ParseCode read_track(TrackBytes& in, SongTrack& track) {
  int64_t tick = 0;
  uint8_t running = 0;
  while (!in.done()) {
    SongEvent event;
    event.offset = static_cast<uint32_t>(in.at());
    uint32_t delta = 0;
    if (!in.var_length(delta)) return ParseCode::kEndsInsideDelta;
    tick += delta;
    if (tick > kMaxTick) return ParseCode::kTooLong;
    track.end_tick = tick;
    event.tick = tick;
    uint8_t status = 0;
    if (!in.byte(status)) return ParseCode::kEndsAfterDelta;
    event.status = status;
    if (status == kMetaEvent) {
      uint32_t length = 0;
      if (!in.byte(event.data1) || !in.var_length(length) || !in.take(length, event.data)) {
        return ParseCode::kEndsInsideMeta;
      }
      if (event.data1 == kMetaEndOfTrack) return ParseCode::kRead;
      track.events.push_back(std::move(event));
      continue;
    }
    if (status == kSystemExclusive || status == kEndOfExclusive) {
      uint32_t length = 0;
      if (!in.var_length(length) || !in.take(length, event.data)) return ParseCode::kEndsInsideExclusive;
      running = 0;
      track.events.push_back(std::move(event));
      continue;
    }
    if (status < kStatusBit) {
      if (running == 0) return ParseCode::kNoStatus;
      event.data1 = status;
      event.status = running;
    } else if (status >= kSystemExclusive) {
      return ParseCode::kUnknownStatus;
    } else {
      running = status;
      if (!in.byte(event.data1)) return ParseCode::kEndsInsideEvent;
    }
    const uint8_t kind = event.status & 0xF0;
    if (kind != kProgramChange && kind != kChannelPressure && !in.byte(event.data2)) {
      return ParseCode::kEndsInsideEvent;
    }
    track.events.push_back(std::move(event));
  }
  return ParseCode::kRead;  // a track without its end marker ends with its chunk
}

}  // namespace

// Layout: "MThd" length(>=6) format tracks division, then chunks of
// type(4) length(4) bytes; the MTrk chunks are the tracks.
ParseResult parse(std::string_view bytes, Song& song) {
  song = Song{};
  if (bytes.size() < static_cast<size_t>(kHeaderChunkSize) || bytes.substr(0, 4) != std::string_view(kHeaderId, 4)) {
    return {ParseCode::kNotMidi, 0, 0};
  }
  song.header_length = get_be(bytes, 4, 4);
  song.format = get_be(bytes, 8, 2);
  song.declared_tracks = get_be(bytes, 10, 2);
  song.division = get_be(bytes, 12, 2);
  if (song.header_length < kHeaderLength || song.header_length > bytes.size() - kChunkHeader) {
    return {ParseCode::kDamagedHeader, 0, 4};
  }
  if (song.format > 1) return {ParseCode::kUnsupportedFormat, 0, 8};
  if (song.division == 0 || (song.division & 0x8000) != 0) return {ParseCode::kTimeCode, 0, 12};
  size_t at = kChunkHeader + song.header_length;
  while (song.tracks.size() < song.declared_tracks && bytes.size() - at >= kChunkHeader) {
    const uint32_t number = static_cast<uint32_t>(song.tracks.size()) + 1;
    const std::string_view type = bytes.substr(at, 4);
    const uint32_t length = get_be(bytes, at + 4, 4);
    if (length > bytes.size() - at - kChunkHeader) {
      return {ParseCode::kFileEndsInsideTrack, number, static_cast<uint32_t>(at)};
    }
    at += kChunkHeader;
    if (type == std::string_view(kTrackId, 4)) {
      TrackBytes in(bytes, at, length);
      song.tracks.emplace_back();
      const ParseCode code = read_track(in, song.tracks.back());
      if (code != ParseCode::kRead) return {code, number, static_cast<uint32_t>(in.at())};
    }
    at += length;
  }
  if (song.tracks.size() < song.declared_tracks) {
    return {ParseCode::kFileEndsBeforeTrack, static_cast<uint32_t>(song.tracks.size()) + 1,
            static_cast<uint32_t>(at)};
  }
  return {};
}

}  // namespace zelvo::midi
