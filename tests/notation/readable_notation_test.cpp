// The readable writing: names, instruments, staves, voices, lyrics, drums,
// tempos and keys, checked in the MusicXML it writes.
#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "notation/notation_grid.h"
#include "notation/part_names.h"

namespace {

using namespace zelvo::notation;

std::string be(uint32_t value, int count) {
  std::string out;
  for (int i = count - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

std::string track(std::string events) {
  events += std::string("\x00\xFF\x2F\x00", 4);
  return "MTrk" + be(static_cast<uint32_t>(events.size()), 4) + events;
}

// Notes of a quarter each at 96 a quarter: {channel, start in quarters, pitch}.
MidiNotes quarters(const std::vector<std::vector<int>>& notes) {
  MidiNotes midi;
  midi.division = 96;
  midi.keys = {{0, Key{}}};
  for (const std::vector<int>& n : notes) midi.notes.push_back(SoundingNote{n[0], n[1] * 96, 96, n[2]});
  return midi;
}

struct Written {
  pugi::xml_document document;
  explicit Written(const std::string& xml) { EXPECT_TRUE(document.load_string(xml.c_str())); }
  std::vector<std::string> all(const char* path) const {
    std::vector<std::string> out;
    for (const pugi::xpath_node& node : document.select_nodes(path)) out.push_back(node.node().text().as_string());
    return out;
  }
  std::string one(const char* path) const { return document.select_node(path).node().text().as_string(); }
};

TEST(ReadableNotation, PartsNamedFromTracksElseTheirProgram) {
  // Track 1 names itself and plays channel 1 (program 40); track 2 plays
  // channel 2 (program 73) without a name; then two more tempos.
  const std::string first = std::string("\x00\xFF\x03\x06Viol\xEDn", 10) + std::string("\x00\xC0\x28", 3) +
                            std::string("\x00\x90\x40\x50\x60\x80\x40\x00", 8);
  const std::string second = std::string("\x00\xC1\x49\x00\x91\x48\x50\x60\x81\x48\x00", 11) +
                             std::string("\x00\xFF\x51\x03\x07\xA1\x20", 7) +
                             std::string("\x30\xFF\x51\x03\x0F\x42\x40", 7);
  const std::string file = "MThd" + be(6, 4) + be(1, 2) + be(2, 2) + be(96, 2) + track(first) + track(second);
  MidiNotes midi;
  midi.programs[0] = 40;
  midi.programs[1] = 73;
  read_midi_labels(file, midi);
  EXPECT_EQ(part_name(midi, 0), "Viol\xC3\xADn");  // Windows-1252 made UTF-8
  EXPECT_EQ(part_name(midi, 1), "Flute");
  EXPECT_EQ(part_name(midi, 2), "Acoustic Grand Piano");
  EXPECT_EQ(part_name(midi, kDrumChannel), "Drums");
  ASSERT_EQ(midi.tempos.size(), 2u);
  EXPECT_EQ(midi.tempos[0].tick, 96);
  EXPECT_EQ(midi.tempos[0].tempo, 120);
  EXPECT_EQ(midi.tempos[1].tick, 144);
  EXPECT_EQ(midi.tempos[1].tempo, 60);
}

TEST(ReadableNotation, InstrumentsAndDrumsOnAPercussionStaff) {
  MidiNotes midi = quarters({{0, 0, 60}, {9, 0, 36}, {9, 0, 42}, {9, 1, 38}});
  midi.programs[0] = 56;
  const Written out(write_notation(midi, {}, Grid::kSixteenth));
  EXPECT_EQ(out.all("//score-part/part-name"), (std::vector<std::string>{"Trumpet", "Drums"}));
  EXPECT_EQ(out.one("//score-part[@id='P1']/midi-instrument/midi-program"), "57");
  EXPECT_EQ(out.all("//score-part[@id='P10']/score-instrument/instrument-name"),
            (std::vector<std::string>{"Bass Drum 1", "Acoustic Snare", "Closed Hi-Hat"}));
  EXPECT_EQ(out.all("//score-part[@id='P10']/midi-instrument/midi-unpitched"),
            (std::vector<std::string>{"37", "39", "43"}));
  EXPECT_EQ(out.one("//part[@id='P10']//clef/sign"), "percussion");
  EXPECT_EQ(out.all("//part[@id='P10']//unpitched/display-step"), (std::vector<std::string>{"F", "G", "C"}));
  EXPECT_EQ(out.all("//part[@id='P10']//notehead"), (std::vector<std::string>{"x"}));
  EXPECT_TRUE(out.all("//part[@id='P10']//pitch").empty());
}

TEST(ReadableNotation, AWidePartOnAGrandStaffEachVoiceOnOneStaff) {
  // A melody around C5, a bass around C3 moving against it, and a third
  // voice that starts and ends with the melody's chords.
  MidiNotes midi = quarters({{0, 0, 72}, {0, 0, 40}, {0, 1, 74}, {0, 2, 76}, {0, 3, 77}});
  midi.notes.push_back(SoundingNote{0, 0, 192, 36});    // a half note under two quarters
  midi.notes.push_back(SoundingNote{0, 192, 96, 43});
  const Written out(write_notation(midi, {}, Grid::kSixteenth));
  EXPECT_EQ(out.one("//staves"), "2");
  EXPECT_EQ(out.all("//clef/sign"), (std::vector<std::string>{"G", "F"}));
  // Every note of the melody on staff 1, every bass note on staff 2.
  for (const pugi::xpath_node& note : out.document.select_nodes("//note[pitch]")) {
    const int octave = note.node().child("pitch").child("octave").text().as_int();
    EXPECT_EQ(note.node().child("staff").text().as_int(), octave >= 4 ? 1 : 2);
  }
  // At most two voices a staff.
  EXPECT_LE(out.document.select_nodes("//note[staff='2' and voice='5']").size(), 0u);
  MidiNotes narrow = quarters({{0, 0, 60}, {0, 1, 76}});
  EXPECT_TRUE(Written(write_notation(narrow, {}, Grid::kSixteenth)).all("//staves").empty());
}

TEST(ReadableNotation, LyricsOfTwoVoicesOnTwoLinesAndOneLyricAChord) {
  MidiNotes midi = quarters({{0, 0, 72}, {0, 0, 67}, {0, 1, 71}});
  midi.notes.push_back(SoundingNote{0, 0, 192, 64});  // a second voice
  const Written out(write_notation(midi, {"pd", "ai", "as", "fa"}, Grid::kSixteenth));
  EXPECT_EQ(out.all("//lyric/text"), (std::vector<std::string>{"pd/ai", "as", "fa"}));
  std::vector<std::string> numbers;
  for (const pugi::xpath_node& lyric : out.document.select_nodes("//lyric")) {
    numbers.push_back(lyric.node().attribute("number").value());
  }
  EXPECT_EQ(numbers, (std::vector<std::string>{"1", "1", "2"}));
}

TEST(ReadableNotation, TheToneTypeOfATiedOverNoteWhereItSounds) {
  MidiNotes midi = quarters({});
  midi.notes.push_back(SoundingNote{0, 288, 192, 60});  // the fourth beat into bar 2
  const std::vector<HeldLyric> held = {{0, 384, "ai"}};
  const Written out(write_notation(midi, {"pd"}, Grid::kSixteenth, held));
  EXPECT_EQ(out.all("//measure[@number='1']//lyric/text"), (std::vector<std::string>{"pd"}));
  EXPECT_EQ(out.all("//measure[@number='2']//lyric/text"), (std::vector<std::string>{"ai"}));
  EXPECT_TRUE(Written(write_notation(midi, {"pd"}, Grid::kExact, held)).all("//measure[@number='2']//lyric").empty());
}

TEST(ReadableNotation, TemposAtTheirBeatsAndKeysAtTheNextBarLine) {
  MidiNotes midi = quarters({{0, 0, 60}, {0, 5, 66}, {0, 8, 60}});
  midi.tempos = {{0, 90}, {96 * 6, 120}};
  midi.keys = {{0, Key{}}, {96 * 5, Key{1, false}}};
  const Written out(write_notation(midi, {}, Grid::kSixteenth));
  EXPECT_EQ(out.all("//per-minute"), (std::vector<std::string>{"90", "120"}));
  // The second tempo two beats into bar 2 (4 ticks a quarter).
  EXPECT_EQ(out.one("//measure[@number='2']/forward/duration"), "8");
  EXPECT_EQ(out.all("//measure[@number='2']//fifths"), (std::vector<std::string>{}));
  EXPECT_EQ(out.all("//measure[@number='3']//fifths"), (std::vector<std::string>{"1"}));
  EXPECT_EQ(out.one("//measure[@number='2']//note[pitch/step='F']/accidental"), "sharp");
}

}  // namespace
