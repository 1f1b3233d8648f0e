#include "composer/midi_output.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "composer/composer_test_util.h"
#include "composer/note_events.h"

namespace zelvo::composer {
namespace {

ComposerTiming timing_4_4() {
  return ComposerTiming{1, 120, 4, 4, 48, 12, 2};
}

class MidiWriterTest : public ::testing::Test {
 protected:
  void add(int inst, int bar, int click, int dur, int note, int vel) {
    table->events[table->count++] = NoteEvent{inst, bar, click, dur, note, vel};
  }
  // The composer's order of steps before the writer.
  std::vector<uint8_t> encode(const ComposerTiming& timing) {
    add_note_offs(*table);
    compute_times(*table, timing);
    sort_events(*table);
    const MidiEncodeResult result = encode_midi_file(*table, timing, *image);
    EXPECT_TRUE(result.ok);
    return std::vector<uint8_t>(image->bytes.begin(), image->bytes.begin() + image->size);
  }
  std::unique_ptr<NoteTable> table = std::make_unique<NoteTable>();
  std::unique_ptr<MidiImage> image = std::make_unique<MidiImage>();
};

TEST_F(MidiWriterTest, EmptyFileIsHeaderTrackStartAndEndWithTrackLength19) {
  const std::vector<uint8_t> bytes = encode(timing_4_4());
  const std::vector<uint8_t> expected{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 48,
                                      'M', 'T', 'r', 'k', 0, 0, 0, 19,
                                      0x00, 0xFF, 0x58, 0x04, 4, 2, 0x18, 0x08,
                                      0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,
                                      0x00, 0xFF, 0x2F, 0x00};
  EXPECT_EQ(bytes, expected);
}

TEST_F(MidiWriterTest, ThreeFourTimeSignatureAndDivisionFromClicks) {
  ComposerTiming timing{1, 90, 3, 4, 96, 24, 2};
  const std::vector<uint8_t> bytes = encode(timing);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 22, bytes.begin() + 30),
            (std::vector<uint8_t>{0x00, 0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08}));
  EXPECT_EQ(bytes[12], 0);
  EXPECT_EQ(bytes[13], 96);  // 4 * clicks-semic
  // 60000000 / 90 = 666666 = 0x0A2C2A
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 34, bytes.begin() + 37), (std::vector<uint8_t>{0x0A, 0x2C, 0x2A}));
}

TEST_F(MidiWriterTest, NoteOffBeforeNoteOnAtEqualTimes) {
  add(1, 1, 0, 48, 60, 100);
  add(1, 1, 48, 48, 60, 90);
  const std::vector<uint8_t> bytes = encode(timing_4_4());
  const std::vector<uint8_t> events(bytes.begin() + 37, bytes.end() - 4);
  EXPECT_EQ(events, (std::vector<uint8_t>{0x00, 0x90, 60, 100,   //
                                          0x30, 0x90, 60, 0,     // the first note ends
                                          0x00, 0x90, 60, 90,    // before the second sounds
                                          0x30, 0x90, 60, 0}));
  EXPECT_EQ(bytes[21], 37 - 22 + 16 + 4);
}

TEST_F(MidiWriterTest, DeltasOf200And127AndChannelTenStatus) {
  add(10, 1, 0, 200, 36, 100);
  add(10, 1, 327, 1, 38, 100);
  const std::vector<uint8_t> bytes = encode(timing_4_4());
  const std::vector<uint8_t> events(bytes.begin() + 37, bytes.end() - 4);
  EXPECT_EQ(events, (std::vector<uint8_t>{0x00, 0x99, 36, 100,        //
                                          0x81, 0x48, 0x99, 36, 0,    // 200 clicks later
                                          0x7F, 0x99, 38, 100,        // 127 clicks later
                                          0x01, 0x99, 38, 0}));
}

TEST_F(MidiWriterTest, TooLargeDeltaIsRefused) {
  add(1, 1, 0, 1 << 29, 60, 100);
  add_note_offs(*table);
  compute_times(*table, timing_4_4());
  sort_events(*table);
  const MidiEncodeResult result = encode_midi_file(*table, timing_4_4(), *image);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.bad_delta, int64_t{1} << 29);
}

TEST_F(MidiWriterTest, MidicsvReadsBackWhatWasMeant) {
  add(1, 1, 0, 24, 60, 100);
  add(2, 1, 0, 96, 48, 80);
  add(1, 1, 24, 24, 64, 100);
  add(16, 2, 12, 12, 72, 127);
  const std::vector<uint8_t> bytes = encode(ComposerTiming{2, 100, 3, 8, 24, 12, 3});
  app::TempFolder folder;
  test::write_file(folder.file("t.mid"), std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(test::midicsv(folder.file("t.mid")),
            "0, 0, Header, 0, 1, 48\n"
            "1, 0, Start_track\n"
            "1, 0, Time_signature, 3, 3, 24, 8\n"
            "1, 0, Tempo, 600000\n"
            "1, 0, Note_on_c, 0, 60, 100\n"
            "1, 0, Note_on_c, 1, 48, 80\n"
            "1, 24, Note_on_c, 0, 60, 0\n"
            "1, 24, Note_on_c, 0, 64, 100\n"
            "1, 48, Note_on_c, 0, 64, 0\n"
            "1, 84, Note_on_c, 15, 72, 127\n"
            "1, 96, Note_on_c, 15, 72, 0\n"
            "1, 96, Note_on_c, 1, 48, 0\n"
            "1, 96, End_track\n"
            "0, 0, End_of_file\n");
}

}  // namespace
}  // namespace zelvo::composer
