#pragma once

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli_runner.h"

namespace zelvo::composer::test {

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;

// One table in the layout the table reader expects: every tag and cell on a
// line of its own.
inline std::string html_table(const Rows& rows) {
  std::string out = "<table border=1>\n";
  for (const Row& row : rows) {
    out += "<tr>\n";
    for (const std::string& cell : row) out += "<td>" + cell + "</td>\n";
    out += "</tr>\n";
  }
  return out + "</table>\n";
}

inline std::string html_document(const std::vector<Rows>& tables) {
  std::string out = "<html>\n<body>\n";
  for (const Rows& rows : tables) out += html_table(rows);
  return out + "</body>\n</html>\n";
}

inline Rows tconf(const std::string& bars, const std::string& tempo, const std::string& num,
                  const std::string& den, const std::string& clicks = "0", const std::string& seed = "1") {
  return {{"TCONF", "bars", "tempo", "num", "den", "clicks", "seed"}, {"values", bars, tempo, num, den, clicks, seed}};
}

// A calculated generator row: name, then mode, start bar, start click,
// period bars, period clicks, pulse, length bars, length clicks, note length,
// shape, top, bottom, step, order.
inline Rows tgenc(const Rows& generators) {
  Rows rows;
  Row header{"TGENC"};
  for (int c = 1; c <= 14; ++c) header.push_back("p" + std::to_string(c));
  header.push_back("notes");
  rows.push_back(header);
  rows.push_back({"defaults", "0", "1", "0", "1", "0", "12", "100", "0", "12", "3", "72", "60", "0", "1", ""});
  for (Row g : generators) {
    g.push_back("");
    rows.push_back(g);
  }
  return rows;
}

// A sequence generator row: name, then mode, sequence, start bar, start
// click, stretch, first note, notes cut, rest, length bars, length clicks,
// play mode, top shift, bottom shift, glide, order.
inline Rows tgens(const Rows& generators) {
  Rows rows;
  Row header{"TGENS"};
  for (int c = 1; c <= 15; ++c) header.push_back("p" + std::to_string(c));
  header.push_back("notes");
  rows.push_back(header);
  rows.push_back({"defaults", "0", "0", "1", "0", "0", "1", "0", "0", "100", "0", "1", "0", "0", "0", "1", ""});
  for (Row g : generators) {
    g.push_back("");
    rows.push_back(g);
  }
  return rows;
}

// Output channels: switch, channel, note, duration, gate, velocity.
inline Rows tsal(const Rows& channels) {
  Rows rows{{"TSAL", "ch", "note", "dur", "gate", "vel"}};
  rows.insert(rows.end(), channels.begin(), channels.end());
  return rows;
}

inline Rows tcal(const Rows& variables) {
  Rows rows{{"TCAL", "expression"}};
  rows.insert(rows.end(), variables.begin(), variables.end());
  return rows;
}

inline void write_file(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

using Event = std::array<int, 6>;  // Inst, Cpin, Ckin, Dur, Note, Vel

// The event lines of a listing (everything after its six header lines).
inline std::vector<Event> listing_events(const std::string& text) {
  std::vector<Event> events;
  std::istringstream in(text);
  std::string line;
  for (int i = 0; i < 6 && std::getline(in, line); ++i) {
  }
  while (std::getline(in, line)) {
    Event e{};
    if (std::sscanf(line.c_str(), "%d\t%d\t%d\t%d\t%d\t%d", &e[0], &e[1], &e[2], &e[3], &e[4], &e[5]) == 6) {
      events.push_back(e);
    }
  }
  return events;
}

// midicsv's text for a MIDI file, or "" when it could not read it.
inline std::string midicsv(const std::string& path) {
  std::string text;
  FILE* pipe = popen(("midicsv " + app::shell_quote(path) + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return text;
  char buffer[4096];
  size_t got = 0;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, got);
  pclose(pipe);
  return text;
}

// A work folder with incom.htm (and insec.xml when given), composed.
struct Composed {
  app::TempFolder folder;
  app::CliResult result;
  std::vector<Event> events;
  std::string listing;
};

inline void compose_in(Composed& run, const std::string& incom, const std::string& insec = "",
                       const std::string& language = "en") {
  write_file(run.folder.file("incom.htm"), incom);
  if (!insec.empty()) write_file(run.folder.file("insec.xml"), insec);
  run.result = app::run_zelvo({"--lang", language, "--work", run.folder.path(), "compose"});
  run.listing = read_file(run.folder.file("outco.rur"));
  run.events = listing_events(run.listing);
}

}  // namespace zelvo::composer::test
