#include "midi/write.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "midi/bytes.h"
#include "midi/file_layout.h"

namespace zelvo::midi {

namespace {

// The most bytes an event takes besides its data: a widening byte, ten of
// delta, status, type and ten of length.
constexpr size_t kMaxEventHead = 23;
constexpr size_t kChunkHead = 8;  // type and length

// The bytes written so far: the first `size` of a string kept longer, so
// that each event is written in place and the string's memory serves the
// next file too.
class Output {
 public:
  explicit Output(std::string& bytes) : bytes_(bytes) { bytes_.resize(bytes_.capacity()); }
  ~Output() { bytes_.resize(size_); }
  // Room for `count` bytes more than written, so that a file of about that
  // size grows once.
  void expect(size_t count) {
    if (bytes_.size() - size_ < count) bytes_.resize(size_ + count);
  }
  // Where the next `count` bytes go; valid until the next call.
  char* room(size_t count) {
    if (bytes_.size() - size_ < count) bytes_.resize(std::max(2 * bytes_.size(), size_ + count));
    return bytes_.data() + size_;
  }
  // The end of the room that room() gave.
  const char* end() const { return bytes_.data() + bytes_.size(); }
  // The bytes up to `end`, a pointer from room(), are written.
  void written(const char* end) { size_ = static_cast<size_t>(end - bytes_.data()); }
  size_t size() const { return size_; }
  char* at(size_t offset) { return bytes_.data() + offset; }

 private:
  std::string& bytes_;
  size_t size_ = 0;
};

bool is_change(const SongEvent& event) {
  return event.status == kMetaEvent && (event.data1 == kMetaTempo || event.data1 == kMetaTimeSignature);
}

// Writes the track's events. False on a delta the layout refuses, given in
// `bad_delta`, with the events before it written.
bool write_track(const SongTrack& track, const WriteLayout& layout, Output& output, int64_t& bad_delta) {
  // The write position and the end of the room are kept here, not in
  // `output`, so that writing a byte does not make the compiler read them
  // again: a char may alias anything.
  char* out = output.room(kMaxEventHead);
  const char* end = output.end();
  const auto room = [&](size_t count) {
    if (static_cast<size_t>(end - out) >= count) return;
    output.written(out);
    out = output.room(count);
    end = output.end();
  };
  int64_t previous = 0;
  const bool any_length = layout.any_length_deltas;
  const auto put_delta = [&](int64_t tick, bool widen) {
    const int64_t delta = tick - previous;
    if (delta < 0 || (!any_length && delta > kMaxVarLength)) {
      bad_delta = delta;
      return false;
    }
    if (delta < 0x80) {  // most are
      if (widen) *out++ = static_cast<char>(0x80);
      *out++ = static_cast<char>(delta);
    } else {
      out += put_var_length(out, static_cast<uint64_t>(delta));
    }
    previous = tick;
    return true;
  };
  const auto put_data = [&](std::string_view data) {
    if (data.empty()) return;
    std::memcpy(out, data.data(), data.size());
    out += data.size();
  };
  const bool running_status = layout.running_status;
  const bool widen_changes = layout.widen_early_changes;
  uint8_t running = 0;
  bool before_channel_events = true;
  const SongEvent* const events = track.events.data();
  const size_t count = track.events.size();
  for (size_t i = 0; i < count; ++i) {
    const SongEvent& event = events[i];
    room(kMaxEventHead + event.data_length);
    const bool widen = widen_changes && before_channel_events && i >= 2 && is_change(event);
    if (!put_delta(event.tick, widen)) {
      output.written(out);
      return false;
    }
    if (event.status == kMetaEvent || event.status == kSystemExclusive || event.status == kEndOfExclusive) {
      *out++ = static_cast<char>(event.status);
      if (event.status == kMetaEvent) *out++ = static_cast<char>(event.data1);
      out += put_var_length(out, event.data_length);
      put_data(track.data(event));
      running = 0;
    } else if (event.status < kStatusBit) {
      before_channel_events = false;
      put_data(track.data(event));
      running = 0;
    } else {
      before_channel_events = false;
      // A first data byte with its top bit set (a damaged file read leniently
      // holds them) would read as a status without the status before it.
      const bool runs = running_status && event.status == running && event.data1 < kStatusBit;
      if (!runs) *out++ = static_cast<char>(event.status);
      running = event.status;
      *out++ = static_cast<char>(event.data1);
      const uint8_t kind = event.status & 0xF0;
      if (kind != kProgramChange && kind != kChannelPressure) *out++ = static_cast<char>(event.data2);
    }
  }
  if (layout.end_of_track) {
    room(kMaxEventHead);
    if (!put_delta(track.end_tick, false)) {
      output.written(out);
      return false;
    }
    *out++ = static_cast<char>(kMetaEvent);
    *out++ = static_cast<char>(kMetaEndOfTrack);
    *out++ = 0;
  }
  output.written(out);
  return true;
}

}  // namespace

WriteResult write(const Song& song, const WriteLayout& layout, std::string& bytes) {
  Output output(bytes);
  // Most events take four bytes besides their data: a one-byte delta, a
  // status and two data bytes (or a type and a length).
  size_t expected = kHeaderChunkSize;
  for (const SongTrack& track : song.tracks) {
    expected += kChunkHead + kMaxEventHead + 4 * (track.events.size() + 1) + track.bytes.size();
  }
  output.expect(expected);
  char* const header = output.room(kHeaderChunkSize);
  std::memcpy(header, kHeaderId, 4);
  put_be(header + 4, kHeaderLength, 4);
  put_be(header + 8, song.format, 2);
  put_be(header + 10, static_cast<uint32_t>(song.tracks.size()), 2);
  put_be(header + 12, song.division, 2);
  output.written(header + kHeaderChunkSize);
  for (size_t t = 0; t < song.tracks.size(); ++t) {
    const size_t chunk = output.size();
    char* const head = output.room(kChunkHead);
    std::memcpy(head, kTrackId, 4);
    put_be(head + 4, 0, 4);  // the length, known when the track is written
    output.written(head + kChunkHead);
    int64_t bad_delta = 0;
    if (!write_track(song.tracks[t], layout, output, bad_delta)) {
      return {WriteCode::kBadDelta, bad_delta, static_cast<uint32_t>(t) + 1};
    }
    put_be(output.at(chunk + 4), static_cast<uint32_t>(output.size() - chunk - kChunkHead), 4);
  }
  return {};
}

}  // namespace zelvo::midi
