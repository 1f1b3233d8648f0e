// The composition editor in the window: the demo opened, a cell changed
// with Live on and the roll following, an error marked in its cell while
// the last result stays, undo back to the very bytes of the file, Save,
// a console line selecting its cell, and the question on quit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QApplication>
#include <QDockWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QComboBox>
#include <QUndoStack>
#include <algorithm>
#include <filesystem>

#include "base/message.h"
#include "composition/document.h"
#include "editor/editor_panel.h"
#include "editor/live_run.h"
#include "shell/fake_platform.h"
#include "shell/gui/editor_dock.h"
#include "shell/gui/main_window.h"
#include "composition/operations.h"
#include "shell/gui/roll_panel.h"
#include "gui/wait_until.h"
#include "gui/window_test.h"
#include "support/scenario_inputs.h"

namespace zelvo::shell::gui {
namespace {

namespace fs = std::filesystem;

class EditorTest : public WindowTest {
 protected:
  void SetUp() override { copy_demo(); }
};

TEST_F(EditorTest, LiveEditsFollowTheRollAndUndoRestoresTheFile) {
  StartedWindow window(*this);
  application_.set_work_folder(work_.path());
  EditorDock* dock = window.editor_dock();
  dock->show_editor();
  editor::EditorPanel* panel = dock->panel();
  const std::string original = read_file(work_.file("incom.htm"));
  ASSERT_EQ(panel->tabs()->count(), 5);
  EXPECT_EQ(panel->tabs()->tabText(2), "TGENC");

  // Live on: the first result, then a cell changed and the roll follows.
  panel->live_action()->setChecked(true);
  ASSERT_TRUE(wait_until([&] { return dock->live()->finished_runs() == 1 && !dock->live()->busy(); }, 30000));
  const size_t first_notes = window.roll_panel()->piano_roll().notes.size();
  EXPECT_GT(first_notes, 100u);
  ASSERT_TRUE(panel->find("Wave"));
  EXPECT_EQ(panel->view(2)->currentIndex().row(), 3);
  // Through the view's model, as a typed edit arrives.
  QAbstractItemModel* model = panel->view(2)->model();
  ASSERT_TRUE(model->setData(model->index(3, 6), "24", Qt::EditRole));
  ASSERT_TRUE(wait_until([&] { return dock->live()->finished_runs() == 2 && !dock->live()->busy(); }, 30000));
  const size_t second_notes = window.roll_panel()->piano_roll().notes.size();
  EXPECT_NE(second_notes, first_notes);
  EXPECT_EQ(read_file(work_.file("incom.htm")), original);  // the file only changes on Save
  EXPECT_FALSE(fs::exists(work_.file("outco.mid")));        // nor do the results

  // A broken expression: marked in its cell, the last result kept.
  ASSERT_TRUE(panel->set_cell(1, 2, 1, "int(Wave"));
  ASSERT_TRUE(wait_until([&] { return dock->live()->finished_runs() == 3 && !dock->live()->busy(); }, 30000));
  ASSERT_FALSE(panel->errors().empty());
  EXPECT_EQ(panel->errors().front().table, 1);
  EXPECT_EQ(panel->errors().front().row, 2);
  EXPECT_EQ(panel->errors().front().column, 1);
  EXPECT_TRUE(panel->view(1)->model()->data(panel->view(1)->model()->index(2, 1), Qt::ToolTipRole)
                  .toString().contains("parentheses"));
  EXPECT_EQ(window.roll_panel()->piano_roll().notes.size(), second_notes);
  // The screenshot stays in the test's folder, for a person to look at.
  const QString shots = QCoreApplication::applicationDirPath() + "/gui-output";
  QDir().mkpath(shots);
  window.resize(1400, 900);
  panel->select_cell(1, 2, 1);
  QApplication::processEvents();
  window.grab().save(shots + "/editor-error.png");

  // A console line names a cell: a click selects it.
  ASSERT_TRUE(panel->select_from_message("Syntax Error in table TSAL, row 3, column 2"));
  EXPECT_EQ(panel->current_table(), 4);
  EXPECT_EQ(panel->view(4)->currentIndex().row(), 3);
  EXPECT_EQ(panel->view(4)->currentIndex().column(), 2);

  // Undo to the file as read, byte for byte.
  panel->undo_stack()->undo();
  panel->undo_stack()->undo();
  EXPECT_EQ(composition::write_document(panel->document()), original);
  EXPECT_FALSE(panel->modified());
  panel->undo_stack()->redo();
  ASSERT_TRUE(panel->save());
  const std::string saved = read_file(work_.file("incom.htm"));
  EXPECT_NE(saved, original);
  EXPECT_EQ(saved, composition::write_document(panel->document()));
  EXPECT_FALSE(panel->modified());

  // Quit with an edit not saved asks, and Yes saves.
  ASSERT_TRUE(panel->set_cell(0, 1, 6, "7"));
  desktop_.answer = true;
  window.close();
  ASSERT_EQ(desktop_.questions.size(), 1u);
  EXPECT_NE(read_file(work_.file("incom.htm")).find("<td>7</td>"), std::string::npos);
}

TEST_F(EditorTest, TablesRowsAndRenamesAreSingleUndoSteps) {
  application_.set_work_folder(work_.path());
  editor::EditorPanel panel;
  ASSERT_TRUE(panel.open(work_.file("incom.htm")));
  const std::string original = composition::write_document(panel.document());
  ASSERT_TRUE(panel.add_table(7));
  EXPECT_EQ(panel.tabs()->count(), 6);
  EXPECT_EQ(panel.tabs()->tabText(5), "TGENS#2");
  EXPECT_TRUE(panel.tabs()->widget(5)->isVisibleTo(&panel) || panel.current_table() == 5);
  panel.select_cell(4, 2, 0);
  ASSERT_TRUE(panel.insert_row());
  ASSERT_TRUE(panel.delete_row());
  ASSERT_TRUE(panel.rename("Accent", "Punch"));
  EXPECT_FALSE(panel.rename("Punch", "Tone"));
  EXPECT_EQ(panel.status().toStdString(), "cannot rename Punch to Tone: Tone is already declared");
  EXPECT_FALSE(panel.rename("Punch", "2nd"));
  EXPECT_EQ(panel.status().toStdString(),
            "cannot rename Punch to 2nd: 2nd cannot be a name: a letter, then letters and digits, 29 characters at most");
  panel.set_language(base::kSpanish);  // the reason in the window's language, as UTF-8
  EXPECT_FALSE(panel.rename("Punch", "Tone"));
  EXPECT_NE(panel.status().toStdString().find("Tone ya est\u00e1 declarado"), std::string::npos);
  EXPECT_EQ(panel.undo_stack()->count(), 4);
  while (panel.undo_stack()->canUndo()) panel.undo_stack()->undo();
  EXPECT_EQ(composition::write_document(panel.document()), original);
  EXPECT_EQ(panel.tabs()->count(), 5);
}

// A file LibreOffice wrote: a cell's new text goes inside its styled
// paragraph; a row added cannot, and the status says the file was saved in
// the composer's layout.
TEST_F(EditorTest, AnotherEditorsFileKeepsItsMarkup) {
  const std::string writer =
      test::input_files(test::test_data("scenarios/Intake.LibreOfficeWriterDocument")).at("incom.htm");
  write_file(work_.file("incom.htm"), writer);
  editor::EditorPanel panel;
  ASSERT_TRUE(panel.open(work_.file("incom.htm")));
  EXPECT_EQ(panel.tabs()->tabText(0), "TCONF");
  ASSERT_TRUE(panel.set_cell(0, 1, 2, "100"));
  ASSERT_TRUE(panel.save());
  std::string expected = writer;
  expected.replace(expected.find("<p>90</p>"), 9, "<p>100</p>");
  EXPECT_EQ(read_file(work_.file("incom.htm")), expected);
  EXPECT_EQ(panel.status().toStdString(), "saved " + work_.file("incom.htm"));
  panel.select_cell(1, 1, 0);
  ASSERT_TRUE(panel.insert_row());
  ASSERT_TRUE(panel.save());
  EXPECT_NE(panel.status().toStdString().find("in the composer's layout"), std::string::npos);
}

TEST_F(EditorTest, AnOutsideChangeIsOfferedForReload) {
  editor::EditorPanel panel;
  ASSERT_TRUE(panel.open(work_.file("incom.htm")));
  int asked = 0;
  panel.ask = [&](const QString&) { return ++asked > 0; };
  std::string changed = read_file(work_.file("incom.htm"));
  changed.replace(changed.find("<td>2024</td>"), 13, "<td>2025</td>");
  write_file(work_.file("incom.htm"), changed);
  ASSERT_TRUE(wait_until([&] { return asked == 1; }, 5000));
  EXPECT_EQ(composition::write_document(panel.document()), changed);
  // Its own Save is no outside change.
  ASSERT_TRUE(panel.set_cell(0, 1, 6, "1"));
  ASSERT_TRUE(panel.save());
  wait_until([] { return false; }, 300);
  EXPECT_EQ(asked, 1);
}

TEST_F(EditorTest, ALiveResultTakesOverThePlayingMusic) {
  // FluidSynth's file driver plays in real time without a sound device.
  setenv("ZELVO_AUDIO_DRIVER", "file", 1);
  StartedWindow window(*this);
  application_.set_work_folder(work_.path());
  EditorDock* dock = window.editor_dock();
  dock->show_editor();
  dock->panel()->live_action()->setChecked(true);
  ASSERT_TRUE(wait_until([&] { return dock->live()->finished_runs() == 1 && !dock->live()->busy(); }, 30000));
  RollPanel& roll = *window.roll_panel();
  roll.play_button()->click();
  const bool moved = wait_until([&] { return roll.cursor_tick() > 0; }, 60000);
  unsetenv("ZELVO_AUDIO_DRIVER");
  ASSERT_TRUE(moved) << roll.status_text().toStdString();
  // One channel muted, another soloed, the swap at once: the choices hold
  // through the swap, and the player keeps them.
  ASSERT_NE(roll.mute_action(2), nullptr);
  ASSERT_EQ(roll.mute_action(5), nullptr);  // the demo has no channel 5
  roll.mute_action(2)->trigger();
  EXPECT_EQ(roll.heard_channels(), 0xFFFD);
  EXPECT_EQ(roll.playing_channels(), 0xFFFD);
  dock->panel()->swap_box()->setCurrentIndex(2);
  ASSERT_TRUE(dock->panel()->set_cell(2, 3, 6, "24"));
  ASSERT_TRUE(wait_until([&] { return dock->live()->finished_runs() == 2 && !dock->live()->busy(); }, 30000));
  EXPECT_TRUE(roll.playing());
  EXPECT_TRUE(roll.status_text().endsWith("live-0.mid: playing")) << roll.status_text().toStdString();
  EXPECT_TRUE(roll.mute_action(2)->isChecked());
  EXPECT_EQ(roll.playing_channels(), 0xFFFD);
  roll.solo_action(1)->trigger();
  EXPECT_EQ(roll.playing_channels(), 0x0001);
  roll.stop_button()->click();
  EXPECT_FALSE(roll.playing());
}

TEST_F(EditorTest, ColumnsCarryTheirNumberTitleAndHelp) {
  editor::EditorPanel panel;
  ASSERT_TRUE(panel.open(work_.file("incom.htm")));
  const QAbstractItemModel* generators = panel.view(2)->model();
  EXPECT_EQ(generators->headerData(6, Qt::Horizontal, Qt::DisplayRole).toString(), "6 pulse");
  EXPECT_EQ(generators->headerData(6, Qt::Horizontal, Qt::ToolTipRole).toString(),
            "column 6: pulse\nclicks from one note to the next\nempty: the number in row 1");
  EXPECT_EQ(generators->headerData(3, Qt::Vertical, Qt::DisplayRole).toInt(), 3);
  EXPECT_EQ(generators->data(generators->index(3, 0), Qt::DisplayRole).toString(), "Wave");
  const QAbstractItemModel* outputs = panel.view(4)->model();
  EXPECT_EQ(outputs->data(outputs->index(2, 1), Qt::ToolTipRole).toString(),
            "column 1: MIDI channel 1 to 16 (10 is drums in General MIDI)\nwhen empty: 1");
  // An error marks every cell of the row it names when it names no column.
  EXPECT_EQ(panel.mark_errors("Error: generator or variable name in table TGENC, row 3, is wrong\n"), 1);
  EXPECT_TRUE(generators->data(generators->index(3, 5), Qt::BackgroundRole).isValid());
  EXPECT_FALSE(generators->data(generators->index(4, 5), Qt::BackgroundRole).isValid());
  EXPECT_EQ(panel.mark_errors(""), 0);
  EXPECT_FALSE(generators->data(generators->index(3, 5), Qt::BackgroundRole).isValid());
}

TEST_F(EditorTest, HarmonizeInTheLoopShowsTheHarmonizedResult) {
  editor::LiveRun live;
  std::string result;
  std::string failure;
  live.on_result = [&](const std::string& midi) { result = midi; };
  live.on_failure = [&](const std::string& text) { failure = text; };
  composition::Document document;
  {
    editor::EditorPanel panel;
    ASSERT_TRUE(panel.open(work_.file("incom.htm")));
    document = panel.document();
  }
  live.set_harmonize(true);
  live.schedule(document, work_.path());
  ASSERT_TRUE(wait_until([&] { return live.finished_runs() == 1 && !live.busy(); }, 30000));
  ASSERT_FALSE(result.empty()) << failure;
  EXPECT_EQ(read_file(result).substr(0, 4), "MThd");
  EXPECT_TRUE(fs::exists(fs::path(result).replace_extension(".tones")));
  // Two edits in a row: the last one's outcome is shown last.
  live.set_harmonize(false);
  ASSERT_TRUE(composition::set_cell(document, 0, 1, 1, "2").ok());
  live.schedule(document, work_.path());
  ASSERT_TRUE(composition::set_cell(document, 0, 1, 2, "0").ok());
  live.schedule(document, work_.path());
  ASSERT_TRUE(wait_until([&] { return !live.busy(); }, 30000));
  EXPECT_FALSE(failure.empty());  // a tempo of 0 is refused
  EXPECT_FALSE(fs::exists(work_.file("outar.mid")));
  EXPECT_FALSE(fs::exists(work_.file("outco.mid")));
}

// A harmonized Live result is drawn with the tone types that the window's
// Harmonize job shows for the same text.
TEST_F(EditorTest, AHarmonizedLiveResultShowsItsToneTypes) {
  StartedWindow window(*this);
  application_.set_work_folder(work_.path());
  EditorDock* dock = window.editor_dock();
  dock->show_editor();
  dock->panel()->harmonize_action()->setChecked(true);
  dock->panel()->live_action()->setChecked(true);
  ASSERT_TRUE(wait_until([&] { return dock->live()->finished_runs() >= 1 && !dock->live()->busy(); }, 30000));
  const auto tones = [](const roll::PianoRoll& roll) {
    std::vector<std::pair<int, int>> tones;
    for (const roll::RollNote& note : roll.notes) tones.emplace_back(note.given_pitch, note.tone_type);
    return tones;
  };
  const auto live_tones = tones(window.roll_panel()->piano_roll());
  ASSERT_TRUE(application_.runner().start_job(console::JobKind::kAll));
  application_.runner().wait();
  window.roll_panel()->show_file(work_.file("outar.mid"));
  const auto job_tones = tones(window.roll_panel()->piano_roll());
  EXPECT_EQ(live_tones, job_tones);
  EXPECT_GT(std::count_if(job_tones.begin(), job_tones.end(), [](auto tone) { return tone.first >= 0; }), 100);
}

}  // namespace
}  // namespace zelvo::shell::gui
