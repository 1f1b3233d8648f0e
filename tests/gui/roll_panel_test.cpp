#include "shell/gui/roll_panel.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <filesystem>

#include "app/cli_runner.h"
#include "shell/commands.h"
#include "shell/fake_platform.h"
#include "shell/folders.h"
#include "shell/gui/main_window.h"
#include "gui/wait_until.h"
#include "gui/window_test.h"

namespace zelvo::shell::gui {
namespace {

// Pixels clearly coloured (a note), not white or the grid's greys.
int coloured_pixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor colour = image.pixelColor(x, y);
      if (colour.hsvSaturation() > 80 && colour.value() > 60) ++count;
    }
  }
  return count;
}

// Play either sounds (and Stop silences it) or, with no sound device,
// says so; neither may hang.
void play_then_stop(RollPanel& panel) {
  panel.play_button()->click();
  ASSERT_TRUE(wait_until([&] { return panel.playing() || panel.status_text().startsWith("Cannot play"); }, 60000));
  if (panel.playing()) {
    panel.stop_button()->click();
    EXPECT_FALSE(panel.playing());
  } else {
    EXPECT_TRUE(panel.status_text().contains("no sound device")) << panel.status_text().toStdString();
  }
}

class RollPanelTest : public WindowTest {
 protected:
  void SetUp() override {
    copy_demo();
    write_file(start_.file("zlvfolders.rur"), "\n" + work_.path() + "\n\n");
  }

  void run(MainWindow& window, int command) {
    window.action(command)->trigger();
    ASSERT_TRUE(wait_until([&] { return !application_.job_control().job_running(); }, 300000));
    application_.runner().wait();
    ASSERT_EQ(application_.runner().last_outcome(), console::JobOutcome::kFinished)
        << application_.console_store().contents();
  }

};

TEST_F(RollPanelTest, AfterAllThePanelShowsTheResultPlaysAndAJobDuringPlayWritesTheSameFiles) {
  MainWindow window(application_, start_.path(), nullptr, &desktop_);
  window.resize(900, 700);
  window.start();
  RollPanel& panel = *window.roll_panel();
  EXPECT_FALSE(panel.has_roll());
  run(window, kCommandAll);
  ASSERT_TRUE(wait_until([&] { return panel.has_roll(); }, 5000));
  EXPECT_EQ(panel.file(), work_.file("outar.mid"));
  EXPECT_GT(panel.piano_roll().notes.size(), 100u);
  // The tones file beside it was read: every harmonized note (channels 1 to
  // 3) has its given pitch; the hi-hat and drums the demo keeps have none.
  for (const roll::RollNote& note : panel.piano_roll().notes) {
    if (note.channel <= 2) {
      ASSERT_GE(note.given_pitch, 0) << note.start;
    } else {
      ASSERT_EQ(note.given_pitch, -1) << note.start;
    }
  }

  // The screenshot stays in the test's folder, for a person to look at.
  const QImage shot = window.grab().toImage();
  const QString shots = QCoreApplication::applicationDirPath() + "/gui-output";
  QDir().mkpath(shots);
  shot.save(shots + "/after-all.png");
  EXPECT_GT(coloured_pixels(panel.grab().toImage()), 2000);

  // Ctrl+wheel zooms around the pointer's tick; the wheel scrolls within the song.
  const int64_t whole = panel.shown_ticks();
  panel.zoom(4.0, whole / 2);
  EXPECT_EQ(panel.shown_ticks(), whole / 4);
  EXPECT_NEAR(static_cast<double>(panel.first_tick()), whole * 3.0 / 8.0, 2.0);
  panel.grab().save(shots + "/zoomed.png");
  panel.scroll_by(whole * 10);
  EXPECT_EQ(panel.first_tick() + panel.shown_ticks(), whole);

  const std::string outco_mid = read_file(work_.file("outco.mid"));
  const std::string outco_rur = read_file(work_.file("outco.rur"));
  const std::string outar_mid = read_file(work_.file("outar.mid"));
  play_then_stop(panel);
  setenv("ZELVO_AUDIO_DRIVER", "file", 1);
  panel.play_button()->click();
  ASSERT_TRUE(wait_until([&] { return panel.playing(); }, 60000)) << panel.status_text().toStdString();
  unsetenv("ZELVO_AUDIO_DRIVER");
  run(window, kCommandAll);
  EXPECT_EQ(read_file(work_.file("outco.mid")), outco_mid);
  EXPECT_EQ(read_file(work_.file("outco.rur")), outco_rur);
  EXPECT_EQ(read_file(work_.file("outar.mid")), outar_mid);
  panel.stop();
}

// A job that does not finish leaves the roll of the run before, marked as
// older; the next finished job shows its own file unmarked.
TEST(RollPanelStale, AFailedJobMarksTheRollShown) {
  app::TempFolder work;
  const std::string midi = work.file("outar.mid");
  write_file(midi, read_file(ZELVO_TEST_DATA "/gui/one_note.mid"));  // one middle C
  RollPanel panel;
  panel.show_file(midi);
  ASSERT_TRUE(panel.has_roll()) << panel.status_text().toStdString();
  panel.show_after_job([] { return false; }, [] { return false; }, midi);
  ASSERT_TRUE(wait_until([&] { return panel.status_text().endsWith(RollPanel::kStaleNote); }, 5000));
  panel.show_after_job([] { return false; }, [] { return true; }, midi);
  ASSERT_TRUE(wait_until([&] { return !panel.status_text().endsWith(RollPanel::kStaleNote); }, 5000));
}

TEST_F(RollPanelTest, OpenMidifilePlaysInTheWindowWhereTheDesktopHasNoProgram) {
  desktop_.failing.insert("outco.mid");
  StartedWindow window(*this);
  window.action(kCommandOpenMidifile)->trigger();
  run(window, kCommandComposer);
  RollPanel& panel = *window.roll_panel();
  ASSERT_TRUE(wait_until(
      [&] { return panel.playing() || panel.status_text().startsWith("Cannot play"); }, 60000));
  EXPECT_EQ(panel.file(), work_.file("outco.mid"));
  EXPECT_EQ(desktop_.requests, (std::vector<std::string>{"open outco.mid in " + work_.path()}));
  panel.stop();
  EXPECT_FALSE(panel.playing());
}

TEST_F(RollPanelTest, PlayMovesTheCursorAndStopSilences) {
  // FluidSynth's file driver plays in real time without a sound device.
  setenv("ZELVO_AUDIO_DRIVER", "file", 1);
  StartedWindow window(*this);
  run(window, kCommandComposer);
  RollPanel& panel = *window.roll_panel();
  ASSERT_TRUE(wait_until([&] { return panel.has_roll(); }, 5000));
  panel.play_button()->click();
  const bool moved = wait_until([&] { return panel.cursor_tick() > 0; }, 60000);
  unsetenv("ZELVO_AUDIO_DRIVER");
  ASSERT_TRUE(moved) << panel.status_text().toStdString();
  EXPECT_TRUE(panel.playing());
  EXPECT_TRUE(panel.status_text().endsWith("outco.mid: playing"));
  panel.stop_button()->click();
  EXPECT_FALSE(panel.playing());
  EXPECT_EQ(panel.cursor_tick(), -1);
}

}  // namespace
}  // namespace zelvo::shell::gui
