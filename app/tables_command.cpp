#include "tables_command.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "command_help.h"
#include "command_line.h"
#include "composition/address.h"
#include "composition/any_html.h"
#include "composition/compile_check.h"
#include "composition/grid.h"
#include "composition/operations.h"
#include "composition/work_file.h"
#include "base/message.h"
#include "base/windows1252.h"
#include "base/work_files.h"
#include "files/paths.h"
#include "files/run_inputs.h"
#include "usage_output.h"

namespace zelvo::app {

namespace {

namespace fs = std::filesystem;
using composition::Document;

int refuse(const std::string& problem, int status) {
  std::fprintf(stderr, "zelvo: %s\n", base::to_utf8(problem).c_str());
  return status;
}

int tables_usage(int language, UsageProblem problem, std::string_view word = {}) {
  return command_usage_error("zelvo", "tables", language, usage_problem(problem, language, word));
}

bool load(const std::string& path, Document& document) {
  if (composition::load_composition(path, document) == composition::FileResult::kDone) return true;
  std::fprintf(stderr, "zelvo: cannot read %s\n", path.c_str());
  return false;
}

// Applies TABLE:ROW:COL=VALUE settings (UTF-8 as typed) to the document.
bool apply_settings(Document& document, const std::vector<std::string>& settings) {
  for (const std::string& typed : settings) {
    composition::CellAddress at;
    std::string value;
    if (const base::Status parsed = composition::parse_setting(document, base::from_utf8(typed), at, value);
        !parsed.ok()) {
      refuse(base::render(parsed.error(), base::kEnglish), kExitUsage);
      return false;
    }
    // The address was checked as it was parsed, with the same refusals.
    if (const base::Status set = composition::set_cell(document, at.table, at.row, at.column, value); !set.ok()) {
      refuse(base::render(set.error(), base::kEnglish), kExitUsage);
      return false;
    }
  }
  return true;
}

// False (having said why) when the settings make a piece the composer
// cannot compile out of one it could.
bool compiles_after(const Document& before, const Document& after) {
  std::string error;
  if (!composition::edit_breaks_piece(before, after, base::kEnglish, error)) return true;
  refuse(error, kExitAborted);
  refuse("nothing was changed (--force writes it anyway)", kExitAborted);
  return false;
}

// Whether the cells set can be written into the file as it is.
bool writes_in_place(const Document& document, const std::string& path) {
  std::string bytes;
  if (composition::write_in_place(document, bytes)) return true;
  refuse("cannot write the value into " + path + " in place: nothing was changed", kExitAborted);
  return false;
}

int run_set(const std::string& path, const std::vector<std::string>& words, bool force) {
  Document document;
  if (!load(path, document)) return kExitAborted;
  const Document before = document;
  // TABLE ROW COL VALUE, or NAME COL VALUE: one setting either way.
  const std::string setting = words.size() == 4 ? words[0] + ":" + words[1] + ":" + words[2] + "=" + words[3]
                                                : words[0] + ":" + words[1] + "=" + words[2];
  if (!apply_settings(document, {setting})) return kExitUsage;
  if (!force && !compiles_after(before, document)) return kExitAborted;
  if (!writes_in_place(document, path)) return kExitAborted;
  switch (composition::save_composition(path, document)) {
    case composition::FileResult::kDone:
      return kExitFinished;
    case composition::FileResult::kReadOnly:
      return refuse(path + " is read-only: nothing was changed", kExitAborted);
    case composition::FileResult::kCannotRead:
    case composition::FileResult::kCannotWrite:
      break;
  }
  return refuse("cannot write " + path + ": nothing was changed", kExitAborted);
}

// A private folder with the work folder's files, for one run.
std::string make_scratch_copy(const std::string& work) {
  std::string pattern = (fs::temp_directory_path() / "zelvo-set-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return "";
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(work.empty() ? "." : work, error)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || !files::is_run_input(name)) continue;
    fs::copy_file(entry.path(), fs::path(pattern) / name, error);
  }
  return pattern;
}

}  // namespace

int run_tables_command(int argc, char** argv) {
  std::string work;
  bool json = false, force = false;
  std::vector<std::string> words;
  int language = base::kEnglish;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (std::string problem; take_language_option(argc, argv, i, language, problem)) {
      if (!problem.empty()) return command_usage_error("zelvo", "tables", language, problem);
      continue;
    }
    if (arg == "--work") {
      if (i + 1 >= argc) return tables_usage(language, UsageProblem::kMissingValue, arg);
      work = argv[++i];
    } else if (arg == "--json") {
      json = true;
    } else if (arg == "--force") {
      force = true;
    } else if (arg == "--help" || arg == "-h") {
      return print_command_usage("tables", language);
    } else {
      words.emplace_back(arg);
    }
  }
  if (words.empty()) return tables_usage(language, UsageProblem::kTablesTakesWhat);
  const std::string what = words.front();
  words.erase(words.begin());
  const std::string path = composition::composition_path(work);
  if (what == "show") {
    if (!words.empty()) return tables_usage(language, UsageProblem::kUnexpectedArgument, words.front());
    Document document;
    if (!load(path, document)) return kExitAborted;
    if (document.tables.empty()) return refuse(path + " has no tables", kExitAborted);
    const std::string text = json ? composition::grid_json(document) : composition::grid_text(document);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitFinished;
  }
  if (what == "set") {
    if (json) return tables_usage(language, UsageProblem::kJsonWithShow);
    if (words.size() != 3 && words.size() != 4) return tables_usage(language, UsageProblem::kTablesSetTakes);
    return run_set(path, words, force);
  }
  return tables_usage(language, UsageProblem::kUnknownTablesCommand, what);
}

int run_compose_with_settings(int argc, char** argv) {
  std::string work;
  std::vector<std::string> settings;
  std::vector<std::string> rest;  // the command line without --work and --set
  bool compose = false, force = false;
  int language = base::kEnglish;
  std::string problem;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    // The language stays on the line for the compose that follows, which
    // tells what is wrong with it.
    if (const int at = i; take_language_option(argc, argv, i, language, problem)) {
      rest.insert(rest.end(), argv + at, argv + i + 1);
      continue;
    }
    if (arg == "--force") {
      force = true;
      continue;
    }
    if (arg == "--set" || arg == "--work") {
      if (i + 1 >= argc) return tables_usage(language, UsageProblem::kMissingValue, arg);
      (arg == "--set" ? settings.emplace_back(argv[++i]) : work = argv[++i]);
      continue;
    }
    compose = compose || arg == "compose";
    rest.emplace_back(arg);
  }
  if (!compose) return tables_usage(language, UsageProblem::kSetWithCompose);
  std::error_code error;
  if (!work.empty() && !fs::is_directory(work, error)) {
    std::fprintf(stderr, "zelvo: cannot use work folder %s\n", work.c_str());
    return kExitUsage;
  }
  Document document;
  if (!load(composition::composition_path(work), document)) return kExitAborted;
  const Document before = document;
  if (!apply_settings(document, settings)) return kExitUsage;
  if (!force && !compiles_after(before, document)) return kExitAborted;

  const fs::path work_path = fs::absolute(work.empty() ? "." : work, error);
  const std::string scratch = make_scratch_copy(work);
  if (scratch.empty() ||
      composition::save_composition(files::join_path(scratch, base::kCompositionFile), document) !=
          composition::FileResult::kDone) {
    std::fprintf(stderr, "zelvo: cannot make a scratch folder for --set\n");
    if (!scratch.empty()) fs::remove_all(scratch, error);
    return kExitAborted;
  }
  std::vector<std::string> args{argv[0], "--work", scratch};
  args.insert(args.end(), rest.begin(), rest.end());
  std::vector<char*> pointers;
  for (std::string& arg : args) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  const int status = run_command_line(static_cast<int>(args.size()), pointers.data());
  // The results go where a plain compose puts them.
  for (const auto& entry : fs::directory_iterator(scratch, error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name.rfind("outco.", 0) == 0) {
      fs::copy_file(entry.path(), work_path / name, fs::copy_options::overwrite_existing, error);
    }
  }
  fs::remove_all(scratch, error);
  return status;
}

}  // namespace zelvo::app
