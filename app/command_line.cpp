#include "command_line.h"
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
#include "jobs/engines.h"
#include "jobs/job.h"
#include "jobs/work_folder.h"
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

constexpr const char* kUsage =
    "usage: zelvo [--work DIR] [--lang en|es] compose|harmonize|all\n"
    "       zelvo [--work DIR] [--lang en|es] --notation [--grid G] compose|harmonize|all\n"
    "       zelvo chords SCORE [-o FILE] [--first-part N]\n"
    "       zelvo notate FILE.mid [-o FILE.musicxml]\n"
    "       zelvo [--lang en|es] project new --work DIR [--template DIR]\n"
    "       zelvo [--lang en|es] project save|load --work DIR --project DIR\n"
    "       zelvo [--lang en|es] check [--work DIR]\n"

    "       zelvo render FILE.mid [-o FILE.wav] [--soundfont FILE.sf2] [--gain G]\n"
    "       zelvo roll FILE.mid | --work DIR [-o FILE.svg|FILE.png] [--width PX]\n"
    "       zelvo --help | --version\n"
    "\n"
    "Runs one job in the work folder DIR (default: the current directory) and\n"
    "prints its console. Ctrl-C stops the job; a second Ctrl-C exits at once.\n"
    "\n"
    "  compose     compile incom.htm and write outco.rur and outco.mid\n"
    "  harmonize   harmonize the music named by conar and write outar.mid\n"
    "  all         compose, then harmonize\n"
    "  --notation  also write outco.musicxml and outar.musicxml (tone types\n"
    "              as lyrics) beside the MIDI files; --grid as for notate\n"
    "  chords      write the harmony file of a lead sheet's chord symbols\n"
    "  notate      write a MIDI file as MusicXML\n"

    "\n"
    "  project new   empty the work folder and copy the template folder into it\n"
    "                (default: ./Template, else the installed one); incom.htm is made from\n"
    "                incom_eng.htm or incom_spa.htm by the language\n"
    "  project save  copy the work folder's files into the project folder\n"
    "                (incom.htm in a project folder Song becomes incom-Song.htm)\n"
    "  project load  empty the work folder and copy the project's files back\n"
    "                (incom-Song.htm becomes incom.htm)\n"
    "\n"
    "  check       list what in the work folder is accepted but probably a\n"
    "              mistake (exit 0 nothing found, 1 something found)\n"
    "\n"
    "Exit status: 0 the job ran to its end, 1 it was aborted by an error,\n"
    "130 it was stopped, 2 usage error. A project command exits with 0 when\n"
    "every file was copied, 1 when a folder could not be read or a file not\n"
    "copied or deleted, 2 when a folder is missing or the same as the work\n"
    "folder.\n";

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

int usage_error(const char* problem) {
  if (problem != nullptr) std::fprintf(stderr, "zelvo: %s\n", problem);
  std::fputs(kUsage, stderr);
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
  if (options.work_folder.empty()) return usage_error("project commands need --work DIR");
  if (options.project != ProjectCommand::kNew && options.project_folder.empty()) {
    return usage_error("project save and load need --project DIR");
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
  bool have_job = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return kExitFinished;
    }
    if (arg == "--notation") {
      options.notation = true;
      continue;
    }
    if (arg == "--grid") {
      if (!read_grid_option(argc, argv, i, options.grid)) return usage_error(kGridProblem);
      options.grid_given = true;
      continue;
    }
    if (arg == "--version") {
      std::printf("%s %s\n", console::kProductName, console::kVersion);
      return kExitFinished;
    }
    if (arg == "--work" || arg == "--lang" || arg == "--template" || arg == "--project") {
      if (i + 1 >= argc) return usage_error(("missing value after " + std::string(arg)).c_str());
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
        return usage_error("--lang takes en or es");
      }
      continue;
    }
    if (have_job) return usage_error(("unexpected argument " + std::string(arg)).c_str());
    if (arg == "compose") {
      options.kind = console::JobKind::kCompose;
    } else if (arg == "harmonize") {
      options.kind = console::JobKind::kHarmonize;
    } else if (arg == "all") {
      options.kind = console::JobKind::kAll;
    } else if (arg == "project") {
      if (i + 1 >= argc) return usage_error("project takes new, save or load");
      const std::string_view what = argv[++i];
      if (what == "new") {
        options.project = ProjectCommand::kNew;
      } else if (what == "save") {
        options.project = ProjectCommand::kSave;
      } else if (what == "load") {
        options.project = ProjectCommand::kLoad;
      } else {
        return usage_error(("unknown project command " + std::string(what)).c_str());
      }
    } else {
      return usage_error(("unknown command " + std::string(arg)).c_str());
    }
    have_job = true;
  }
  if (!have_job) return usage_error("no command given");
  if (options.project != ProjectCommand::kNone) return run_project_command(options);
  if (!options.template_folder.empty() || !options.project_folder.empty()) {
    return usage_error("--template and --project belong to the project commands");
  }
  if (options.grid_given && !options.notation) return usage_error("--grid belongs to --notation");

  if (const int problem = options.work_folder.empty() ? 0 : shell::folder_usable(options.work_folder);
      problem != 0) {
    std::fprintf(stderr, "zelvo: cannot use work folder %s: %s\n", options.work_folder.c_str(),
                 std::strerror(problem));
    return kExitUsage;
  }

  // The job runs on the work folder's files as values; each output it
  // writes goes into the folder at once, as it always has.
  jobs::JobInput input;
  input.command = options.kind;
  input.language = options.language;
  input.notation = options.notation;
  input.grid = options.grid;
  input.folder_name = options.work_folder;
  std::string problem;
  if (!jobs::read_work_inputs(options.work_folder, input.files, problem)) {
    std::fprintf(stderr, "zelvo: %s\n", problem.c_str());
    return kExitUsage;
  }

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

}  // namespace zelvo::app
