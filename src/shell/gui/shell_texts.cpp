#include "shell/gui/shell_texts.h"

#include <QCoreApplication>

#include "shell/shell_messages.h"

namespace zelvo::shell::gui {

namespace {

// The shell's fixed titles and messages, as shell/shell_messages.h and the
// folder chooser word them (a test holds the two together).
constexpr const char* kShellTexts[] = {
    QT_TRANSLATE_NOOP("ShellMessages", "Error"),
    QT_TRANSLATE_NOOP("ShellMessages", "Impossible: There is no Work Folder.\nSelect anyone in Options --> Folders."),
    QT_TRANSLATE_NOOP("ShellMessages", "Impossible: Missing Folder (Work or Project)"),
    QT_TRANSLATE_NOOP("ShellMessages", "Impossible: The Work Folder and the Template Folder are the same."),
    QT_TRANSLATE_NOOP("ShellMessages", "Impossible: The Work Folder and the Project Folder are the same."),
    QT_TRANSLATE_NOOP("ShellMessages", "New Work"),
    QT_TRANSLATE_NOOP("ShellMessages", "Load New Work?\nEvery file of the work folder will be deleted first."),
    QT_TRANSLATE_NOOP("ShellMessages", "Save Project"),
    QT_TRANSLATE_NOOP("ShellMessages", "Are you sure?"),
    QT_TRANSLATE_NOOP("ShellMessages", "Load Project"),
    QT_TRANSLATE_NOOP("ShellMessages", "About Zelvo"),
    QT_TRANSLATE_NOOP("ShellMessages",
                      "A tool for algorithmic music.\n\n"
                      "The composer turns a composition written as HTML tables into a MIDI file; "
                      "the harmonizer gives every note of a piece a pitch and a tone type over its "
                      "chords and writes the harmonized music as a MIDI file."),
    QT_TRANSLATE_NOOP("ShellMessages", "Select Template Folder"),
    QT_TRANSLATE_NOOP("ShellMessages", "Select Work Folder"),
    QT_TRANSLATE_NOOP("ShellMessages", "Select Project Folder"),
    QT_TRANSLATE_NOOP("ShellMessages", "Select Proyect Folder"),
};

}  // namespace

QString shell_text(const std::string& text) {
  QString shown = QString::fromStdString(text);
  for (const char* source : kShellTexts) {
    if (shown == source) return QCoreApplication::translate("ShellMessages", source);
    // The about box's body follows the program's name and version.
    if (shown.endsWith(QString("\n\n") + source)) {
      return shown.chopped(static_cast<qsizetype>(std::string(source).size())) +
             QCoreApplication::translate("ShellMessages", source);
    }
  }
  return shown;
}

}  // namespace zelvo::shell::gui
