#pragma once

#include <QCoreApplication>
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "console/job_runner.h"
#include "shell/application.h"
#include "shell/platform.h"
#include "shell/shell.h"

class QAction;
class QMenu;
class QTranslator;

namespace zelvo::shell::gui {

class ConsoleWidget;
class EditorDock;
class RollPanel;

// The desktop services through Qt: message boxes, the folder chooser, and
// the desktop's associated programs (xdg-open and the like).
class QtDesktop : public Platform {
 public:
  // `language` tells the window's language when a box is shown (none: English).
  explicit QtDesktop(QWidget* owner, std::function<int32_t()> language = {})
      : owner_(owner), language_(std::move(language)) {}
  bool ask_yes_no(const std::string& title, const std::string& text) override;
  UnsavedChoice ask_unsaved(const std::string& title, const std::string& text) override;
  void show_message(const std::string& title, const std::string& text) override;
  bool choose_folder(std::string& folder, const std::string& title) override;
  bool shell_request(ShellAction action, const std::string& target,
                     const std::string& working_folder) override;

 private:
  QString shown(const std::string& text) const;

  QWidget* owner_;
  std::function<int32_t()> language_;
};

// The program's one window: the menu bar with every command, the console
// view as client area, the folders dialog. The shell logic decides; this
// class shows.
class MainWindow : public QMainWindow, public Platform {
  Q_DECLARE_TR_FUNCTIONS(MainWindow)

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
  // The window in the console's language: Spanish through the translation
  // file, English as the sources say it; every text set again at once.
  void apply_language();
  void retranslate();
  // Shows `source` in the window's language now and after every switch.
  QAction* translated(QAction* action, const char* source);
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
  std::vector<std::pair<QAction*, const char*>> sources_;  // what retranslate() sets
  std::unique_ptr<QTranslator> translator_;
  std::map<int, std::string> folder_items_;  // as the shell names them
  bool spanish_shown_ = false;
  bool saved_ = false;
  bool unit_shown_ = false;
};

// The window's title (it begins with a blank).
inline constexpr const char* kWindowTitle = " Zelvo: TONARKA - BRIN";

}  // namespace zelvo::shell::gui
