#include "command_line.h"
#include "usage.h"
#include "check_command.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>

#include "chords_command.h"
#include "console/windows1252.h"
#include "grid_option.h"
#include "media_commands.h"
#include "notate_command.h"
#include "progress_line.h"
#include "tables_command.h"
#include "shell/application.h"
#include "shell/folders.h"
#include "shell/platform.h"
#include "shell/projects.h"

namespace zelvo::app {

namespace {

// The console as a terminal shows it: each message as it is appended, in
// UTF-8, flushed at once.
class StandardOutputView : public console::ConsoleView {
 public:
  explicit StandardOutputView(ProgressLine* progress = nullptr) : progress_(progress) {}
  void appended(std::string_view text) override {
    const std::string utf8 = console::to_utf8(text);
    if (progress_ != nullptr) return progress_->print(utf8);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
  }

 private:
  ProgressLine* progress_;  // may be null
};

enum class ProjectCommand { kNone, kNew, kSave, kLoad };

struct Options {
  std::string work_folder;
  std::string template_folder;
  std::string project_folder;
  int language = console::kEnglish;
  console::JobKind kind = console::JobKind::kCompose;
  ProjectCommand project = ProjectCommand::kNone;
  bool notation = false;  // also write the results as MusicXML
  bool grid_given = false;
  notation::Grid grid = notation::Grid::kChosen;  // where those notes go
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

// `problem` (English, with `value` for its %s) in `language`, then the usage.
int usage_error(int language, const char* problem, const std::string& value = std::string()) {
  std::fprintf(stderr, "zelvo: %s\n", refusal(language, problem, value).c_str());
  std::fputs(usage_text(language), stderr);
  return kExitUsage;
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
  if (options.work_folder.empty()) return usage_error(options.language, "project commands need --work DIR");
  if (options.project != ProjectCommand::kNew && options.project_folder.empty()) {
    return usage_error(options.language, "project save and load need --project DIR");
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

}  // namespace

int run_command_line(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "chords") return run_chords_command(argc - 1, argv + 1);
  if (argc > 1 && std::string_view(argv[1]) == "notate") return run_notate_command(argc - 1, argv + 1);
  if (argc >= 2 && is_media_command(argv[1])) return run_media_program(argc, argv);
  if (is_check_command(argc, argv)) return run_check_command(argc, argv);
  if (argc >= 2 && std::string_view(argv[1]) == "tables") return run_tables_command(argc - 1, argv + 1);
  if (has_set_option(argc, argv)) return run_compose_with_settings(argc, argv);
  Options options;
  const int language = language_of_arguments(argc, argv);
  bool have_job = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(usage_text(language), stdout);
      return kExitFinished;
    }
    if (arg == "--notation") {
      options.notation = true;
      continue;
    }
    if (arg == "--grid") {
      if (!read_grid_option(argc, argv, i, options.grid)) return usage_error(language, kGridProblem);
      options.grid_given = true;
      continue;
    }
    if (arg == "--version") {
      std::printf("%s %s\n", console::kProductName, console::kVersion);
      return kExitFinished;
    }
    if (arg == "--work" || arg == "--lang" || arg == "--template" || arg == "--project") {
      if (i + 1 >= argc) return usage_error(language, "missing value after %s", std::string(arg));
      const std::string_view value = argv[++i];
      if (arg == "--work") {
        options.work_folder = value;
      } else if (arg == "--template") {
        options.template_folder = value;
      } else if (arg == "--project") {
        options.project_folder = value;
      } else if (value == "en") {
        options.language = console::kEnglish;
      } else if (value == "es") {
        options.language = console::kSpanish;
      } else {
        return usage_error(language, "--lang takes en or es");
      }
      continue;
    }
    if (have_job) return usage_error(language, "unexpected argument %s", std::string(arg));
    if (arg == "compose") {
      options.kind = console::JobKind::kCompose;
    } else if (arg == "harmonize") {
      options.kind = console::JobKind::kHarmonize;
    } else if (arg == "all") {
      options.kind = console::JobKind::kAll;
    } else if (arg == "project") {
      if (i + 1 >= argc) return usage_error(language, "project takes new, save or load");
      const std::string_view what = argv[++i];
      if (what == "new") {
        options.project = ProjectCommand::kNew;
      } else if (what == "save") {
        options.project = ProjectCommand::kSave;
      } else if (what == "load") {
        options.project = ProjectCommand::kLoad;
      } else {
        return usage_error(language, "unknown project command %s", std::string(what));
      }
    } else {
      return usage_error(language, "unknown command %s", std::string(arg));
    }
    have_job = true;
  }
  if (!have_job) return usage_error(language, "no command given");
  if (options.project != ProjectCommand::kNone) return run_project_command(options);
  if (!options.template_folder.empty() || !options.project_folder.empty()) {
    return usage_error(language, "--template and --project belong to the project commands");
  }
  if (options.grid_given && !options.notation) return usage_error(language, "--grid belongs to --notation");

  if (const int problem = options.work_folder.empty() ? 0 : shell::folder_usable(options.work_folder);
      problem != 0) {
    std::fprintf(stderr, "zelvo: %s: %s\n", refusal(language, "cannot use work folder %s", options.work_folder).c_str(),
                 std::strerror(problem));
    return kExitUsage;
  }

  sigset_t interrupt_set;
  sigemptyset(&interrupt_set);
  sigaddset(&interrupt_set, SIGINT);
  pthread_sigmask(SIG_BLOCK, &interrupt_set, nullptr);

  auto application = std::make_unique<shell::Application>();
  application->set_write_notation(options.notation);
  application->set_notation_grid(options.grid);
  application->set_work_folder(options.work_folder);
  console::JobConsole& console = application->console();
  ProgressLine progress_line(application->unit_watch());
  StandardOutputView view(&progress_line);
  console.store().set_view(&view);
  console.control().set_language(options.language);
  console.clear_console();
  progress_line.start([&console] { return console.language(); });

  std::atomic<bool> done{false};
  std::thread watcher(watch_interrupts, std::ref(console.control()), interrupt_set, std::cref(done));
  const bool started = application->runner().start_job(options.kind);
  application->runner().wait();
  progress_line.stop();
  done.store(true);
  watcher.join();
  if (!started) {
    std::fprintf(stderr, "zelvo: %s\n", refusal(language, "cannot start the job thread").c_str());
    return kExitAborted;
  }
  switch (application->runner().last_outcome()) {
    case console::JobOutcome::kFinished:
      return kExitFinished;
    case console::JobOutcome::kStopped:
      return kExitStopped;
    case console::JobOutcome::kAborted:
      return kExitAborted;
  }
  return kExitAborted;
}

}  // namespace zelvo::app
