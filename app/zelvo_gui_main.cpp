#include <QApplication>
#include <clocale>
#include <csignal>
#include <memory>

#include "shell/application.h"
#include "shell/folders.h"
#include "shell/gui/main_window.h"

// zelvo-gui: the desktop window. The folder it is started from keeps the
// settings files and the documentation.
int main(int argc, char** argv) {
  // A file-size limit must fail the write (and so the job, with its
  // message) rather than kill the program with a half-written file.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication qt(argc, argv);
  // Qt adopts the user's locale; the engines read and print numbers with a
  // decimal point whatever the desktop's language.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("zelvo-gui");
  QApplication::setDesktopFileName("zelvo");
  const std::string start_folder = zelvo::shell::current_directory();
  auto application = std::make_unique<zelvo::shell::Application>();
  zelvo::shell::gui::MainWindow window(*application, start_folder);
  window.start();
  return QApplication::exec();
}
