#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zelvo::app {

// A text of the command line in both languages of the console, as
// Windows-1252 bytes (printed as UTF-8).
struct Wording {
  std::string_view english;
  std::string_view spanish;
};

// The wording in `language` (base::kEnglish or base::kSpanish).
std::string_view in_language(const Wording& wording, int language);

// One command of zelvo, as `zelvo --help` lists it and `zelvo help NAME`
// explains it.
struct CommandHelp {
  std::string_view name;
  Wording summary;  // one line
  Wording usage;    // empty where it is made: compose, harmonize, all, help
};

// Every command, in the order `zelvo --help` lists them.
extern const std::array<CommandHelp, 14> kCommandHelp;

// Null when `name` is no command.
const CommandHelp* find_command(std::string_view name);

// What `zelvo --help` prints: the line's shape, every command with its
// summary, the global options and the exit statuses.
std::string general_usage(int language);

// The usage of compose, harmonize or all (`name`).
std::string job_usage(std::string_view name, int language);

// The usage of any command of the list, and of none (the general usage).
std::string command_usage(std::string_view name, int language);

// The usage errors of the command line; those with a word take it (the
// option or argument in question).
enum class UsageProblem {
  kMissingValue,
  kLanguageValue,
  kHelpTakesOneCommand,
  kUnknownCommand,
  kUnexpectedArgument,
  kNoCommand,
  kProjectTakesWhat,
  kUnknownProjectCommand,
  kProjectOptionsAlone,
  kGridWithNotation,
  kGridValue,
  kProjectNeedsWork,
  kProjectNeedsProject,
  kNoScore,
  kFirstPartRange,
  kNoMidiFile,
  kTablesTakesWhat,
  kJsonWithShow,
  kTablesSetTakes,
  kUnknownTablesCommand,
  kSetWithCompose,
  kChannelList,
  kBarNumber,
  kToBeforeFrom,
  kGainRange,
  kWidthRange,
  kSwapPoint,
};
constexpr int kUsageProblemCount = static_cast<int>(UsageProblem::kSwapPoint) + 1;
std::string usage_problem(UsageProblem problem, int language, std::string_view word = {});

}  // namespace zelvo::app
