#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>

#include "app/cli_runner.h"
#include "shell/commands.h"
#include "shell/fake_platform.h"
#include "shell/gui/main_window.h"

// Without a settings file the window opens wide enough for its whole menu
// bar (within the screen), at the usual font and at a large one; a size from the settings file
// stays as the user left it.
namespace zelvo::shell::gui {
namespace {

TEST(WindowFitTest, DefaultSizeShowsTheWholeMenuBar) {
  const QFont usual = QApplication::font();
  for (int points : {0, 14}) {
    SCOPED_TRACE(points);
    QFont font = usual;
    if (points > 0) font.setPointSize(points);
    QApplication::setFont(font);
    app::TempFolder start;
    Application application;
    FakePlatform desktop;
    MainWindow window(application, start.path(), nullptr, &desktop);
    window.start();
    // Within the screen: a bar wider than nine tenths of it cannot fit.
    const int room = window.screen()->availableGeometry().width() * 9 / 10;
    EXPECT_GE(window.width(), std::min(window.menuBar()->sizeHint().width(), room));
  }
  QApplication::setFont(usual);

  app::TempFolder start;
  write_file(start.file("zlvconf.rur"), "10,10,300,250,0,0\n");
  Application application;
  FakePlatform desktop;
  MainWindow window(application, start.path(), nullptr, &desktop);
  window.start();
  EXPECT_EQ(window.width(), 300);
  EXPECT_EQ(window.height(), 250);
}

}  // namespace
}  // namespace zelvo::shell::gui
