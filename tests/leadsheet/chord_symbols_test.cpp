#include "leadsheet/chord_symbols.h"
#include "leadsheet/lead_sheet_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/files.h"

namespace {

using zelvo::leadsheet::ChordDegree;
using zelvo::leadsheet::ChordSymbol;

std::string names(uint16_t classes) {
  static const char* kNames[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  std::string out;
  for (int p = 0; p < 12; ++p) {
    if ((classes >> p & 1) != 0) out += std::string(out.empty() ? "" : " ") + kNames[p];
  }
  return out;
}

int pitch_class_of(const std::string& name) {
  return zelvo::leadsheet::step_pitch_class(name[0], name.size() > 1 && name[1] == '#' ? 1 : 0);
}

ChordDegree read_degree(const std::string& text) {
  ChordDegree degree;
  std::istringstream in(text);
  std::string value, alter, type;
  std::getline(in, value, ':');
  std::getline(in, alter, ':');
  std::getline(in, type);
  degree.value = std::stoi(value);
  degree.alter = std::stoi(alter);
  degree.type = type == "subtract" ? ChordDegree::Type::kSubtract
                : type == "alter"  ? ChordDegree::Type::kAlter
                                   : ChordDegree::Type::kAdd;
  return degree;
}

// Every row of the table: a chord symbol or a key signature and the pitch
// classes it stands for.
TEST(ChordSymbols, TableOfSymbolsAndKeys) {
  for (const std::string& row : zelvo::test::table_rows("notation/chord_symbols.txt", 41)) {
    const size_t bar = row.find('|');
    ASSERT_NE(bar, std::string::npos) << row;
    std::string expected = row.substr(bar + 1);
    expected.erase(0, expected.find_first_not_of(' '));
    std::istringstream fields(row.substr(0, bar));
    std::string first;
    fields >> first;
    if (first == "key") {
      int fifths = 0;
      std::string mode;
      fields >> fifths >> mode;
      int tonic = -1;
      EXPECT_EQ(names(zelvo::leadsheet::key_scale(fifths, mode, tonic)), expected) << row;
    } else {
      ChordSymbol chord;
      int alter = 0;
      std::string kind, bass, degrees;
      fields >> alter >> kind >> bass >> degrees;
      chord.root = zelvo::leadsheet::step_pitch_class(first[0], alter);
      chord.kind = kind;
      if (bass != "-") chord.bass = pitch_class_of(bass);
      std::istringstream list(degrees == "-" ? "" : degrees);
      std::string one;
      while (std::getline(list, one, ',')) chord.degrees[chord.degree_count++] = read_degree(one);
      EXPECT_EQ(names(zelvo::leadsheet::chord_pitch_classes(chord)), expected) << row;
    }
  }
}

}  // namespace

// The note zelvo chords prints and the window shows after writing the
// harmony file, for each place the parts come from, in both languages; a
// file name outside ASCII comes through as it was given. Recorded in
// data/leadsheet/harmony_parts_notes.txt.
namespace {

TEST(HarmonyPartsNote, SaysWhereTheScalesAndChordsAreReadInBothLanguages) {
  using zelvo::leadsheet::HarmonyPartsFrom;
  std::string got;
  for (const bool spanish : {false, true}) {
    for (const HarmonyPartsFrom from : {HarmonyPartsFrom::kGiven, HarmonyPartsFrom::kConfiguration,
                                        HarmonyPartsFrom::kNewConfiguration, HarmonyPartsFrom::kScoreParts}) {
      got += zelvo::leadsheet::harmony_parts_note("can\u00e7\u00e3o.xml", 3, from, spanish) + "\n";
    }
  }
  zelvo::test::expect_recorded(zelvo::test::test_data("leadsheet/harmony_parts_notes.txt"), got);
}

}  // namespace
