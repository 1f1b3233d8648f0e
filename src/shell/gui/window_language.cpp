#include "shell/gui/window_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include "shell/install_paths.h"

#ifndef ZELVO_BUILT_TRANSLATIONS_DIR
#define ZELVO_BUILT_TRANSLATIONS_DIR ""
#endif

namespace zelvo::shell::gui {

QStringList translation_folders() {
  QStringList folders;
  const std::string data = data_folder_beside(program_folder());
  if (!data.empty()) folders << QString::fromStdString(data) + "/translations";
  folders << QCoreApplication::applicationDirPath() + "/translations";
  const QString built = QString::fromUtf8(ZELVO_BUILT_TRANSLATIONS_DIR);
  if (!built.isEmpty()) folders << built;
  return folders;
}

bool load_window_translation(QTranslator& translator, const QString& language) {
  for (const QString& folder : translation_folders()) {
    if (!translator.load("zelvo_" + language, folder)) continue;
    // Qt's own words (Yes, No, Cancel) come from Qt's translations, when
    // the system has them; a child of the window's translator goes with it.
    auto* qt = new QTranslator(&translator);
    if (qt->load("qtbase_" + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QCoreApplication::installTranslator(qt);
    } else {
      delete qt;
    }
    return true;
  }
  return false;
}

void remove_window_translation(QTranslator& translator) {
  for (QTranslator* qt : translator.findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(qt);
    delete qt;
  }
  QCoreApplication::removeTranslator(&translator);
}

}  // namespace zelvo::shell::gui
