// The window in the user's language: every text of the translation files
// translated, the menus in Spanish as recorded and back to today's English
// word for word, the language kept from one start to the next, and a
// screenshot of the Spanish window with the editor and the roll.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QUndoStack>
#include <QXmlStreamReader>
#include <filesystem>

#include "editor/editor_panel.h"
#include "shell/commands.h"
#include "shell/fake_platform.h"
#include "shell/gui/editor_dock.h"
#include "shell/gui/main_window.h"
#include "shell/gui/roll_panel.h"
#include "shell/gui/shell_texts.h"
#include "shell/shell_messages.h"
#include "gui/window_test.h"

namespace zelvo::shell::gui {
namespace {

namespace fs = std::filesystem;

// The placeholders (%1, %2) and whether an accelerator (&) is marked.
QString shape(const QString& text) {
  QString out;
  for (const QRegularExpressionMatch& match : QRegularExpression("%\\d").globalMatch(text)) out += match.captured();
  return out + (text.contains('&') ? "&" : "");
}

// Every message of every .ts file has a finished translation, not empty,
// with the placeholders and accelerator of its source.
TEST(WindowLanguage, EveryTextOfTheTranslationFilesIsTranslated) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(std::string(ZELVO_SOURCE_DIR) + "/translations")) {
    if (entry.path().extension() != ".ts") continue;
    ++files;
    QFile file(QString::fromStdString(entry.path().string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString context, source;
    int messages = 0;
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement) continue;
      if (xml.name() == u"name") context = xml.readElementText();
      if (xml.name() == u"source") source = xml.readElementText();
      if (xml.name() != u"translation") continue;
      ++messages;
      const QString kind = xml.attributes().value("type").toString();
      const QString translation = xml.readElementText();
      const std::string where = entry.path().filename().string() + " " + context.toStdString() + ": " +
                                source.toStdString();
      EXPECT_TRUE(kind.isEmpty()) << where << " is " << kind.toStdString();
      EXPECT_FALSE(translation.isEmpty()) << where;
      EXPECT_EQ(shape(translation), shape(source)) << where << " -> " << translation.toStdString();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(messages, 50) << entry.path();
  }
  EXPECT_GE(files, 1);
}

using WindowLanguageTest = WindowTest;

// Options > Language turns every menu to Spanish (recorded in
// data/gui/menus_es.txt) and back to today's English, and no item but the
// languages' own names stays as it was.
TEST_F(WindowLanguageTest, LanguageSwitchesEveryMenuAndBack) {
  StartedWindow window(*this);
  const std::string english = menus(window, false);
  window.action(kCommandSpanish)->trigger();
  const std::string spanish = menus(window, false);
  test::expect_recorded(test::test_data("gui/menus_es.txt"), spanish);
  const QStringList english_lines = QString::fromStdString(english).split('\n');
  const QStringList spanish_lines = QString::fromStdString(spanish).split('\n');
  ASSERT_EQ(english_lines.size(), spanish_lines.size());
  for (qsizetype i = 0; i < english_lines.size(); ++i) {
    const QString line = english_lines[i].trimmed();
    if (line.isEmpty() || line == "--" || line == "&English" || line == "&Espa\u00f1ol") continue;
    EXPECT_NE(english_lines[i], spanish_lines[i]) << "not translated: " << line.toStdString();
  }
  window.action(kCommandEnglish)->trigger();
  EXPECT_EQ(menus(window, false), english);
}

// The language chosen is kept in the settings file: the next window starts in it.
TEST_F(WindowLanguageTest, TheWindowStartsInTheLanguageLastChosen) {
  {
    StartedWindow window(*this);
    window.action(kCommandSpanish)->trigger();
  }
  Application again;
  MainWindow window(again, start_.path(), nullptr, &desktop_);
  window.start();
  EXPECT_EQ(window.action(kCommandComposer)->text(), "&Compositor");
  EXPECT_EQ(window.roll_panel()->play_button()->text(), "Tocar");
}

// The whole window in Spanish, the editor open on the demo with its column
// help, and back in English: a screenshot stays in the test's folder for a
// person to look at.
TEST_F(WindowLanguageTest, SpanishWindowWithTheEditorAndTheRoll) {
  copy_demo();
  StartedWindow window(*this);
  application_.set_work_folder(work_.path());
  window.action(kCommandSpanish)->trigger();
  EditorDock* dock = window.editor_dock();
  dock->show_editor();
  editor::EditorPanel* panel = dock->panel();
  // The dock's and the roll's texts, TGENC's column 6 (pulse) in the words
  // of the manual, and the undo step's name: data/gui/editor_texts.txt.
  QAbstractItemModel* model = panel->view(2)->model();
  const auto texts = [&] {
    return dock->dock()->windowTitle() + "\n" + panel->live_action()->text() + "\n" + panel->live_action()->toolTip() + "\n" +
           model->headerData(6, Qt::Horizontal, Qt::ToolTipRole).toString() + "\n" + window.roll_panel()->status_text() + "\n";
  };
  QString got = texts();
  ASSERT_TRUE(panel->set_cell(2, 3, 6, "24"));
  got += panel->undo_stack()->undoText() + "\n";

  const QString shots = QCoreApplication::applicationDirPath() + "/gui-output";
  QDir().mkpath(shots);
  window.resize(1400, 900);
  QApplication::processEvents();
  EXPECT_TRUE(window.grab().save(shots + "/window-spanish.png"));

  // Back to English: the editor and its help as before.
  window.action(kCommandEnglish)->trigger();
  test::expect_recorded(test::test_data("gui/editor_texts.txt"), (got + texts()).toStdString());
}

// The shell's fixed messages reach the message boxes in the window's
// language: every text the shell words has its row, read in Spanish.
TEST_F(WindowLanguageTest, ShellMessagesAreShownInTheWindowsLanguage) {
  for (const std::string& text : {kErrorTitle, kNoWorkFolder, kMissingFolder, kWorkIsTemplate, kWorkIsProject,
                                  kNewWorkTitle, kNewWorkQuestion, kSaveProjectTitle, kSaveProjectQuestion,
                                  kLoadProjectTitle, kAboutTitle, kSelectTemplateFolder, kSelectWorkFolder,
                                  kSelectProjectFolder, kSelectProyectFolder}) {
    EXPECT_EQ(shell_text(text, base::kEnglish), QString::fromStdString(text));
    if (text != kErrorTitle) {
      EXPECT_NE(shell_text(text, base::kSpanish), QString::fromStdString(text)) << text;
    }
  }
  EXPECT_EQ(shell_text(kSaveProjectQuestion, base::kSpanish), QString::fromUtf8("\u00bfEst\u00e1 seguro?"));
  const QString about = shell_text(about_text(), base::kSpanish);
  EXPECT_TRUE(about.startsWith(QString::fromStdString(std::string(console::kProductName) + " " + console::kVersion)));
  EXPECT_TRUE(about.endsWith("escribe la m\u00fasica armonizada como un archivo MIDI.")) << about.toStdString();
  EXPECT_EQ(shell_text("Impossible: cannot copy /a/b", base::kSpanish), "Impossible: cannot copy /a/b");  // names stay as written
}

}  // namespace
}  // namespace zelvo::shell::gui
