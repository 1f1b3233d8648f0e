#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "midi/bytes.h"
#include "midi/reader.h"
#include "midi/writer.h"
#include "support/files.h"

namespace zelvo::midi {
namespace {

constexpr int32_t kLongest = static_cast<int32_t>(kMaxVarLength);

// Every call of the reader as one line of text.
class Recorder final : public EventSink {
 public:
  void division(int32_t ticks) override { add("division " + std::to_string(ticks)); }
  void tempo(int32_t micros) override { add("tempo " + std::to_string(micros)); }
  void time_signature(int32_t numerator, int32_t exponent) override {
    add("time " + std::to_string(numerator) + "/" + std::to_string(exponent));
  }
  ReadResult leading_events_read(int32_t count) override {
    add("leading " + std::to_string(count));
    return ReadResult::kRead;
  }
  void note_on(int64_t tick, int32_t channel, int32_t note, int32_t velocity) override {
    add("on " + std::to_string(tick) + " " + std::to_string(channel) + " " + std::to_string(note) + " " +
        std::to_string(velocity));
  }
  void note_off(int64_t tick, int32_t channel, int32_t note) override {
    add("off " + std::to_string(tick) + " " + std::to_string(channel) + " " + std::to_string(note));
  }
  std::string text;

 private:
  void add(const std::string& line) { text += line + "\n"; }
};

void fill(TrackEvents& track, const std::vector<TrackEvent>& events) {
  track.count = 0;
  for (const TrackEvent& e : events) track.events[track.count++] = e;
}

// The bytes of the encoded track after its two leading meta events, in hex.
std::string encoded_track(const std::vector<TrackEvent>& events, const TrackSettings& settings) {
  auto track = std::make_unique<TrackEvents>();
  auto image = std::make_unique<FileImage>();
  fill(*track, events);
  EXPECT_TRUE(encode_file(settings, *track, *image).ok);
  std::string written;
  char cell[4];
  for (int32_t i = kFirstEventOffset; i < image->size; ++i) {
    std::snprintf(cell, sizeof cell, "%02x ", image->bytes[static_cast<size_t>(i)]);
    written += cell;
  }
  return written;
}

// What the writer writes, the reader reads back: deltas across every
// variable-length size, channels 1 and 16, note-offs as velocity 0.
TEST(MidiWriterReader, ReadsBackWhatIsWritten) {
  auto track = std::make_unique<TrackEvents>();
  auto image = std::make_unique<FileImage>();
  const TrackEvent events[] = {{0, 0, 60, 100},       {127, 15, 61, 1},     {255, 0, 60, 0},
                               {16638, 15, 61, 0},    {33022, 3, 127, 127}, {33022 + kLongest, 3, 127, 0}};
  fill(*track, {std::begin(events), std::end(events)});
  ASSERT_TRUE(encode_file(TrackSettings{1024, 3, 3, 500000}, *track, *image).ok);
  const test::TempFolder folder;
  const std::string path = folder.file("written.mid");
  ASSERT_EQ(write_file(path.c_str(), *image), WriteStatus::kWritten);
  Recorder recorder;
  EXPECT_EQ(read_file(path.c_str(), recorder), ReadResult::kRead);
  EXPECT_EQ(recorder.text,
            "division 1024\ntime 3/3\ntempo 500000\nleading 2\n"
            "on 0 1 60 100\non 127 16 61 1\noff 255 1 60\noff 16638 16 61\non 33022 4 127 127\n"
            "off 268468477 4 127\n");
}

// A delta beyond four bytes, or a time before the previous one, stops the
// encoding there with the track length unpatched; nothing is clamped.
// Later time signatures go before the notes of their tick; one out of
// order is left out (the notes' times hold), and so is one after the last
// note.
TEST(MidiWriterReader, MeterChangesAmongTheNotes) {
  const MeterEvent meters[] = {{4096, 3, 2}, {2048, 5, 3}, {7168, 6, 3}, {9000, 2, 2}};
  EXPECT_EQ(encoded_track({{0, 0, 60, 100}, {4096, 0, 60, 0}, {4096, 0, 62, 100}, {7168, 0, 62, 0}},
                          TrackSettings{1024, 4, 2, 500000, meters, 4}),
            "00 90 3c 64 "
            "a0 00 ff 58 04 03 02 18 08 "  // 3/4 at 4096, before the notes there
            "00 90 3c 00 00 90 3e 64 "
            "98 00 ff 58 04 06 03 18 08 "  // 6/8 at 7168; 5/8 at 2048 and 2/4 at 9000 left out
            "00 90 3e 00 00 ff 2f 00 ");
}

// Later tempos go among the time signatures in time order (a meter first at
// a tick they share), before the notes of their tick; one before the first
// note takes a two-byte delta; one after the last note is left out. They
// read back as later tempos, not as leading events.
TEST(MidiWriterReader, TempoChangesAmongTheNotes) {
  const MeterEvent meters[] = {{4096, 3, 2}};
  const TempoEvent tempos[] = {{8, 600000}, {2048, 1000000}, {4096, 400000}, {9000, 500000}};
  EXPECT_EQ(encoded_track({{16, 0, 60, 100}, {4096, 0, 60, 0}, {4096, 0, 62, 100}, {7168, 0, 62, 0}},
                          TrackSettings{1024, 4, 2, 500000, meters, 1, tempos, 4}),
            "80 08 ff 51 03 09 27 c0 "  // 600000 at 8, a two-byte delta before the first note
            "08 90 3c 64 "
            "8f 70 ff 51 03 0f 42 40 "  // 1000000 at 2048
            "90 00 ff 58 04 03 02 18 08 "  // 3/4 at 4096, then the tempo of that tick
            "00 ff 51 03 06 1a 80 "
            "00 90 3c 00 00 90 3e 64 "
            "98 00 90 3e 00 00 ff 2f 00 ");  // 500000 at 9000 left out
}

TEST(MidiWriterReader, RefusesDeltasNoQuantityHolds) {
  auto track = std::make_unique<TrackEvents>();
  auto image = std::make_unique<FileImage>();
  for (const std::vector<TrackEvent>& events :
       {std::vector<TrackEvent>{{5, 0, 60, 90}, {5 + kLongest + 1, 0, 60, 0}},
        std::vector<TrackEvent>{{5, 0, 60, 90}, {4, 0, 60, 0}}}) {
    fill(*track, events);
    const EncodeResult result = encode_file(TrackSettings{48, 4, 2, 500000}, *track, *image);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.bad_delta, int64_t{events[1].time} - events[0].time);
    EXPECT_EQ(image->size, kFirstEventOffset + 4);
    EXPECT_EQ(image->bytes[kTrackLengthOffset + 3], 0);
  }
}

}  // namespace
}  // namespace zelvo::midi
