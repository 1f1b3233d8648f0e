#pragma once

// What the window's tests start from: a folder for the settings files, a
// work folder, the application, and a desktop that records what the window
// asks of it.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>
#include <string>

#include "shell/commands.h"
#include "shell/fake_platform.h"
#include "shell/gui/main_window.h"

namespace zelvo::shell::gui {

// The menus, a line an item ("--" a separator), a submenu's items indented
// under it; with `numbers`, the command number an item sends.
inline void list_menu(MainWindow& window, const QList<QAction*>& actions, bool numbers, const std::string& indent,
                      std::string& out) {
  for (QAction* action : actions) {
    out += indent + (action->isSeparator() ? "--" : action->text().toStdString());
    for (int command = kCommandNew; numbers && command <= kCommandProjectFolder; ++command) {
      if (window.action(command) == action) out += " = " + std::to_string(command);
    }
    out += "\n";
    if (action->menu() != nullptr) list_menu(window, action->menu()->actions(), numbers, indent + "  ", out);
  }
}

inline std::string menus(MainWindow& window, bool numbers) {
  std::string out;
  list_menu(window, window.menuBar()->actions(), numbers, "", out);
  return out;
}

class WindowTest : public ::testing::Test {
 protected:
  // The window over the test's application, start folder and desktop, started.
  struct StartedWindow : MainWindow {
    explicit StartedWindow(WindowTest& t) : MainWindow(t.application_, t.start_.path(), nullptr, &t.desktop_) { start(); }
  };

  // The demo's files in the work folder.
  void copy_demo() {
    std::filesystem::copy(ZELVO_SOURCE_DIR "/examples/demo", work_.path(), std::filesystem::copy_options::recursive);
  }

  TempFolder start_;
  TempFolder work_;
  Application application_;
  FakePlatform desktop_;
};

}  // namespace zelvo::shell::gui
