#include "chords_command.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "command_line.h"
#include "console/work_files.h"
#include "leadsheet/lead_sheet_file.h"
#include "missing_file.h"

namespace zelvo::app {

namespace {

constexpr const char* kChordsUsage =
    "usage: zelvo chords SCORE [-o FILE] [--first-part N]\n"
    "\n"
    "Writes the harmony file (default inarm.xml) of the chord symbols and key\n"
    "signatures of SCORE (MusicXML, compressed or not): part N holds the scales\n"
    "and part N+1 the chords (default N: where the conar.txt of the current\n"
    "folder reads them; without one, the number of parts of SCORE + 1, and a\n"
    "conar.txt that reads them there is written too).\n";

int chords_usage(const std::string& problem) {
  std::fprintf(stderr, "zelvo: %s\n%s", problem.c_str(), kChordsUsage);
  return kExitUsage;
}

}  // namespace

int run_chords_command(int argc, char** argv) {
  std::string score_path;
  std::string output = console::kHarmonyFile;
  int first_part = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kChordsUsage, stdout);
      return kExitFinished;
    }
    if (arg == "-o" || arg == "--first-part") {
      if (i + 1 >= argc) return chords_usage("missing value after " + std::string(arg));
      const std::string value = argv[++i];
      if (arg == "-o") {
        output = value;
      } else {
        first_part = std::atoi(value.c_str());
        if (first_part < 1 || first_part > 15) return chords_usage("--first-part takes 1 to 15");
      }
    } else if (score_path.empty()) {
      score_path = arg;
    } else {
      return chords_usage("unexpected argument " + std::string(arg));
    }
  }
  if (score_path.empty()) return chords_usage("no score given");

  std::string problem;
  leadsheet::HarmonyPartsFrom from = leadsheet::HarmonyPartsFrom::kGiven;
  if (!leadsheet::write_lead_sheet_harmony(score_path, output, first_part, problem, &from)) {
    std::fprintf(stderr, "zelvo: %s\n", problem.c_str());
    if (const std::string where = looked_for(score_path); !where.empty()) {
      std::fprintf(stderr, "zelvo: %s\n", where.c_str());
    }
    return kExitAborted;
  }
  std::printf("zelvo: %s\n", leadsheet::harmony_parts_note(output, first_part, from, false).c_str());
  return kExitFinished;
}

}  // namespace zelvo::app
