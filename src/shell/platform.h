#pragma once

#include <string>

namespace zelvo::shell {

// The words a shell request may carry: open a document, edit a text file,
// show a folder in the file manager.
enum class ShellAction { kOpen, kEdit, kExplore };

// The desktop services the shell logic asks for: message boxes, the folder
// chooser, the menu bar, and handing files to the programs the desktop
// associates with them. The window implements it; tests and the command
// line supply their own.
// The answers to "save the changes?" when closing.
enum class UnsavedChoice { kSave, kDiscard, kCancel };

class Platform {
 public:
  virtual ~Platform() = default;

  // A Yes/No question; true for Yes.
  virtual bool ask_yes_no(const std::string& title, const std::string& text) = 0;
  // Save, Discard or Cancel for changes not saved yet. Without a dialog of
  // three answers it is the Yes/No question: Yes saves, No discards.
  virtual UnsavedChoice ask_unsaved(const std::string& title, const std::string& text) {
    return ask_yes_no(title, text) ? UnsavedChoice::kSave : UnsavedChoice::kDiscard;
  }
  // An information or warning box.
  virtual void show_message(const std::string& title, const std::string& text) = 0;
  // The folder chooser, preselecting `folder`. On a confirmed choice writes
  // the path to `folder` and returns true; else leaves it unchanged.
  virtual bool choose_folder(std::string& folder, const std::string& title) = 0;
  // Hands `target` (relative to `working_folder` when that is not empty) to
  // the desktop. False when the request failed.
  virtual bool shell_request(ShellAction action, const std::string& target,
                             const std::string& working_folder) = 0;

  // The text of a menu-bar item (the two folder items).
  virtual void set_menu_item_text(int command, const std::string& text) { (void)command, (void)text; }
  // The folders dialog (command 113).
  virtual void show_folders_dialog() {}
  // Exit: the settings are saved by the caller; this ends the program.
  virtual void end_program() {}
  // A copy or delete that failed. The window keeps quiet about them; the
  // command line reports them on its error stream.
  virtual void note_failure(const std::string& text) { (void)text; }
};

}  // namespace zelvo::shell
