#pragma once

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "shell/platform.h"
#include "support/files.h"

namespace zelvo::shell {

// Records every desktop request; answers questions with `answer` and fails
// shell requests for targets in `failing`.
class FakePlatform : public Platform {
 public:
  bool ask_yes_no(const std::string& title, const std::string& text) override {
    questions.push_back(title + "|" + text);
    return answer;
  }
  // Save, Discard or Cancel: `unsaved` when a test chose one, else as the
  // Yes/No question answers.
  UnsavedChoice ask_unsaved(const std::string& title, const std::string& text) override {
    if (!unsaved_given) return Platform::ask_unsaved(title, text);
    questions.push_back(title + "|" + text);
    return unsaved;
  }
  void show_message(const std::string& title, const std::string& text) override {
    messages.push_back(title + "|" + text);
  }
  bool choose_folder(std::string& folder, const std::string& title) override {
    chooser_titles.push_back(title);
    if (chosen.empty()) return false;
    folder = chosen;
    return true;
  }
  bool shell_request(ShellAction action, const std::string& target,
                     const std::string& working_folder) override {
    const char* word = action == ShellAction::kEdit ? "edit" : action == ShellAction::kExplore ? "explore" : "open";
    requests.push_back(std::string(word) + " " + target + " in " + working_folder);
    return failing.count(target) == 0;
  }

  bool answer = true;
  bool unsaved_given = false;
  UnsavedChoice unsaved = UnsavedChoice::kCancel;
  std::string chosen;
  std::set<std::string> failing;
  std::vector<std::string> questions;
  std::vector<std::string> messages;
  std::vector<std::string> chooser_titles;
  std::vector<std::string> requests;
};

using test::read_file;
using test::TempFolder;
using test::write_file;

}  // namespace zelvo::shell
