#pragma once

// The recorded scenarios' folders as the tests read them: a scenario's
// command line, the work folder made from its in/ folder, and what a command
// left there, in the form its expected/ folder records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "console/job_console.h"
#include "console/console_view.h"
#include "console/job_runner.h"
#include "base/windows1252.h"
#include "support/files.h"
#include "support/midi_dump.h"
#include "support/scenario_inputs.h"

namespace zelvo::test {

using Files = std::map<std::string, std::string>;  // record name -> text

inline const std::filesystem::path& scenarios_folder() {
  static const std::filesystem::path folder = std::filesystem::path(ZELVO_TEST_DATA) / "scenarios";
  return folder;
}

// What a command left in `folder`: the list of its files and the text of
// every file it made or changed.
inline Files outcome_files(const std::filesystem::path& folder, const std::filesystem::path& in) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) names.push_back(fs::relative(entry.path(), folder).string());
  }
  std::sort(names.begin(), names.end());
  Files files;
  std::string& list = files["files.txt"];
  for (const std::string& name : names) {
    const std::string bytes = read_file((folder / name).string());
    if (fs::exists(in / name) && read_file((in / name).string()) == bytes) {
      list += name + " (as given)\n";
      continue;
    }
    list += name + "\n";
    const bool midi = bytes.compare(0, 4, "MThd") == 0;
    files["files/" + name + (midi ? ".dump" : "")] = midi ? midi_dump(bytes) : bytes;
  }
  if (fs::exists(in)) {
    for (const auto& entry : fs::recursive_directory_iterator(in)) {
      const std::string name = fs::relative(entry.path(), in).string();
      if (entry.is_regular_file() && !fs::exists(folder / name)) list += name + " (deleted)\n";
    }
  }
  return files;
}

// The records of `scenario` that are files of the source tree as they stand,
// by record name: the lines "NAME <- PATH" of its expected.list, PATH under
// tests/data as in.list has it (a project made from the bundled template
// holds the template's own files, which examples/ keeps once).
inline Files listed_records(const std::filesystem::path& scenario) {
  Files listed;
  std::istringstream list(read_file((scenario / "expected.list").string()));
  for (std::string line; std::getline(list, line);) {
    std::istringstream words(line);
    std::string name, arrow, path;
    if (words >> name >> arrow >> path && name[0] != '#' && arrow == "<-") listed[name] = test_data(path);
  }
  return listed;
}

// Everything `scenario` recorded, by record name: its expected/ folder and
// the files its expected.list names.
inline Files recorded_files(const std::filesystem::path& scenario) {
  namespace fs = std::filesystem;
  Files files;
  const fs::path expected = scenario / "expected";
  if (fs::exists(expected)) {
    for (const auto& entry : fs::recursive_directory_iterator(expected)) {
      if (entry.is_regular_file()) files[fs::relative(entry.path(), expected).string()] = read_recorded(entry.path().string());
    }
  }
  for (const auto& [name, path] : listed_records(scenario)) files[name] = read_file(path);
  return files;
}

// A scenario's name as a test's: letters and digits, the rest "_".
inline std::string scenario_test_name(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

// The names of the recorded scenarios, in order.
inline std::vector<std::string> scenario_names() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(scenarios_folder())) {
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

inline std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  for (std::string word; in >> word;) out.push_back(word);
  return out;
}

// A command line that is one job (compose, harmonize or all, with an
// optional --lang): its kind and language. False for any other command.
inline bool job_command(const std::vector<std::string>& args, console::JobKind& kind, int& language) {
  language = base::kEnglish;
  kind = console::JobKind::kCompose;
  bool job = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--lang" && i + 1 < args.size() && (args[i + 1] == "en" || args[i + 1] == "es")) {
      language = args[++i] == "es" ? base::kSpanish : base::kEnglish;
    } else if (!job && (args[i] == "compose" || args[i] == "harmonize" || args[i] == "all")) {
      kind = args[i] == "compose" ? console::JobKind::kCompose
             : args[i] == "harmonize" ? console::JobKind::kHarmonize : console::JobKind::kAll;
      job = true;
    } else {
      return false;
    }
  }
  return job;
}

// The console as the command line prints it, and a Stop pressed after the
// n-th message.
class Recorder : public console::ConsoleView {
 public:
  explicit Recorder(console::JobConsole& console) : console_(console) {}
  void appended(std::string_view text) override {
    this->text += base::to_utf8(text);
    if (stop_after > 0 && --stop_after == 0) console_.control().request_stop();
  }
  std::string text;
  int stop_after = 0;

 private:
  console::JobConsole& console_;
};

}  // namespace zelvo::test
