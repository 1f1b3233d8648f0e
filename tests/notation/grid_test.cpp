// The quantization cases of tests/data/notation/grid_cases.txt: notes of one
// channel on a grid, against the written values of the part's first voice.
#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <sstream>
#include <string>

#include "notation/notation_grid.h"
#include "support/files.h"

namespace {

using namespace zelvo::notation;

// The first voice as tokens, a chord once: a note type's first letter (w h q
// e s t 6 for whole to 64th), "." a dot, "3" a triplet, "r" before a rest,
// "R" a measure rest, "~" a tie onward, "'" staccato, "|" between bars; and
// in `shortest` the finest type's rank (whole 0, 16th 4).
std::string written(const std::string& xml, int& shortest) {
  pugi::xml_document document;
  document.load_string(xml.c_str());
  std::string out;
  const pugi::xml_node part = document.child("score-partwise").child("part");
  for (pugi::xml_node measure : part.children("measure")) {
    if (!out.empty()) out += "| ";
    for (pugi::xml_node note : measure.children("note")) {
      if (note.child("voice").text().as_int() != 1 || note.child("chord")) continue;
      const std::string type = note.child_value("type");
      if (note.child("rest")) out += type.empty() ? "R" : "r";
      if (!type.empty()) out += type == "16th" ? 's' : type == "32nd" ? 't' : type[0];
      for (pugi::xml_node dot = note.child("dot"); dot; dot = dot.next_sibling("dot")) out += '.';
      if (note.child("time-modification")) out += '3';
      if (note.find_child_by_attribute("tie", "type", "start")) out += '~';
      if (note.child("notations").child("articulations").child("staccato")) out += '\'';
      out += ' ';
      static const std::string kTypes[] = {"whole", "half", "quarter", "eighth", "16th", "32nd", "64th", "128th"};
      for (int rank = 0; rank < 8; ++rank) {
        if (type == kTypes[rank]) shortest = std::max(shortest, rank);
      }
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

TEST(NotationGrid, EveryCaseOfTheTable) {
  for (const std::string& line : zelvo::test::table_rows("notation/grid_cases.txt", 11)) {
    SCOPED_TRACE(line);
    // GRID DIVISION BEATS/TYPE | ONSET:LENGTH[:PITCH] ... | WRITTEN
    std::istringstream fields(line);
    std::string grid_name;
    std::string meter;
    std::string bar;
    MidiNotes midi;
    fields >> grid_name >> midi.division >> meter >> bar;
    midi.meters = {{0, std::stoi(meter), std::stoi(meter.substr(meter.find('/') + 1))}};
    midi.keys = {{0, Key{}}};
    for (std::string word; fields >> word && word != "|";) {
      std::istringstream parts(word);
      int64_t start = 0;
      int64_t length = 0;
      int pitch = 72;
      char colon = 0;
      parts >> start >> colon >> length;
      if (parts >> colon) parts >> pitch;
      midi.notes.push_back(SoundingNote{0, start, length, pitch});
    }
    std::string expected;
    std::getline(fields >> std::ws, expected);
    if (grid_name == "choose") {
      const Grid chosen = choose_grid(midi);
      EXPECT_EQ(chosen == Grid::kEighthTriplet ? "8t" : chosen == Grid::kSixteenth ? "16" : "another", expected);
      continue;
    }
    Grid grid = Grid::kChosen;
    if (grid_name != "chosen") {
      ASSERT_TRUE(parse_grid(grid_name, grid));
    }
    const std::string xml = write_notation(midi, {}, grid);
    int shortest = 0;
    EXPECT_EQ(written(xml, shortest), expected);
    // No written value shorter than the grid's.
    const int finest = grid == Grid::kThirtySecond ? 5 : grid == Grid::kEighthTriplet ? 3 : 4;
    if (grid != Grid::kExact && grid != Grid::kChosen) {
      EXPECT_LE(shortest, finest);
    }
  }
}

}  // namespace
