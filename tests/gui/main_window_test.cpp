#include "shell/gui/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <chrono>
#include <thread>

#include "shell/commands.h"
#include "shell/fake_platform.h"
#include "shell/gui/console_widget.h"
#include "shell/shell_messages.h"
#include "gui/wait_until.h"
#include "gui/window_test.h"

namespace zelvo::shell::gui {
namespace {

// Closes whatever modal dialog opens while it lives, so a fault shows as a
// count, not a hang.
class ModalCloser {
 public:
  ModalCloser() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        ++closed;
        modal->close();
      }
    });
    timer_.start();
  }
  int closed = 0;

 private:
  QTimer timer_;
};

class MainWindowTest : public WindowTest {
 protected:
  void trigger(MainWindow& window, int command) {
    QAction* item = window.action(command);
    ASSERT_NE(item, nullptr) << command;
    item->trigger();
  }
};

// The menu bar carries the jobs and the folder items directly; the menus
// are recorded in data/gui/menus.txt.
TEST_F(MainWindowTest, TitleAndMenusAfterStart) {
  StartedWindow window(*this);
  EXPECT_EQ(window.windowTitle(), " Zelvo: TONARKA - BRIN");
  test::expect_recorded(test::test_data("gui/menus.txt"), menus(window, true));
  EXPECT_EQ(application_.console_store().contents().rfind("\n  - - - -", 0), 0u);  // the banner
}

// Options > Notation Grid sets the grid of the MusicXML the jobs write, one
// choice checked at a time, the grid chosen from the music to begin with.
TEST_F(MainWindowTest, NotationGridMenuChoosesTheGrid) {
  StartedWindow window(*this);
  const QList<QAction*> options = window.menuBar()->actions()[1]->menu()->actions();
  QMenu* grid = options[7]->menu();
  ASSERT_NE(grid, nullptr);
  const QList<QAction*> choices = grid->actions();  // their texts in data/gui/menus.txt
  EXPECT_TRUE(choices[0]->isChecked());
  choices[4]->trigger();
  EXPECT_EQ(application_.notation_grid(), notation::Grid::kExact);
  EXPECT_FALSE(choices[0]->isChecked());
  choices[2]->trigger();
  EXPECT_EQ(application_.notation_grid(), notation::Grid::kEighthTriplet);
}

TEST_F(MainWindowTest, CheckMarksFollowTheCommands) {
  StartedWindow window(*this);
  EXPECT_TRUE(window.action(kCommandEnglish)->isChecked());
  EXPECT_FALSE(window.action(kCommandSpanish)->isChecked());
  EXPECT_FALSE(window.action(kCommandOpenMidifile)->isChecked());
  trigger(window, kCommandSpanish);
  trigger(window, kCommandOpenMidifile);
  EXPECT_FALSE(window.action(kCommandEnglish)->isChecked());
  EXPECT_TRUE(window.action(kCommandSpanish)->isChecked());
  EXPECT_TRUE(window.action(kCommandOpenMidifile)->isChecked());
  EXPECT_EQ(application_.console().language(), base::kSpanish);
  EXPECT_TRUE(application_.open_result());
  trigger(window, kCommandSpanish);  // choosing it again keeps it chosen
  EXPECT_TRUE(window.action(kCommandSpanish)->isChecked());
}

TEST_F(MainWindowTest, WhileAJobRunsOnlyStopActs) {
  StartedWindow window(*this);
  console::JobConsole& console = application_.console();
  const std::string before = console.store().contents();
  console.control().set_job_running(true);
  ModalCloser dialogs;
  for (int command : {kCommandSpanish, kCommandOpenMidifile, kCommandAbout, kCommandNew, kCommandErase,
                      kCommandFolders, kCommandComposer, kCommandEditInformation, kCommandExit}) {
    trigger(window, command);
  }
  EXPECT_EQ(console.language(), base::kEnglish);
  EXPECT_TRUE(window.action(kCommandEnglish)->isChecked());
  EXPECT_FALSE(window.action(kCommandSpanish)->isChecked());
  EXPECT_FALSE(window.action(kCommandOpenMidifile)->isChecked());
  EXPECT_TRUE(desktop_.messages.empty());
  EXPECT_TRUE(desktop_.questions.empty());
  EXPECT_TRUE(desktop_.requests.empty());
  EXPECT_EQ(dialogs.closed, 0);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(console.store().contents(), before);
  EXPECT_FALSE(console.control().stop_requested());
  trigger(window, kCommandStop);
  EXPECT_TRUE(console.control().stop_requested());
  console.control().set_job_running(false);
  console.control().clear_stop_request();
}

TEST_F(MainWindowTest, ComposeFromTheMenuFillsTheConsoleAndClearsTheFlag) {
  StartedWindow window(*this);
  trigger(window, kCommandComposer);
  ASSERT_TRUE(wait_until([&] { return !application_.job_control().job_running(); }));
  application_.runner().wait();
  EXPECT_NE(application_.console_store().contents().find("** COMPOSING!!! "), std::string::npos);
  EXPECT_FALSE(application_.job_control().job_running());
  trigger(window, kCommandErase);
  EXPECT_EQ(application_.console_store().contents().find("COMPOSING"), std::string::npos);
}

TEST_F(MainWindowTest, LongJobFollowsTheEndAndStopsFromTheMenu) {
  console::JobConsole& console = application_.console();
  std::atomic<int> printed{0};
  console::JobHooks hooks;
  hooks.compose = [&] {
    for (int bar = 1; bar < 1000000; ++bar) {
      console_print(console, base::MessageId::kEachBar, bar);
      ++printed;
      check_stop(console);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  };
  console::JobRunner runner(console, hooks);
  MainWindow window(application_, start_.path(), &runner, &desktop_);
  window.start();
  trigger(window, kCommandComposer);
  ASSERT_TRUE(console.control().job_running());
  // The window keeps handling events while the job prints: its view follows
  // the end, and a command reaches it.
  ASSERT_TRUE(wait_until([&] { return printed.load() > 300; }));
  ASSERT_TRUE(wait_until([&] { return window.console_view()->scroll_state().maximum > 100; }));
  const ScrollState& scroll = window.console_view()->scroll_state();
  EXPECT_EQ(scroll.position, scroll.maximum);
  trigger(window, kCommandSpanish);  // ignored while the job runs
  EXPECT_EQ(console.language(), base::kEnglish);
  trigger(window, kCommandStop);
  ASSERT_TRUE(wait_until([&] { return !console.control().job_running(); }));
  runner.wait();
  EXPECT_EQ(runner.last_outcome(), console::JobOutcome::kStopped);
  const std::string text = console.store().contents();
  const std::string stop = "\n\nCOMPILATION STOPPED BY USER\n\n";
  ASSERT_GT(text.size(), stop.size());
  EXPECT_EQ(text.substr(text.size() - stop.size()), stop);
  EXPECT_EQ(text.find(stop), text.size() - stop.size());  // printed once
  EXPECT_FALSE(console.control().stop_requested());
}

TEST_F(MainWindowTest, OpenMidifileOpensTheResultInTheWorkFolder) {
  copy_demo();  // a work that composes to its end
  write_file(start_.file("zlvfolders.rur"), "\n" + work_.path() + "\n\n");
  StartedWindow window(*this);
  EXPECT_EQ(window.action(kCommandWorkFolder)->text(),
            QString::fromStdString("&WFolder: " + last_path_component(work_.path())));
  trigger(window, kCommandComposer);
  ASSERT_TRUE(wait_until([&] { return !application_.job_control().job_running(); }));
  application_.runner().wait();
  ASSERT_EQ(application_.runner().last_outcome(), console::JobOutcome::kFinished)
      << application_.console_store().contents();
  QApplication::processEvents();
  EXPECT_TRUE(desktop_.requests.empty());  // the switch is off

  trigger(window, kCommandOpenMidifile);
  trigger(window, kCommandComposer);
  ASSERT_TRUE(wait_until([&] { return !desktop_.requests.empty(); }));
  application_.runner().wait();
  EXPECT_EQ(application_.runner().last_outcome(), console::JobOutcome::kFinished);
  EXPECT_EQ(desktop_.requests, (std::vector<std::string>{"open outco.mid in " + work_.path()}));
}

TEST_F(MainWindowTest, FoldersDialogShowsTheFoldersAndChoosesOne) {
  TempFolder project;
  StartedWindow window(*this);
  desktop_.chosen = project.path();
  QStringList seen;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) return;
    poll.stop();
    seen << dialog->windowTitle();
    for (int control : {kControlTemplate, kControlWork, kControlProject}) {
      auto* button = dialog->findChild<QPushButton*>(QString("folder%1").arg(control));
      seen << (button != nullptr ? button->text() : QString("missing"));
    }
    dialog->findChild<QPushButton*>(QString("folder%1").arg(kControlProject))->click();
    seen << dialog->findChild<QPushButton*>(QString("folder%1").arg(kControlProject))->text();
    dialog->close();
  });
  poll.start();
  trigger(window, kCommandFolders);
  // The start folder has no Template: the source tree's is the default.
  const QString template_folder = QString::fromStdString(std::string(ZELVO_SOURCE_DIR) + "/examples/Template");
  EXPECT_EQ(seen, (QStringList{"Folders", template_folder, "(Not Defined)", "(Not Defined)",
                               QString::fromStdString(project.path())}));
  EXPECT_EQ(desktop_.chooser_titles, (std::vector<std::string>{"Select Project Folder"}));
  EXPECT_EQ(window.action(kCommandProjectFolder)->text(),
            QString::fromStdString("&PFolder: " + last_path_component(project.path())));
  EXPECT_NE(read_file(start_.file("zlvfolders.rur")).find(project.path()), std::string::npos);
}

TEST_F(MainWindowTest, ClosingWritesBothSettingsFiles) {
  write_file(start_.file("zlvconf.rur"), "30,40,50,500,1,1\n");
  {
    StartedWindow window(*this);
    EXPECT_EQ(window.width(), 200);
    EXPECT_EQ(window.height(), 500);
    EXPECT_TRUE(window.action(kCommandSpanish)->isChecked());
    window.resize(640, 480);
    trigger(window, kCommandEnglish);
    window.close();
  }
  const std::string line = read_file(start_.file("zlvconf.rur"));
  EXPECT_NE(line.find(",640,480,1,0\n"), std::string::npos) << line;
  EXPECT_TRUE(std::filesystem::exists(start_.file("zlvfolders.rur")));
}

// Folder names reach the question and warning boxes; a name that looks
// like markup is shown as typed.
TEST(QtDesktopTest, BoxesShowTheirTextAsPlainText) {
  QtDesktop desktop(nullptr);
  std::vector<Qt::TextFormat> formats;
  std::vector<QString> texts;
  QTimer timer;
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      formats.push_back(box->textFormat());
      texts.push_back(box->text());
      box->done(QMessageBox::No);
    }
  });
  timer.start();
  EXPECT_FALSE(desktop.ask_yes_no("Load Project", "Load Project <b>Song</b>?"));
  desktop.show_message(kErrorTitle, kNoWorkFolder);
  EXPECT_EQ(formats, (std::vector<Qt::TextFormat>{Qt::PlainText, Qt::PlainText}));
  EXPECT_EQ(texts, (std::vector<QString>{"Load Project <b>Song</b>?",
                                         "Impossible: There is no Work Folder.\nSelect anyone in Options --> Folders."}));
}

class ConsoleWidgetTest : public ::testing::Test {
 protected:
  // Sizes the widget so its client area holds `lines` lines and 3 pixels.
  void size_for_lines(ConsoleWidget& view, int lines) {
    view.resize(400, 300);
    view.show();
    const int extra = view.height() - view.viewport()->height();
    view.resize(400, lines * view.line_height() + 3 + extra);
    QApplication::processEvents();
    ASSERT_EQ(view.page_lines(), lines);
  }

  // The store holding `lines` lines of 3 characters.
  void fill_lines(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i) text += "xxx\n";
    console_.store().clear();
    console_.store().append(text.c_str());
  }

  console::StandaloneConsole console_;
};

TEST_F(ConsoleWidgetTest, ScrollRangeAndPageDown) {
  ConsoleWidget view(console_.store(), console_.control());
  console_.store().set_view(&view);
  fill_lines(100);
  size_for_lines(view, 20);
  view.recompute_scroll(false);
  EXPECT_EQ(view.scroll_state().maximum, 82);
  EXPECT_EQ(view.verticalScrollBar()->maximum(), 82);
  view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(view.scroll_state().position, 20);
  EXPECT_EQ(view.verticalScrollBar()->value(), 20);
  view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(view.scroll_state().position, 82);

  fill_lines(3);
  view.recompute_scroll(false);
  EXPECT_EQ(view.scroll_state().maximum, 0);
  EXPECT_EQ(view.scroll_state().position, 0);
  console_.store().set_view(nullptr);
}

// Counts the paints of a widget and whether the logo's corner was drawn.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// A message printed while no job runs is painted at once in the
// follow-the-end mode; the view is then invalidated again so the normal
// mode (text from the scroll position, the logo) is what stays on screen.
TEST_F(ConsoleWidgetTest, PrintWithoutAJobEndsWithANormalPaint) {
  ConsoleWidget view(console_.store(), console_.control());
  console_.store().set_view(&view);
  size_for_lines(view, 10);
  QApplication::processEvents();
  PaintCounter counter(view.viewport());
  console_.print_text("one line\n");
  EXPECT_EQ(counter.paints, 1);  // the synchronous one
  QApplication::processEvents();
  EXPECT_GE(counter.paints, 2);  // the normal one that follows
  const int before = counter.paints;
  console_.clear_console();
  EXPECT_EQ(counter.paints, before + 1);
  QApplication::processEvents();
  EXPECT_GE(counter.paints, before + 2);
  console_.store().set_view(nullptr);
}

TEST_F(ConsoleWidgetTest, TabsExpandToFifteenPixelsFromTheMargin) {
  ConsoleWidget view(console_.store(), console_.control());
  console_.print_text("\tW\n");
  size_for_lines(view, 10);
  view.recompute_scroll(false);
  const QImage image = view.viewport()->grab().toImage();
  // Line 0 is drawn one line down in the normal mode.
  int leftmost = -1;
  for (int y = view.line_height(); y < 2 * view.line_height() && y < image.height(); ++y) {
    for (int x = 0; x < 120; ++x) {
      if (qGray(image.pixel(x, y)) < 128 && (leftmost < 0 || x < leftmost)) leftmost = x;
    }
  }
  const int margin = view.char_width();
  EXPECT_GE(leftmost, margin + 15);
  EXPECT_LT(leftmost, margin + 15 + margin);
}

}  // namespace
}  // namespace zelvo::shell::gui
