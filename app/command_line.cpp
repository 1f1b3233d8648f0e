#include "command_line.h"
#include "failure_line.h"
#include "check_command.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "chords_command.h"
#include "command_help.h"
#include "folder_job.h"
#include "global_options.h"
#include "base/windows1252.h"
#include "grid_option.h"
#include "jobs/engines.h"
#include "jobs/job.h"
#include "media_commands.h"
#include "notate_command.h"
#include "progress_line.h"
#include "tables_command.h"
#include "shell/application.h"
#include "shell/folders.h"
#include "shell/platform.h"
#include "shell/projects.h"
#include "shell/unit_watch.h"

namespace zelvo::app {

namespace {

// The console as a terminal shows it: each message as it is appended, in
// UTF-8, flushed at once.
class StandardOutputView : public console::ConsoleView {
 public:
  explicit StandardOutputView(ProgressLine* progress = nullptr) : progress_(progress) {}
  void appended(std::string_view text) override {
    const std::string utf8 = base::to_utf8(text);
    if (progress_ != nullptr) return progress_->print(utf8);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
  }

 private:
  ProgressLine* progress_;  // may be null
};

enum class ProjectCommand { kNone, kNew, kSave, kLoad };

struct Options : JobCommandOptions {
  std::string template_folder;
  std::string project_folder;
  ProjectCommand project = ProjectCommand::kNone;
};

// The project commands answer Yes to every question: the command line is
// the confirmation. Refusals and failed copies go to the error stream.
class CommandLinePlatform : public shell::Platform {
 public:
  bool ask_yes_no(const std::string&, const std::string&) override { return true; }
  void show_message(const std::string&, const std::string& text) override {
    std::fprintf(stderr, "zelvo: %s\n", text.c_str());
  }
  bool choose_folder(std::string&, const std::string&) override { return false; }
  bool shell_request(shell::ShellAction, const std::string&, const std::string&) override {
    return false;
  }
  void note_failure(const std::string& text) override {
    std::fprintf(stderr, "zelvo: %s\n", text.c_str());
  }
};

// The command line's texts are Windows-1252, as the consoles' are.
int usage_error(const std::string& problem, const std::string& usage) {
  if (!problem.empty()) std::fprintf(stderr, "zelvo: %s\n", base::to_utf8(problem).c_str());
  std::fputs(base::to_utf8(usage).c_str(), stderr);
  return kExitUsage;
}

int print_usage(const std::string& usage) {
  std::fputs(base::to_utf8(usage).c_str(), stdout);
  return kExitFinished;
}

// Ctrl-C is the Stop command. SIGINT is blocked in every thread and taken
// here: the first one asks the job to stop, a second one ends the program.
void watch_interrupts(console::JobControl& control, sigset_t set, const std::atomic<bool>& done) {
  int interrupts = 0;
  const timespec poll{0, 50 * 1000 * 1000};
  while (!done.load()) {
    if (sigtimedwait(&set, nullptr, &poll) != SIGINT) continue;
    if (++interrupts == 1) {
      control.request_stop();
    } else {
      std::fflush(stdout);
      _exit(kExitStopped);
    }
  }
}

// The project's name is the folder's last component; "Song/." or ".." would
// give files named incom-..htm, so such a path is spelled out first.
std::string project_folder_path(const std::string& given) {
  const std::string name = shell::last_path_component(given);
  if (name != "." && name != "..") return given;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(given, error);
  if (error) return given;
  std::string path = absolute.lexically_normal().string();
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

int run_project_command(const Options& options) {
  const std::string usage = command_usage("project", options.language);
  if (options.work_folder.empty()) {
    return usage_error(usage_problem(UsageProblem::kProjectNeedsWork, options.language), usage);
  }
  if (options.project != ProjectCommand::kNew && options.project_folder.empty()) {
    return usage_error(usage_problem(UsageProblem::kProjectNeedsProject, options.language), usage);
  }
  shell::Folders folders;
  folders.work = options.work_folder;
  folders.project = project_folder_path(options.project_folder);
  folders.template_folder = options.template_folder.empty()
                                ? shell::default_template_folder(shell::current_directory())
                                : options.template_folder;

  auto application = std::make_unique<shell::Application>();
  console::JobConsole& console = application->console();
  StandardOutputView view;
  console.store().set_view(&view);
  console.control().set_language(options.language);
  console.clear_console();

  CommandLinePlatform platform;
  shell::CommandResult result = shell::CommandResult::kDone;
  switch (options.project) {
    case ProjectCommand::kNew: result = shell::new_work(console, folders, platform); break;
    case ProjectCommand::kSave: result = shell::save_project(console, folders, platform); break;
    case ProjectCommand::kLoad: result = shell::load_project(console, folders, platform); break;
    case ProjectCommand::kNone: break;
  }
  console.store().set_view(nullptr);
  switch (result) {
    case shell::CommandResult::kDone:
    case shell::CommandResult::kCancelled:
      return kExitFinished;
    case shell::CommandResult::kIncomplete:
      return kExitAborted;
    case shell::CommandResult::kRefused:
      return kExitUsage;
  }
  return kExitAborted;
}

// compose, harmonize, all and project: argv[0] is the program's name, the
// global options are among the arguments.
int run_job_command(int argc, char** argv, const std::string& usage) {
  Options options;
  bool have_job = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--notation") {
      options.notation = true;
      continue;
    }
    if (arg == "--grid") {
      if (!read_grid_option(argc, argv, i, options.grid)) {
        return usage_error(usage_problem(UsageProblem::kGridValue, options.language), usage);
      }
      options.grid_given = true;
      continue;
    }
    if (arg == "--version") {
      std::printf("%s %s\n", console::kProductName, console::kVersion);
      return kExitFinished;
    }
    if (arg == "--work" || arg == "--lang" || arg == "--template" || arg == "--project") {
      if (i + 1 >= argc) return usage_error(usage_problem(UsageProblem::kMissingValue, options.language, arg), usage);
      const std::string_view value = argv[++i];
      if (arg == "--work") {
        options.work_folder = value;
      } else if (arg == "--template") {
        options.template_folder = value;
      } else if (arg == "--project") {
        options.project_folder = value;
      } else if (value == "en") {
        options.language = base::kEnglish;
      } else if (value == "es") {
        options.language = base::kSpanish;
      } else {
        return usage_error(usage_problem(UsageProblem::kLanguageValue, options.language), usage);
      }
      continue;
    }
    if (have_job) return usage_error(usage_problem(UsageProblem::kUnexpectedArgument, options.language, arg), usage);
    if (arg == "compose") {
      options.kind = console::JobKind::kCompose;
    } else if (arg == "harmonize") {
      options.kind = console::JobKind::kHarmonize;
    } else if (arg == "all") {
      options.kind = console::JobKind::kAll;
    } else if (arg == "project") {
      if (i + 1 >= argc) return usage_error(usage_problem(UsageProblem::kProjectTakesWhat, options.language), usage);
      const std::string_view what = argv[++i];
      if (what == "new") {
        options.project = ProjectCommand::kNew;
      } else if (what == "save") {
        options.project = ProjectCommand::kSave;
      } else if (what == "load") {
        options.project = ProjectCommand::kLoad;
      } else {
        return usage_error(usage_problem(UsageProblem::kUnknownProjectCommand, options.language, what), usage);
      }
    } else {
      return usage_error(usage_problem(UsageProblem::kUnknownCommand, options.language, arg), usage);
    }
    have_job = true;
  }
  if (!have_job) return usage_error(usage_problem(UsageProblem::kNoCommand, options.language), usage);
  if (options.project != ProjectCommand::kNone) return run_project_command(options);
  if (!options.template_folder.empty() || !options.project_folder.empty()) {
    return usage_error(usage_problem(UsageProblem::kProjectOptionsAlone, options.language), usage);
  }
  if (options.grid_given && !options.notation) {
    return usage_error(usage_problem(UsageProblem::kGridWithNotation, options.language), usage);
  }

  // The job runs on the work folder's files as values; each output it
  // writes goes into the folder at once, as it always has.
  jobs::JobInput input;
  if (!read_folder_job(options, input)) return kExitUsage;

  sigset_t interrupt_set;
  sigemptyset(&interrupt_set);
  sigaddset(&interrupt_set, SIGINT);
  pthread_sigmask(SIG_BLOCK, &interrupt_set, nullptr);

  auto engines = std::make_unique<jobs::Engines>();
  jobs::JobControl control;
  shell::UnitWatch unit_watch;
  ProgressLine progress_line(unit_watch);
  StandardOutputView view(&progress_line);
  control.view = &view;
  control.progress = &unit_watch;
  files::FolderWriter work_writer(options.work_folder);
  control.results = &work_writer;
  control.flags().set_language(options.language);
  progress_line.start([&control] { return control.flags().language(); });

  std::atomic<bool> done{false};
  std::thread watcher(watch_interrupts, std::ref(control.flags()), interrupt_set, std::cref(done));
  const jobs::JobOutput output = jobs::run_job(*engines, input, control);
  progress_line.stop();
  done.store(true);
  watcher.join();
  return output.exit_status;
}

// Runs `run` with argv made of `words`.
int run_words(std::vector<std::string> words, const std::function<int(int, char**)>& run) {
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  return run(static_cast<int>(words.size()), pointers.data());
}

// The commands that read and write files named on the line run in the work
// folder, as if started there.
bool runs_in_work_folder(std::string_view name) {
  return name == "chords" || name == "notate" || name == "render" || name == "play" || name == "ports";
}

// `args` with `name` first (it is where each command's own reader looks for
// it), the rest in their order.
std::vector<std::string> name_first(const std::string& name, std::vector<std::string> args) {
  for (auto at = args.begin(); at != args.end(); ++at) {
    if (*at == name) {
      args.erase(at);
      break;
    }
  }
  args.insert(args.begin(), name);
  return args;
}

// `words` (the command's name first) with the language given, if any, right
// after the name, where the command reads it before anything it may refuse.
std::vector<std::string> told_language(std::vector<std::string> words, const GlobalOptions& global) {
  if (!global.language.empty()) words.insert(words.begin() + 1, {"--lang", global.language});
  return words;
}

}  // namespace

int run_command_line(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  GlobalOptions global;
  std::string problem;
  const bool read = take_global_options(args, global, problem);
  const int language = global.language == "es" ? base::kSpanish : base::kEnglish;
  if (!read) return usage_error(problem, general_usage(language));
  std::string name = command_word(args);
  if (name == "help") {
    args = name_first(name, args);
    if (args.size() == 1) return print_usage(general_usage(language));
    if (args.size() > 2 || find_command(args[1]) == nullptr || args[1] == "help") {
      return usage_error(usage_problem(UsageProblem::kHelpTakesOneCommand, language), general_usage(language));
    }
    name = args[1];
    args = {name, "--help"};
  }
  // The global options go back in where each command reads them.
  std::vector<std::string> with_global;
  if (!global.work.empty()) with_global.insert(with_global.end(), {"--work", global.work});
  if (!global.language.empty()) with_global.insert(with_global.end(), {"--lang", global.language});

  // Asking for a command's usage needs no work folder.
  bool asks_help = false;
  for (const std::string& arg : args) asks_help = asks_help || arg == "--help" || arg == "-h";
  if (asks_help) global.work.clear();
  if (runs_in_work_folder(name) && !global.work.empty() && chdir(global.work.c_str()) != 0) {
    print_failure("zelvo", shell::unusable_work_folder(global.work, errno));
    return kExitUsage;
  }
  // A work folder to read from that is not there is a usage error, as for the jobs.
  if ((name == "tables" || name == "roll") && !global.work.empty()) {
    if (const base::Status usable = shell::folder_usable(global.work); !usable.ok()) {
      print_failure("zelvo", usable);
      return kExitUsage;
    }
  }
  if (name == "chords") return run_words(told_language(name_first(name, args), global), run_chords_command);
  if (name == "notate") return run_words(told_language(name_first(name, args), global), run_notate_command);
  if (is_media_command(name)) {
    std::vector<std::string> words = told_language(name_first(name, args), global);
    if (name == "watch" && !global.work.empty()) words.insert(words.end(), {"--work", global.work});
    if (name == "roll" && !global.work.empty()) words.insert(words.end(), {"--work", global.work});
    words.insert(words.begin(), argv[0]);
    return run_words(words, run_media_program);
  }
  if (name == "tables") {
    std::vector<std::string> words = told_language(name_first(name, args), global);
    if (!global.work.empty()) words.insert(words.end(), {"--work", global.work});
    return run_words(words, run_tables_command);
  }
  std::vector<std::string> words = with_global;
  words.insert(words.end(), args.begin(), args.end());
  words.insert(words.begin(), argv[0]);
  if (name == "check") return run_words(words, run_check_command);
  const std::string usage = command_usage(name, language);
  if (asks_help) return print_usage(usage);
  for (const std::string& arg : args) {
    if (arg == "--set") return run_words(words, run_compose_with_settings);
  }
  return run_words(words, [&usage](int count, char** line) { return run_job_command(count, line, usage); });
}

}  // namespace zelvo::app
