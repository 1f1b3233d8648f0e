// The cases of tests/data/notation/notation_cases.txt. "call exact" writes
// the notes of the "music" block as the exact MusicXML, "call readable GRID"
// as the readable one on GRID (16, 8t, 32 or exact); the run answers each
// line of the "queries" block: an XPath's values (texts, attributes, or a
// number), or with "text SNIPPET" how often the snippet is in the written
// text. "call labels CHANNEL..." reads the labels of the file song.mid
// (and the part names of the score score.xml, when there is one) over the
// music: the part name of each channel, every tempo. "call result GRID"
// writes the file song.mid as a job's result on GRID with the values a
// harmonization hands over (the "labels" block, see read_labels), and
// answers the queries.
#include <gtest/gtest.h>

#include <map>
#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "notation/notation_grid.h"
#include "notation/part_names.h"
#include "notation/result_notation.h"
#include "support/cases.h"

namespace {

using namespace zelvo::notation;

// The music, one fact a line: "division N", "note CHANNEL START LENGTH
// PITCH", "program CHANNEL N", "meter TICK BEATS TYPE" and "key TICK FIFTHS
// major|minor" (the first replaces 4/4 and C major), "tempo TICK BPM",
// "lyrics TEXT..." (one a note), "held NOTE TICK TEXT".
struct Music {
  MidiNotes midi;
  std::vector<std::string> lyrics;
  std::vector<HeldLyric> held;
};

Music read_music(const std::string& text) {
  Music music;
  MidiNotes& midi = music.midi;
  midi.division = 96;
  midi.keys = {{0, Key{}}};
  bool metered = false, keyed = false;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string what, mode;
    words >> what;
    if (what == "division") {
      words >> midi.division;
    } else if (what == "note") {
      SoundingNote& note = midi.notes.emplace_back();
      words >> note.channel >> note.start >> note.length >> note.pitch;
    } else if (what == "program") {
      size_t channel = 0;
      words >> channel >> midi.programs.at(channel);
    } else if (what == "meter") {
      if (!std::exchange(metered, true)) midi.meters.clear();
      TimeSignature& meter = midi.meters.emplace_back();
      words >> meter.tick >> meter.beats >> meter.beat_type;
    } else if (what == "key") {
      if (!std::exchange(keyed, true)) midi.keys.clear();
      KeySignature& key = midi.keys.emplace_back();
      words >> key.tick >> key.key.fifths >> mode;
      key.key.minor = mode == "minor";
    } else if (what == "tempo") {
      TempoChange& change = midi.tempos.emplace_back();
      words >> change.tick >> change.tempo;
    } else if (what == "held") {
      HeldLyric& held = music.held.emplace_back();
      words >> held.note >> held.tick >> held.text;
    }
    for (std::string word; what == "lyrics" && words >> word;) music.lyrics.push_back(word);
  }
  return music;
}

// What a harmonization hands over, one fact a line: "tone CHANNEL TICK
// PITCH TYPE", "scale TICK TONIC PITCH-CLASS..." (TONIC -1 for none) and
// "name CHANNEL TEXT" (channel from 1).
HarmonyLabels read_labels(const std::string& text) {
  static constexpr const char* kTypes[] = {"fa", "fd", "pa", "pd", "as", "ai", "ea", "ed", "re"};
  HarmonyLabels labels;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string what, type;
    words >> what;
    if (what == "tone") {
      zelvo::harmonizer::ToneLine& tone = labels.tones.emplace_back();
      words >> tone.channel >> tone.tick >> tone.chosen >> type;
      for (const char* name : kTypes) tone.type = type == name ? name : tone.type;
    } else if (what == "scale") {
      zelvo::harmonizer::ResultScale& scale = labels.scales.emplace_back();
      words >> scale.tick >> scale.tonic;
      for (size_t pc = 0; words >> pc;) scale.marked.at(pc) = true;
    } else if (what == "name") {
      size_t channel = 0;
      words >> channel >> std::ws;
      std::getline(words, labels.names.at(channel - 1));
    }
  }
  return labels;
}

std::string answer(const pugi::xml_document& document, const std::string& xml, const std::string& query) {
  std::string out = query + "\n";
  if (query.rfind("text ", 0) == 0) {
    const std::string snippet = query.substr(5);
    size_t count = 0;
    for (size_t at = xml.find(snippet); at != std::string::npos; at = xml.find(snippet, at + 1)) ++count;
    return out + "  " + std::to_string(count) + "\n";
  }
  const pugi::xpath_query xpath(query.c_str());
  if (xpath.return_type() != pugi::xpath_type_node_set) return out + "  " + xpath.evaluate_string(document) + "\n";
  for (const pugi::xpath_node& node : xpath.evaluate_node_set(document)) {
    out += "  " + std::string(node.attribute() ? node.attribute().value() : node.node().text().as_string()) + "\n";
  }
  return out;
}

TEST(NotationCases, EveryCaseWritesAsRecorded) {
  zelvo::test::check_cases(zelvo::test::test_data("notation/notation_cases.txt"), [](const zelvo::test::Case& c) {
    std::map<std::string, std::string> blocks(c.files.begin(), c.files.end());
    Music music = read_music(blocks["music"]);
    std::string got;
    if (c.call.at(0) == "labels") {
      read_midi_labels(blocks["song.mid"], music.midi);
      pugi::xml_document score;
      if (score.load_string(blocks["score.xml"].c_str())) read_score_part_names(score, music.midi);
      for (size_t i = 1; i < c.call.size(); ++i) {
        got += "channel " + c.call[i] + ": " + part_name(music.midi, std::stoi(c.call[i])) + "\n";
      }
      for (const TempoChange& change : music.midi.tempos) {
        got += "tempo at " + std::to_string(change.tick) + ": " + std::to_string(change.tempo) + "\n";
      }
      return got;
    }
    Grid grid = Grid::kExact;
    EXPECT_TRUE(c.call.at(0) == "exact" || parse_grid(c.call.at(1), grid)) << c.name;
    std::string xml;
    if (c.call.at(0) == "result") {
      const HarmonyLabels labels = read_labels(blocks["labels"]);
      xml = result_notation(blocks["song.mid"], &labels, grid);
    } else {
      xml = c.call.at(0) == "exact" ? write_musicxml(music.midi, music.lyrics)
                                    : write_notation(music.midi, music.lyrics, grid, music.held);
    }
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(xml.c_str())) << c.name;
    std::istringstream queries(blocks["queries"]);
    for (std::string query; std::getline(queries, query);) got += answer(document, xml, query);
    return got;
  });
}

}  // namespace
