// The MIDI writer over the table of cases in data/midi/write_cases.txt.
// "call write" writes the case's song, given as text, in the layout its
// words name ("engine", "merged" or the switches of WriteLayout); the
// result and the bytes are recorded, one chunk header or event a line,
// and whether the codec reads the song back. "call engine" gives instead
// the engines' notes and changes to encode_file: "settings division
// numerator exponent micros", then lines "note time channel pitch velocity",
// "meter time numerator exponent", "tempo time micros". Then every file of the codec's
// own table that reads, with a standard header, is written and read again.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "midi/codec.h"
#include "midi/file_layout.h"
#include "midi/write.h"
#include "midi/writer.h"
#include "support/cases.h"
#include "support/midi_dump.h"

namespace zelvo::midi {
namespace {

// "format F division D"; per track "track ends T", then its events one a
// line: the tick, the status and the bytes after it in hex (a meta event's
// type and data, a system exclusive message's data, a channel event's one
// or two data bytes; status 00: the bytes written as they are). A line
// "+ bytes" adds to the data of the event before it.
Song song_of(const std::string& text) {
  Song song;
  std::istringstream lines(text);
  for (std::string line, word; std::getline(lines, line);) {
    std::istringstream words(line);
    if (!(words >> word)) continue;
    if (word == "+") {
      for (unsigned value = 0; words >> std::hex >> value; ++song.tracks.back().events.back().data_length) song.tracks.back().bytes += static_cast<char>(value);
    } else if (word == "format") {
      words >> song.format >> word >> song.division;
    } else if (word == "track") {
      song.tracks.emplace_back();
      words >> word >> song.tracks.back().end_tick;
    } else {
      SongEvent event;
      event.tick = std::stoll(word);
      std::string bytes;
      for (unsigned value = 0; words >> std::hex >> value;) bytes += static_cast<char>(value);
      event.status = static_cast<uint8_t>(bytes.at(0));
      const bool meta = event.status == kMetaEvent;
      if (meta || event.status == kSystemExclusive || event.status == kEndOfExclusive || event.status < kStatusBit) {
        if (meta) event.data1 = static_cast<uint8_t>(bytes.at(1));
        song.tracks.back().set_data(event, std::string_view(bytes).substr(meta ? 2 : 1));
      } else {
        event.data1 = static_cast<uint8_t>(bytes.at(1));
        event.data2 = bytes.size() > 2 ? static_cast<uint8_t>(bytes[2]) : 0;
      }
      song.tracks.back().events.push_back(event);
    }
  }
  return song;
}

WriteLayout layout_of(const std::vector<std::string>& words) {
  WriteLayout layout;
  for (const std::string& word : words) {
    if (word == "engine") layout = kEngineLayout;
    if (word == "merged") layout = kMergedLayout;
    if (word == "running-status") layout.running_status = true;
    if (word == "no-end-of-track") layout.end_of_track = false;
    if (word == "any-length-deltas") layout.any_length_deltas = true;
    if (word == "widen-early-changes") layout.widen_early_changes = true;
  }
  return layout;
}

// The song as parse gives it back, but for where its events lie.
bool reads_back(const Song& song, const std::string& bytes) {
  Song read;
  return parse(bytes, read).ok() && same_music(song, read);
}

std::string record(const Song& song, const WriteResult& result, const std::string& bytes) {
  std::string out = result.ok() ? "written\n"
                                : "bad delta " + std::to_string(result.bad_delta) + " in track " +
                                      std::to_string(result.track) + "\n";
  // A track cut short has no length to follow, and an event of status 00
  // no status: their bytes as they are.
  bool plain = result.ok();
  for (const SongTrack& track : song.tracks) {
    for (const SongEvent& event : track.events) plain = plain && event.status != 0;
  }
  for (size_t at = 0; !plain && at < bytes.size(); at += 16) out += test::hex_bytes(bytes, at, at + 16).substr(1) + "\n";
  if (plain) out += test::midi_dump(bytes);
  if (result.ok()) out += reads_back(song, bytes) ? "reads back the same\n" : "reads back otherwise\n";
  return out;
}

std::string encode(const std::string& text) {
  auto track = std::make_unique<TrackEvents>();
  track->count = 0;
  std::vector<MeterEvent> meters;
  std::vector<TempoEvent> tempos;
  TrackSettings settings{};
  std::istringstream lines(text);
  for (std::string line, word; std::getline(lines, line);) {
    std::istringstream words(line);
    words >> word;
    if (word == "settings") words >> settings.division >> settings.numerator >> settings.denominator_exponent >> settings.micros_per_quarter;
    if (word == "note") {
      track->reserve(track->count + 1);
      TrackEvent& e = track->events[static_cast<size_t>(track->count++)];
      words >> e.time >> e.channel >> e.note >> e.velocity;
    }
    if (word == "meter") words >> meters.emplace_back().time >> meters.back().numerator >> meters.back().denominator_exponent;
    if (word == "tempo") words >> tempos.emplace_back().time >> tempos.back().micros_per_quarter;
  }
  settings.meters = meters.data();
  settings.meter_count = static_cast<int32_t>(meters.size());
  settings.tempos = tempos.data();
  settings.tempo_count = static_cast<int32_t>(tempos.size());
  FileImage image;
  const EncodeResult result = encode_file(settings, *track, image);
  return record(image.song, {result.ok ? WriteCode::kWritten : WriteCode::kBadDelta, result.bad_delta, 1}, image.bytes);
}

TEST(WriteCasesTest, EverySongIsWrittenAsRecorded) {
  test::check_cases(std::string(ZELVO_TEST_DATA) + "/midi/write_cases.txt", [](const test::Case& c) {
    if (c.call.at(0) == "engine") return encode(c.files.at(0).second);
    const Song song = song_of(c.files.at(0).second);
    std::string bytes;
    const WriteResult result = write(song, layout_of(c.call), bytes);
    return record(song, result, bytes);
  });
}

TEST(WriteCasesTest, TheCodecCasesReadBackAfterWriting) {
  int written = 0;
  for (const test::Case& c : test::read_cases(std::string(ZELVO_TEST_DATA) + "/midi/codec_cases.txt")) {
    Song song;
    if (c.files.empty() || !parse(c.files.front().second, song).ok() || song.header_length != kHeaderLength) continue;
    for (const WriteLayout& layout : {WriteLayout{}, WriteLayout{true, true, false, false}}) {
      std::string bytes;
      EXPECT_TRUE(write(song, layout, bytes).ok()) << c.name;
      EXPECT_TRUE(reads_back(song, bytes)) << c.name;
      ++written;
    }
  }
  EXPECT_GE(written, 10);
}

}  // namespace
}  // namespace zelvo::midi
