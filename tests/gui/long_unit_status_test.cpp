#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QStatusBar>

#include "app/cli_runner.h"
#include "shell/fake_platform.h"
#include "shell/gui/main_window.h"

namespace zelvo::shell::gui {
namespace {

// The engine's observer is told of a unit and nothing more: after a second
// the window shows it in a status bar, which goes when the units end.
TEST(LongUnitStatusTest, StatusLineWhileAUnitTakesLong) {
  app::TempFolder start;
  Application application;
  FakePlatform desktop;
  MainWindow window(application, start.path(), nullptr, &desktop);
  window.start();
  EXPECT_EQ(window.findChild<QStatusBar*>(), nullptr);
  application.harmonizer_state().progress->unit_started(12, 35);
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 50);
  QStatusBar* bar = window.findChild<QStatusBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_TRUE(bar->currentMessage().startsWith("Still harmonizing bar 12: a unit of 35 lines"));
  application.harmonizer_state().progress->units_ended();
  clock.restart();
  while (clock.elapsed() < 800) QApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_FALSE(bar->isVisible());
}

}  // namespace
}  // namespace zelvo::shell::gui
