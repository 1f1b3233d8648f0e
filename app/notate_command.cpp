#include "notate_command.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "command_line.h"
#include "grid_option.h"
#include "media_commands.h"
#include "missing_file.h"
#include "intake/midi_merge.h"
#include "notation/midi_notation.h"
#include "notation/notation_grid.h"

namespace zelvo::app {

namespace {

constexpr const char* kNotateUsage =
    "usage: zelvo notate FILE.mid [-o FILE.musicxml] [--grid 16|8t|32|exact]\n"
    "\n"
    "Writes the MIDI file as MusicXML (default: its name with .musicxml): one\n"
    "part per channel, named from its track or instrument, voices, ties across\n"
    "bar lines, rests, time and key signatures (the file's, else the key its\n"
    "notes fit best) and tempo changes. Notes are placed on a grid of\n"
    "sixteenths or eighth-note triplets, whichever the music's onsets fit;\n"
    "--grid picks one (32: thirty-second notes; exact: every tick as played).\n";

int fail(const std::string& problem) {
  std::fprintf(stderr, "zelvo: %s\n", problem.c_str());
  return kExitAborted;
}

}  // namespace

int run_notate_command(int argc, char** argv) {
  std::string input;
  std::string output;
  notation::Grid grid = notation::Grid::kChosen;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kNotateUsage, stdout);
      return kExitFinished;
    }
    if (arg == "-o") {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "zelvo: missing value after -o\n%s", kNotateUsage);
        return kExitUsage;
      }
      output = argv[++i];
    } else if (arg == "--grid") {
      if (!read_grid_option(argc, argv, i, grid)) {
        std::fprintf(stderr, "zelvo: %s\n%s", kGridProblem, kNotateUsage);
        return kExitUsage;
      }
    } else if (input.empty()) {
      input = arg;
    } else {
      std::fprintf(stderr, "zelvo: unexpected argument %s\n%s", argv[i], kNotateUsage);
      return kExitUsage;
    }
  }
  if (input.empty()) {
    std::fprintf(stderr, "zelvo: no MIDI file given\n%s", kNotateUsage);
    return kExitUsage;
  }
  if (output.empty()) output = output_beside(input, ".musicxml");

  std::ifstream in(input, std::ios::binary);
  if (!in) {
    const std::string where = looked_for(input);
    return fail(input + " cannot be opened" + (where.empty() ? "" : "\nzelvo: " + where));
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  midi::Song merged;
  switch (intake::merge_any_midi(bytes.str(), merged)) {
    case intake::MidiMerge::kMerged: break;
    case intake::MidiMerge::kNotFormat1: return fail(input + " is a format 2 MIDI file, which is not read");
    case intake::MidiMerge::kSmpte: return fail(input + " is timed in SMPTE frames, which is not read");
    case intake::MidiMerge::kDamaged: return fail(input + " is not a readable MIDI file");
  }
  notation::MidiNotes midi = notation::read_midi_notes(merged);
  merged = midi::Song{};  // its memory serves the layout of the notes
  notation::read_midi_labels(bytes.str(), midi);
  notation::add_key_from_notes(midi);
  const std::string text = notation::write_notation(midi, {}, grid);
  if (text.empty()) {
    return fail(input + " is longer than " + std::to_string(notation::kMaxMeasures) + " bars, which are not written");
  }
  // Written whole under a temporary name, then renamed: never half a file.
  const std::string temporary = output + ".part";
  {
    std::ofstream out(temporary, std::ios::binary);
    out << text;
    if (!out.flush()) {
      std::remove(temporary.c_str());
      return fail("cannot write " + output);
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, output, error);
  if (error) {
    std::remove(temporary.c_str());
    return fail("cannot write " + output + ": " + error.message());
  }
  std::printf("zelvo: wrote %s\n", output.c_str());
  return kExitFinished;
}

}  // namespace zelvo::app
