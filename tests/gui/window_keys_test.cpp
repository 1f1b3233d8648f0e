// The editor's standard keys as a user presses them in a grid (Ctrl+S,
// Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y, Ctrl+F), and quitting with edits not
// saved: Cancel keeps the window and the edits, a save that fails keeps the
// window, Discard quits leaving the file, Save saves then quits. The size
// the window is left at comes back at the next start.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QUndoStack>
#include <algorithm>
#include <filesystem>

#include "composition/document.h"
#include "editor/editor_panel.h"
#include "shell/fake_platform.h"
#include "shell/gui/editor_dock.h"
#include "shell/gui/main_window.h"
#include "shell/gui/roll_panel.h"
#include "gui/window_test.h"

namespace zelvo::shell::gui {
namespace {

namespace fs = std::filesystem;

class WindowKeysTest : public WindowTest {
 protected:
  void SetUp() override {
    copy_demo();
    application_.set_work_folder(work_.path());
  }
  // The editor shown in an active window, a grid holding the focus.
  editor::EditorPanel* open_editor(MainWindow& window) {
    window.start();
    window.editor_dock()->show_editor();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    editor::EditorPanel* panel = window.editor_dock()->panel();
    panel->view(0)->setFocus();
    return panel;
  }
};

TEST_F(WindowKeysTest, StandardShortcutsWorkInTheGrid) {
  MainWindow window(application_, start_.path(), nullptr, &desktop_);
  editor::EditorPanel* panel = open_editor(window);
  const std::string original = read_file(work_.file("incom.htm"));
  QTableView* grid = panel->view(0);
  ASSERT_TRUE(panel->set_cell(0, 1, 6, "9"));
  ASSERT_TRUE(panel->set_cell(0, 1, 6, "8"));
  QUndoStack* undo = panel->undo_stack();
  ASSERT_EQ(undo->index(), 2);

  QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(undo->index(), 1);
  QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(undo->index(), 0);
  EXPECT_EQ(composition::write_document(panel->document()), original);
  QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(undo->index(), 1);
  QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(undo->index(), 2);

  QTest::keyClick(grid, Qt::Key_S, Qt::ControlModifier);
  EXPECT_FALSE(panel->modified());
  EXPECT_EQ(read_file(work_.file("incom.htm")), composition::write_document(panel->document()));
  EXPECT_NE(read_file(work_.file("incom.htm")), original);

  QTest::keyClick(grid, Qt::Key_F, Qt::ControlModifier);
  EXPECT_NE(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr);
}

TEST_F(WindowKeysTest, QuittingWithEditsOffersSaveDiscardAndCancel) {
  const std::string original = read_file(work_.file("incom.htm"));
  desktop_.unsaved_given = true;
  {
    MainWindow window(application_, start_.path(), nullptr, &desktop_);
    editor::EditorPanel* panel = open_editor(window);
    ASSERT_TRUE(panel->set_cell(0, 1, 6, "9"));

    desktop_.unsaved = UnsavedChoice::kCancel;
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(panel->modified());

    // A save that fails (the folder is gone) keeps the window too.
    const fs::path moved = fs::path(work_.path()).concat("-away");
    fs::rename(work_.path(), moved);
    desktop_.unsaved = UnsavedChoice::kSave;
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    fs::rename(moved, work_.path());

    desktop_.unsaved = UnsavedChoice::kDiscard;
    EXPECT_TRUE(window.close());
    EXPECT_EQ(read_file(work_.file("incom.htm")), original);
    EXPECT_EQ(desktop_.questions.size(), 3u);
  }
  MainWindow window(application_, start_.path(), nullptr, &desktop_);
  editor::EditorPanel* panel = open_editor(window);
  ASSERT_TRUE(panel->set_cell(0, 1, 6, "9"));
  desktop_.unsaved = UnsavedChoice::kSave;
  EXPECT_TRUE(window.close());
  EXPECT_EQ(read_file(work_.file("incom.htm")), composition::write_document(panel->document()));
}

// The first start shows the roll's status line whole; the size the user
// leaves is the next start's.
TEST_F(WindowKeysTest, DefaultSizeShowsTheRollsStatusAndIsRemembered) {
  QSize left;
  {
    StartedWindow window(*this);
    const QString status = QString::fromStdString(work_.path() + "/outar.mid: Play starts at bar 100");
    QApplication::processEvents();
    RollPanel* roll = window.roll_panel();
    // As wide as the line needs, within nine tenths of the screen.
    const int needed = roll->width_to_show(status) + 24;
    const int room = window.screen()->availableGeometry().width() * 9 / 10;
    EXPECT_GE(window.width(), std::min(needed, room));
    // And that width shows the line whole.
    window.resize(needed, window.height());
    QApplication::processEvents();
    EXPECT_GE(roll->status_width(), roll->fontMetrics().horizontalAdvance(status));
    window.resize(window.width() + 37, window.height() + 23);
    left = window.size();
    EXPECT_TRUE(window.close());
  }
  StartedWindow again(*this);
  EXPECT_EQ(again.size(), left);
}

}  // namespace
}  // namespace zelvo::shell::gui
