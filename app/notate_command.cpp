#include "notate_command.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "command_help.h"
#include "command_line.h"
#include "base/message.h"
#include "files/whole_file.h"
#include "grid_option.h"
#include "media_commands.h"
#include "missing_file.h"
#include "intake/midi_merge.h"
#include "notation/midi_notation.h"
#include "notation/notation_grid.h"
#include "usage_output.h"

namespace zelvo::app {

namespace {

int notate_usage(int language, UsageProblem problem, std::string_view word = {}) {
  return command_usage_error("zelvo", "notate", language, usage_problem(problem, language, word));
}

int fail(const std::string& problem) {
  std::fprintf(stderr, "zelvo: %s\n", problem.c_str());
  return kExitAborted;
}

}  // namespace

int run_notate_command(int argc, char** argv) {
  std::string input;
  std::string output;
  notation::Grid grid = notation::Grid::kChosen;
  int language = base::kEnglish;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (std::string problem; take_language_option(argc, argv, i, language, problem)) {
      if (!problem.empty()) return command_usage_error("zelvo", "notate", language, problem);
      continue;
    }
    if (arg == "-h" || arg == "--help") return print_command_usage("notate", language);
    if (arg == "-o") {
      if (i + 1 >= argc) return notate_usage(language, UsageProblem::kMissingValue, arg);
      output = argv[++i];
    } else if (arg == "--grid") {
      if (!read_grid_option(argc, argv, i, grid)) {
        return notate_usage(language, UsageProblem::kGridValue);
      }
    } else if (input.empty()) {
      input = arg;
    } else {
      return notate_usage(language, UsageProblem::kUnexpectedArgument, arg);
    }
  }
  if (input.empty()) return notate_usage(language, UsageProblem::kNoMidiFile);
  if (output.empty()) output = output_beside(input, ".musicxml");

  std::string bytes;
  if (!files::read_whole(input, bytes)) {
    const std::string where = looked_for(input);
    return fail(input + " cannot be opened" + (where.empty() ? "" : "\nzelvo: " + where));
  }
  notation::MidiNotes midi;
  switch (notation::read_midi_with_labels(bytes, midi)) {
    case intake::MidiMerge::kMerged: break;
    case intake::MidiMerge::kNotFormat1: return fail(input + " is a format 2 MIDI file, which is not read");
    case intake::MidiMerge::kSmpte: return fail(input + " is timed in SMPTE frames, which is not read");
    case intake::MidiMerge::kDamaged: return fail(input + " is not a readable MIDI file");
  }
  notation::add_key_from_notes(midi);
  const std::string text = notation::write_notation(midi, {}, grid);
  if (text.empty()) {
    return fail(input + " is longer than " + std::to_string(notation::kMaxMeasures) + " bars, which are not written");
  }
  std::error_code error;
  if (files::write_whole(output, text, &error) != files::WriteResult::kWritten) {
    return fail("cannot write " + output + (error ? ": " + error.message() : std::string()));
  }
  std::printf("zelvo: wrote %s\n", output.c_str());
  return kExitFinished;
}

}  // namespace zelvo::app
