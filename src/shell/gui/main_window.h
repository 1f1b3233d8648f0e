#pragma once

#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "console/job_runner.h"
#include "shell/application.h"
#include "shell/platform.h"
#include "shell/shell.h"

class QAction;
class QMenu;

namespace zelvo::shell::gui {

class ConsoleWidget;
class EditorDock;
class RollPanel;

// The desktop services through Qt: message boxes, the folder chooser, and
// the desktop's associated programs (xdg-open and the like).
class QtDesktop : public Platform {
 public:
  explicit QtDesktop(QWidget* owner) : owner_(owner) {}
  bool ask_yes_no(const std::string& title, const std::string& text) override;
  UnsavedChoice ask_unsaved(const std::string& title, const std::string& text) override;
  void show_message(const std::string& title, const std::string& text) override;
  bool choose_folder(std::string& folder, const std::string& title) override;
  bool shell_request(ShellAction action, const std::string& target,
                     const std::string& working_folder) override;

 private:
  QWidget* owner_;
};

// The program's one window: the menu bar with every command, the console
// view as client area, the folders dialog. The shell logic decides; this
// class shows.
class MainWindow : public QMainWindow, public Platform {
 public:
  // `runner` and `desktop` default to the application's job runner and to
  // QtDesktop; tests pass their own.
  MainWindow(Application& application, std::string start_folder,
             console::JobRunner* runner = nullptr, Platform* desktop = nullptr);
  ~MainWindow() override;

  // The rest of start-up once the window exists: the folders file and the
  // two folder items, show, and the banner.
  void start();

  QAction* action(int command) const;
  ConsoleWidget* console_view() const { return console_view_; }
  RollPanel* roll_panel() const { return roll_panel_; }
  // Options > Edit Composition (made on first use).
  EditorDock* editor_dock();
  Shell& shell() { return shell_; }
  // Runs a menu command as the menu would and refreshes the check marks.
  void on_command(int command);

  // Platform: dialogs go to the desktop; the menu bar and the folders
  // dialog are this window's.
  bool ask_yes_no(const std::string& title, const std::string& text) override;
  UnsavedChoice ask_unsaved(const std::string& title, const std::string& text) override;
  void show_message(const std::string& title, const std::string& text) override;
  bool choose_folder(std::string& folder, const std::string& title) override;
  bool shell_request(ShellAction action, const std::string& target,
                     const std::string& working_folder) override;
  void set_menu_item_text(int command, const std::string& text) override;
  void show_folders_dialog() override;
  void end_program() override;

 protected:
  void closeEvent(class QCloseEvent* event) override;

 private:
  QAction* add_command(QMenu* menu, const char* text, int command);
  QAction* add_bar_command(const char* text, int command);
  void build_menu();
  void fit_default_size();
  void refresh_checks();
  void save_and_stop_job();
  void show_result_after_job(int command);
  // The status line of a unit the harmonizer has worked on for long.
  void show_long_unit();
  // Options > Chords from Lead Sheet: the work folder's inarm.xml made from
  // a score's chord symbols.
  void chords_from_lead_sheet();

  Application& application_;
  console::JobRunner& runner_;
  std::unique_ptr<QtDesktop> own_desktop_;
  Platform& desktop_;
  Shell shell_;
  ConsoleWidget* console_view_ = nullptr;
  RollPanel* roll_panel_ = nullptr;
  EditorDock* editor_dock_ = nullptr;
  std::map<int, QAction*> actions_;
  bool saved_ = false;
  bool unit_shown_ = false;
};

// The window's title (it begins with a blank).
inline constexpr const char* kWindowTitle = " Zelvo: TONARKA - BRIN";

}  // namespace zelvo::shell::gui
