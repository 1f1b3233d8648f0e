// Pieces of any length (tests/data/composer/long_pieces.txt): the demo's
// composition with every generator running to bar 2000 and its harmony as a
// cycle of four chords written once with @@count, so the files stay small
// and the piece is made at run time. "call long BARS... SHORT PERIOD"
// composes and harmonizes the piece at each length (the bar count of TCONF
// set to it) with the zelvo program, draws the harmonized music, and sets
// every 100th bar beside the bar of the SHORT-bar piece's last PERIOD bars
// where the composition repeats (the demo's sequences play in its first 16
// bars only, then every 16 bars are alike): the composed notes must be the
// same but for their velocities (the accents are random draws), and so must
// the harmonized ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli_runner.h"
#include "support/cases.h"
#include "support/files.h"

namespace zelvo::composer {
namespace {

namespace fs = std::filesystem;

// One note as the comparison sees it: where in its bar, which channel, what pitch.
using Bars = std::map<int64_t, std::vector<std::string>>;

// The listing's notes by bar, without their velocities.
Bars listing_bars(const std::string& text) {
  Bars bars;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    int64_t inst = 0, bar = 0, click = 0, duration = 0, note = 0;
    if (!(fields >> inst >> bar >> click >> duration >> note)) continue;
    bars[bar].push_back(std::to_string(inst) + " " + std::to_string(click) + " " + std::to_string(duration) + " " +
                        std::to_string(note));
  }
  return bars;
}

// The tones file's notes by bar: channel, tick in the bar, chosen and given pitch, tone type.
Bars tones_bars(const std::string& text, int64_t ticks_per_bar) {
  Bars bars;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    int64_t channel = 0, tick = 0;
    std::string rest;
    if (line.empty() || line[0] == '#' || !(fields >> channel >> tick) || !std::getline(fields, rest)) continue;
    bars[tick / ticks_per_bar + 1].push_back(std::to_string(channel) + " " + std::to_string(tick % ticks_per_bar) + rest);
  }
  return bars;
}

struct Piece {
  int exit_compose = -1;
  int exit_harmonize = -1;
  int exit_roll = -1;
  Bars composed;
  Bars harmonized;
};

Piece make_piece(const test::Case& c, const std::string& bars, bool draw) {
  test::TempFolder folder;
  const std::string work = folder.path();
  for (auto [name, bytes] : c.files) {
    // The bar count is TCONF's first value.
    if (name == "incom.htm") {
      const std::string cell = "<td>values</td>\n<td>";
      const size_t at = bytes.find(cell) + cell.size();
      bytes.replace(at, bytes.find('<', at) - at, bars);
    }
    test::write_file(work + "/" + name, bytes);
  }
  Piece piece;
  piece.exit_compose = app::run_zelvo({"--work", work, "compose"}).status;
  piece.exit_harmonize = app::run_zelvo({"--work", work, "harmonize"}).status;
  if (draw) {
    const int status = app::run_zelvo({"roll", work + "/outar.mid"}).status;
    piece.exit_roll = fs::exists(work + "/outar.png") ? status : -1;
  }
  piece.composed = listing_bars(test::read_file(work + "/outco.rur"));
  // The demo's bar: 4 beats of 48 clicks.
  piece.harmonized = tones_bars(test::read_file(work + "/outar.tones"), 4 * 48);
  return piece;
}

size_t notes_in(const Bars& bars) {
  size_t count = 0;
  for (const auto& [bar, notes] : bars) count += notes.size();
  return count;
}

std::string run_case(const test::Case& c) {
  if (c.call.size() < 4 || c.call[0] != "long") return "unknown call\n";
  const std::string short_bars = c.call[c.call.size() - 2];
  const int64_t period = std::stoll(c.call.back());
  const int64_t first_repeat = std::stoll(short_bars) - period;
  const Piece shorter = make_piece(c, short_bars, false);
  std::ostringstream out;
  for (size_t k = 1; k + 2 < c.call.size(); ++k) {
    const Piece piece = make_piece(c, c.call[k], true);
    out << c.call[k] << " bars: compose exit " << piece.exit_compose << ", " << notes_in(piece.composed)
        << " notes to bar " << (piece.composed.empty() ? 0 : piece.composed.rbegin()->first) << "; harmonize exit "
        << piece.exit_harmonize << ", " << notes_in(piece.harmonized) << " notes to bar "
        << (piece.harmonized.empty() ? 0 : piece.harmonized.rbegin()->first) << "; roll exit " << piece.exit_roll
        << "\n";
    for (int64_t bar = 100; bar <= std::stoll(c.call[k]); bar += 100) {
      const int64_t same = first_repeat + (bar - 1) % period + 1;
      auto at = [](const Bars& bars, int64_t b) { auto it = bars.find(b); return it == bars.end() ? std::vector<std::string>() : it->second; };
      out << "  bar " << bar << " as bar " << same << ": " << at(piece.composed, bar).size() << " notes "
          << (at(piece.composed, bar) == at(shorter.composed, same) ? "the same" : "DIFFERENT") << ", "
          << at(piece.harmonized, bar).size() << " harmonized "
          << (at(piece.harmonized, bar) == at(shorter.harmonized, same) ? "the same" : "DIFFERENT") << "\n";
    }
  }
  return out.str();
}

TEST(LongPiecesTest, EveryHundredthBarIsTheShortPiecesBar) {
  test::check_cases(test::test_data("composer/long_pieces.txt"), run_case);
}

}  // namespace
}  // namespace zelvo::composer
