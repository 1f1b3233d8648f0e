#include "midi/write.h"

#include "midi/bytes.h"
#include "midi/file_layout.h"

namespace zelvo::midi {

namespace {

bool is_change(const SongEvent& event) {
  return event.status == kMetaEvent && (event.data1 == kMetaTempo || event.data1 == kMetaTimeSignature);
}

WriteResult write_track(const SongTrack& track, const WriteLayout& layout, uint32_t number, std::string& out) {
  int64_t previous = 0;
  const auto put_delta = [&](int64_t tick, bool widen) {
    const int64_t delta = tick - previous;
    if (delta < 0 || (!layout.any_length_deltas && delta > kMaxVarLength)) return false;
    if (widen && delta < 0x80) out += static_cast<char>(0x80);
    put_var_length(out, static_cast<uint64_t>(delta));
    previous = tick;
    return true;
  };
  uint8_t running = 0;
  bool before_channel_events = true;
  for (size_t i = 0; i < track.events.size(); ++i) {
    const SongEvent& event = track.events[i];
    const bool widen = layout.widen_early_changes && before_channel_events && i >= 2 && is_change(event);
    if (!put_delta(event.tick, widen)) return {WriteCode::kBadDelta, event.tick - previous, number};
    if (event.status == kMetaEvent || event.status == kSystemExclusive || event.status == kEndOfExclusive) {
      out += static_cast<char>(event.status);
      if (event.status == kMetaEvent) out += static_cast<char>(event.data1);
      put_var_length(out, event.data.size());
      out += event.data;
      running = 0;
      continue;
    }
    before_channel_events = false;
    if (event.status < kStatusBit) {
      out += event.data;
      running = 0;
      continue;
    }
    if (!layout.running_status || event.status != running) out += static_cast<char>(event.status);
    running = event.status;
    out += static_cast<char>(event.data1);
    const uint8_t kind = event.status & 0xF0;
    if (kind != kProgramChange && kind != kChannelPressure) out += static_cast<char>(event.data2);
  }
  if (layout.end_of_track) {
    if (!put_delta(track.end_tick, false)) return {WriteCode::kBadDelta, track.end_tick - previous, number};
    out.append({static_cast<char>(kMetaEvent), static_cast<char>(kMetaEndOfTrack), 0});
  }
  return {};
}

}  // namespace

WriteResult write(const Song& song, const WriteLayout& layout, std::string& bytes) {
  bytes.assign(kHeaderId, 4);
  put_be(bytes, kHeaderLength, 4);
  put_be(bytes, song.format, 2);
  put_be(bytes, static_cast<uint32_t>(song.tracks.size()), 2);
  put_be(bytes, song.division, 2);
  for (size_t t = 0; t < song.tracks.size(); ++t) {
    const size_t chunk = bytes.size();
    bytes.append(kTrackId, 4);
    put_be(bytes, 0, 4);  // the length, known when the track is written
    const WriteResult result = write_track(song.tracks[t], layout, static_cast<uint32_t>(t) + 1, bytes);
    if (!result.ok()) return result;
    std::string length;
    put_be(length, static_cast<uint32_t>(bytes.size() - chunk - 8), 4);
    bytes.replace(chunk + 4, 4, length);
  }
  return {};
}

}  // namespace zelvo::midi
