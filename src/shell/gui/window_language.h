#pragma once

// Where the window's translations are: the files lrelease makes from
// translations/zelvo_<language>.ts. An installed program finds them in
// <prefix>/share/zelvo/translations, a program in its build folder beside
// itself or in the build folder it was built in (tests run from below it).
#include <QString>
#include <QStringList>

class QTranslator;

namespace zelvo::shell::gui {

// The folders searched for zelvo_<language>.qm, in order.
QStringList translation_folders();

// Loads zelvo_<language>.qm ("es") into `translator`, and Qt's own texts
// (the standard buttons) when the system has them; false when the window's
// file is nowhere.
bool load_window_translation(QTranslator& translator, const QString& language);

// Removes what load_window_translation installed: back to the sources' English.
void remove_window_translation(QTranslator& translator);

}  // namespace zelvo::shell::gui
