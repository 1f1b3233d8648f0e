// The roll panel's playback choices: the output (remembered), Loop, and
// Play from the bar clicked in the roll, the cursor following.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <filesystem>

#include "app/cli_runner.h"
#include "player/song.h"
#include "shell/commands.h"
#include "shell/fake_platform.h"
#include "shell/gui/main_window.h"
#include "shell/gui/roll_panel.h"
#include "gui/wait_until.h"
#include "gui/window_test.h"
#include "support/status_text.h"

namespace zelvo::shell::gui {
namespace {

class RollPlaybackTest : public WindowTest {
 protected:
  void SetUp() override {
    QStandardPaths::setTestModeEnabled(true);  // the user's settings are left alone
    QSettings("Zelvo", "zelvo-gui").clear();
    copy_demo();
    write_file(start_.file("zlvfolders.rur"), "\n" + work_.path() + "\n\n");
    setenv("ZELVO_AUDIO_DRIVER", "file", 1);  // real time, into nothing
  }
  void TearDown() override {
    unsetenv("ZELVO_AUDIO_DRIVER");
    QSettings("Zelvo", "zelvo-gui").clear();
  }

};

TEST_F(RollPlaybackTest, TheOutputChosenIsRemembered) {
  {
    RollPanel panel;
    EXPECT_EQ(panel.output_box()->currentText(), "Built-in synthesizer");
    const int own = panel.output_box()->findData(QString("Zelvo"));
    ASSERT_GE(own, 0);
    panel.output_box()->setCurrentIndex(own);
    Q_EMIT panel.output_box()->activated(own);
  }
  RollPanel again;
  EXPECT_EQ(again.output_box()->currentData().toString(), "Zelvo");
}

TEST_F(RollPlaybackTest, PlayStartsAtTheClickedBarAndLoops) {
  StartedWindow window(*this);
  window.action(kCommandComposer)->trigger();
  ASSERT_TRUE(wait_until([&] { return !application_.job_control().job_running(); }, 300000));
  application_.runner().wait();
  RollPanel& panel = *window.roll_panel();
  ASSERT_TRUE(wait_until([&] { return panel.has_roll(); }, 5000));

  player::Song song;
  ASSERT_EQ(test::english(player::load_song(work_.file("outco.mid"), song)), "");
  const int64_t bar3 = song.tick_at(song.bar_lines[2]);
  const int64_t bar4 = song.tick_at(song.bar_lines[3]);
  panel.choose_bar_at_tick(bar3 + 10);
  EXPECT_EQ(panel.from_bar(), 3);
  EXPECT_EQ(panel.cursor_tick(), bar3);  // marks where Play starts

  panel.loop_box()->setChecked(true);
  panel.play_button()->click();
  ASSERT_TRUE(wait_until([&] { return panel.playing() && panel.cursor_tick() > bar3; }, 60000))
      << panel.status_text().toStdString();
  EXPECT_LT(panel.cursor_tick(), bar4);
  panel.stop_button()->click();
  EXPECT_FALSE(panel.playing());
  EXPECT_EQ(panel.cursor_tick(), bar3);
}

}  // namespace
}  // namespace zelvo::shell::gui
