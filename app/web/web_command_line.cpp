#include "web_command_line.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "check_command.h"
#include "chords_command.h"
#include "command_help.h"
#include "command_line.h"
#include "folder_job.h"
#include "console/console_view.h"
#include "base/windows1252.h"
#include "global_options.h"
#include "grid_option.h"
#include "notate_command.h"
#include "files/result_writer.h"
#include "jobs/engines.h"
#include "jobs/job.h"

namespace zelvo::app {

namespace {

constexpr const char* kWebUsage =
    "usage: zelvo [--work DIR] [--lang en|es] [--notation [--grid G]] compose|harmonize|all\n"
    "       zelvo [--lang en|es] check [--work DIR]\n"
    "       zelvo chords SCORE [-o FILE] [--first-part N]\n"
    "       zelvo notate FILE.mid [-o FILE.musicxml]\n";

// The console as the terminal shows it, each message in UTF-8 as it comes.
class StandardOutputView : public console::ConsoleView {
 public:
  void appended(std::string_view text) override {
    const std::string utf8 = base::to_utf8(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  }
};

int usage_error(const std::string& problem) {
  std::fprintf(stderr, "zelvo: %s\n%s", problem.c_str(), kWebUsage);
  return kExitUsage;
}

struct JobOptions : JobCommandOptions {
  bool have_job = false;
};

// The job options as the native command line reads them; an empty string
// when they are good, else what is wrong.
std::string read_job_options(int argc, char** argv, JobOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--notation") {
      options.notation = true;
    } else if (arg == "--grid") {
      if (!read_grid_option(argc, argv, i, options.grid)) {
        return usage_problem(UsageProblem::kGridValue, base::kEnglish);
      }
      options.grid_given = true;
    } else if (arg == "--work" || arg == "--lang") {
      if (i + 1 >= argc) return "missing value after " + std::string(arg);
      const std::string_view value = argv[++i];
      if (arg == "--work") {
        options.work_folder = value;
      } else if (value == "en" || value == "es") {
        options.language = value == "es" ? base::kSpanish : base::kEnglish;
      } else {
        return "--lang takes en or es";
      }
    } else if (options.have_job) {
      return "unexpected argument " + std::string(arg);
    } else if (arg == "compose" || arg == "harmonize" || arg == "all") {
      options.kind = arg == "compose"     ? console::JobKind::kCompose
                     : arg == "harmonize" ? console::JobKind::kHarmonize
                                          : console::JobKind::kAll;
      options.have_job = true;
    } else {
      return "unknown command " + std::string(arg);
    }
  }
  if (!options.have_job) return "no command given";
  if (options.grid_given && !options.notation) return "--grid belongs to --notation";
  return "";
}

int run_job(const JobOptions& options) {
  // As the native command line runs a job: the folder's files as values,
  // each output written into the folder as the job makes it.
  jobs::JobInput input;
  if (!read_folder_job(options, input)) return kExitUsage;
  auto engines = std::make_unique<jobs::Engines>();
  jobs::JobControl control;
  StandardOutputView view;
  control.view = &view;
  files::FolderWriter writer(options.work_folder);
  control.results = &writer;
  return jobs::run_job(*engines, input, control).exit_status;
}

// Whether the command line names the check command, found as the native
// command line finds its command (global options may stand anywhere).
bool names_check(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  GlobalOptions global;
  std::string problem;
  take_global_options(args, global, problem);  // a bad option is the check's to report
  return command_word(args) == "check";
}

int dispatch(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "chords") return run_chords_command(argc - 1, argv + 1);
  if (argc > 1 && std::string_view(argv[1]) == "notate") return run_notate_command(argc - 1, argv + 1);
  if (names_check(argc, argv)) return run_check_command(argc, argv);
  JobOptions options;
  const std::string problem = read_job_options(argc, argv, options);
  if (!problem.empty()) return usage_error(problem);
  return run_job(options);
}

}  // namespace

int run_web_command_line(int argc, char** argv) {
  const int status = dispatch(argc, argv);
  std::fflush(stdout);
  std::fflush(stderr);
  return status;
}

}  // namespace zelvo::app
