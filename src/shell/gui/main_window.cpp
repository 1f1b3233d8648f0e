#include "shell/gui/main_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <algorithm>
#include <filesystem>

#include "base/work_files.h"
#include "leadsheet/lead_sheet_file.h"
#include "shell/commands.h"
#include "shell/gui/console_widget.h"
#include "shell/gui/editor_dock.h"
#include "shell/gui/roll_panel.h"
#include "shell/gui/shell_texts.h"
#include "shell/gui/window_language.h"
#include "shell/folders.h"
#include "shell/launchers.h"
#include "shell/shell_messages.h"
#include "files/paths.h"

namespace zelvo::shell::gui {

namespace {

QString to_qt(const std::string& text) { return QString::fromStdString(text); }

// "Folders": a button per folder showing its path; a button chooses it.
class FoldersDialog : public QDialog {
 public:
  FoldersDialog(Shell& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
    setWindowTitle(QCoreApplication::translate("FoldersDialog", "Folders"));
    setObjectName("FoldersDialog");
    auto* grid = new QGridLayout(this);
    const struct {
      const char* label;
      int control;
    } rows[] = {{QT_TRANSLATE_NOOP("FoldersDialog", "Template:"), kControlTemplate},
                {QT_TRANSLATE_NOOP("FoldersDialog", "Work:"), kControlWork},
                {QT_TRANSLATE_NOOP("FoldersDialog", "Project:"), kControlProject}};
    int row = 0;
    for (const auto& entry : rows) {
      grid->addWidget(new QLabel(QCoreApplication::translate("FoldersDialog", entry.label), this), row, 0);
      auto* button = new QPushButton(this);
      button->setObjectName(QString("folder%1").arg(entry.control));
      button->setMinimumWidth(360);
      const int control = entry.control;
      connect(button, &QPushButton::clicked, this, [this, control] {
        shell_.choose_dialog_folder(control);
        fill();
      });
      grid->addWidget(button, row, 1);
      buttons_[control] = button;
      ++row;
    }
    auto* exit = new QPushButton(QCoreApplication::translate("FoldersDialog", "Exit"), this);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(exit, row, 1, Qt::AlignRight);
    fill();
    shell_.refresh_folder_items();
  }

 private:
  void fill() {
    for (const auto& [control, button] : buttons_) button->setText(to_qt(shell_.dialog_button_text(control)));
  }

  Shell& shell_;
  std::map<int, QPushButton*> buttons_;
};

// The folder the jobs run in: the chosen work folder, else the current
// directory.
std::string work_directory(const Application& application) {
  const std::string folder = application.work_folder();
  return folder.empty() ? current_directory() : folder;
}

}  // namespace

// The questions and warnings carry folder names, which are shown as they
// are: never read as markup.
QString QtDesktop::shown(const std::string& text) const {
  return shell_text(text, language_ ? language_() : base::kEnglish);
}

bool QtDesktop::ask_yes_no(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Question, shown(title), shown(text), QMessageBox::Yes | QMessageBox::No,
                  owner_);
  box.setTextFormat(Qt::PlainText);
  return box.exec() == QMessageBox::Yes;
}

UnsavedChoice QtDesktop::ask_unsaved(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Warning, to_qt(title), to_qt(text),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner_);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Save: return UnsavedChoice::kSave;
    case QMessageBox::Discard: return UnsavedChoice::kDiscard;
    default: return UnsavedChoice::kCancel;  // Cancel, Escape, the title bar's close
  }
}

void QtDesktop::show_message(const std::string& title, const std::string& text) {
  if (title == kErrorTitle) {
    QMessageBox box(QMessageBox::Warning, shown(title), shown(text), QMessageBox::Ok, owner_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
  } else {
    QMessageBox::about(owner_, shown(title), shown(text));
  }
}

bool QtDesktop::choose_folder(std::string& folder, const std::string& title) {
  const QString chosen = QFileDialog::getExistingDirectory(owner_, shown(title), to_qt(folder));
  if (chosen.isEmpty()) return false;
  folder = chosen.toStdString();
  return true;
}

// Every action word becomes "open with the desktop's program for it": a
// text file's editor, a folder's file manager, a document's viewer. A
// target that does not exist fails, as the desktop would report.
bool QtDesktop::shell_request(ShellAction, const std::string& target, const std::string& working_folder) {
  const std::optional<std::string> path = resolve_shell_target(target, working_folder);
  if (!path) return false;
  if (is_midi_file(*path) && !desktop_plays_midi()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(to_qt(*path)));
}

MainWindow::MainWindow(Application& application, std::string start_folder, console::JobRunner* runner,
                       Platform* desktop)
    : application_(application),
      runner_(runner != nullptr ? *runner : application.runner()),
      own_desktop_(desktop == nullptr ? std::make_unique<QtDesktop>(this, [this] { return application_.console().language(); }) : nullptr),
      desktop_(desktop != nullptr ? *desktop : *own_desktop_),
      shell_(application, *this, std::move(start_folder), &runner_) {
  shell_.load_settings_file();
  apply_language();
  setWindowTitle(kWindowTitle);
  setWindowIcon(QIcon(make_icon(64)));
  const WindowSettings& settings = shell_.settings();
  resize(settings.width, settings.height);
  if (settings.left != kSystemPosition && settings.top != kSystemPosition) move(settings.left, settings.top);

  console_view_ = new ConsoleWidget(application_.console_store(), application_.job_control(), this);
  setCentralWidget(console_view_);
  build_menu();
  roll_panel_ = add_roll_panel(*this);
  application_.console_store().set_view(console_view_);
  application_.set_result_opener([this](const char* file_name) {
    // Called on the job thread; the desktop is asked from the window's.
    const std::string name = file_name;
    // Where the desktop has no program for MIDI files the window plays it.
    const std::string path = files::join_path(work_directory(application_), name);
    QMetaObject::invokeMethod(
        this, [this, name, path] { if (!shell_.open_result(name.c_str())) roll_panel_->play_file(path); },
        Qt::QueuedConnection);
  });
  auto* unit_timer = new QTimer(this);
  connect(unit_timer, &QTimer::timeout, this, [this] { show_long_unit(); });
  unit_timer->start(500);
}

void MainWindow::chords_from_lead_sheet() {
  if (application_.job_control().job_running()) return;
  const bool spanish = application_.console().language() == base::kSpanish;
  const QString score = QFileDialog::getOpenFileName(this, tr("Lead sheet"), to_qt(work_directory(application_)),
                                                     "MusicXML (*.xml *.musicxml *.mxl)");
  if (score.isEmpty()) return;
  const std::string output = files::join_path(work_directory(application_), base::kHarmonyFile);
  const std::string title = tr("Chords").toStdString();
  if (std::filesystem::exists(output) &&
      !desktop_.ask_yes_no(title, tr("Replace inarm.xml in the work folder?").toStdString())) {
    return;
  }
  int first_part = 0;
  leadsheet::HarmonyPartsFrom from = leadsheet::HarmonyPartsFrom::kGiven;
  const base::Status written = leadsheet::write_lead_sheet_harmony(score.toStdString(), output, first_part, &from);
  if (written.ok()) {
    desktop_.show_message(title, leadsheet::harmony_parts_note(base::kHarmonyFile, first_part, from, spanish));
  } else {
    desktop_.show_message(title, base::render(written.error(), base::kEnglish));
  }
}

// The status bar exists only while it has something to say, so the console
// keeps the whole window otherwise.
void MainWindow::show_long_unit() {
  LongUnit unit;
  if (application_.unit_watch().long_unit(std::chrono::steady_clock::now(), unit)) {
    statusBar()->showMessage(to_qt(long_unit_text(unit, application_.console().language())));
    statusBar()->show();
    unit_shown_ = true;
  } else if (unit_shown_) {
    statusBar()->clearMessage();
    statusBar()->hide();
    unit_shown_ = false;
  }
}

MainWindow::~MainWindow() {
  save_and_stop_job();
  application_.set_result_opener(nullptr);
  application_.console_store().set_view(nullptr);
}

void MainWindow::start() {
  shell_.load_folders_file();
  // Only without a settings file: a size the user left is kept as it is.
  if (shell_.settings().left == kSystemPosition) fit_default_size();
  show();
  clear_console(application_.console());
}

QAction* MainWindow::translated(QAction* action, const char* source) {
  sources_.emplace_back(action, source);
  action->setText(tr(source));
  return action;
}

void MainWindow::apply_language() {
  const bool spanish = application_.console().language() == base::kSpanish;
  if (spanish == spanish_shown_) return;
  if (translator_ == nullptr) translator_ = std::make_unique<QTranslator>();
  if (spanish) {
    if (!load_window_translation(*translator_, "es")) return;
    QCoreApplication::installTranslator(translator_.get());
  } else {
    remove_window_translation(*translator_);
  }
  spanish_shown_ = spanish;
  retranslate();
}

void MainWindow::retranslate() {
  for (const auto& [action, source] : sources_) action->setText(tr(source));
  for (const auto& [command, text] : std::map<int, std::string>(folder_items_)) set_menu_item_text(command, text);
  if (roll_panel_ != nullptr) roll_panel_->retranslate();
  if (editor_dock_ != nullptr) editor_dock_->retranslate(application_.console().language());
}

QAction* MainWindow::add_command(QMenu* menu, const char* text, int command) {
  QAction* action = menu != nullptr ? menu->addAction(QString()) : menuBar()->addAction(QString());
  if (command == kCommandWorkFolder || command == kCommandProjectFolder) {
    action->setText(QString::fromUtf8(text));  // the shell names the folders
  } else {
    translated(action, text);
  }
  action->setData(command);
  connect(action, &QAction::triggered, this, [this, command] { on_command(command); });
  actions_[command] = action;
  return action;
}

QAction* MainWindow::add_bar_command(const char* text, int command) {
  return add_command(nullptr, text, command);
}

void MainWindow::build_menu() {
  QMenuBar* bar = menuBar();
  QMenu* project = bar->addMenu(QString());
  translated(project->menuAction(), QT_TR_NOOP("&Project"));
  add_command(project, QT_TR_NOOP("&New"), kCommandNew);
  add_command(project, QT_TR_NOOP("&Open"), kCommandOpen);
  add_command(project, QT_TR_NOOP("&Save"), kCommandSave);
  project->addSeparator();
  add_command(project, QT_TR_NOOP("&Exit"), kCommandExit);

  QMenu* options = bar->addMenu(QString());
  translated(options->menuAction(), QT_TR_NOOP("&Options"));
  add_command(options, QT_TR_NOOP("&Edit Information"), kCommandEditInformation);
  add_command(options, QT_TR_NOOP("&Edit Harm. Options"), kCommandEditHarmOptions);
  connect(translated(options->addAction(QString()), QT_TR_NOOP("Edit &Composition")), &QAction::triggered, this,
          [this] { editor_dock()->show_editor(); });
  add_command(options, QT_TR_NOOP("&Check"), kCommandCheck);
  add_command(options, QT_TR_NOOP("&Folders"), kCommandFolders);
  add_command(options, QT_TR_NOOP("&Open Midifile"), kCommandOpenMidifile)->setCheckable(true);
  // Jobs also write their results as MusicXML (outco.musicxml, outar.musicxml).
  QAction* notation = translated(options->addAction(QString()), QT_TR_NOOP("Write &Notation (MusicXML)"));
  notation->setCheckable(true);
  notation->setChecked(application_.write_notation());
  connect(notation, &QAction::toggled, this, [this](bool on) { application_.set_write_notation(on); });
  // Where those files place their notes, as --grid chooses on the command line.
  QMenu* grid = options->addMenu(QString());
  translated(grid->menuAction(), QT_TR_NOOP("Notation &Grid"));
  auto* grids = new QActionGroup(grid);
  const std::pair<const char*, notation::Grid> kGrids[] = {
      {QT_TR_NOOP("&Chosen from the Music"), notation::Grid::kChosen},
      {QT_TR_NOOP("&Sixteenths"), notation::Grid::kSixteenth},
      {QT_TR_NOOP("Eighth &Triplets"), notation::Grid::kEighthTriplet},
      {QT_TR_NOOP("T&hirty-seconds"), notation::Grid::kThirtySecond},
      {QT_TR_NOOP("&Exact"), notation::Grid::kExact}};
  for (const auto& [text, value] : kGrids) {
    QAction* item = translated(grid->addAction(QString()), text);
    item->setCheckable(true);
    item->setChecked(application_.notation_grid() == value);
    grids->addAction(item);
    connect(item, &QAction::triggered, this, [this, value = value] { application_.set_notation_grid(value); });
  }
  QAction* chords = translated(options->addAction(QString()), QT_TR_NOOP("C&hords from Lead Sheet..."));
  connect(chords, &QAction::triggered, this, [this] { chords_from_lead_sheet(); });
  QMenu* language = options->addMenu(QString());
  translated(language->menuAction(), QT_TR_NOOP("&Language"));
  // Each language is named in its own words, whichever is shown.
  add_command(language, "&English", kCommandEnglish)->setCheckable(true);
  add_command(language, "&Espa\xC3\xB1ol", kCommandSpanish)->setCheckable(true);

  for (QMenu* menu : {options, language}) connect(menu, &QMenu::aboutToShow, this, [this] { refresh_checks(); });

  add_bar_command(QT_TR_NOOP("&Composer"), kCommandComposer);
  add_bar_command(QT_TR_NOOP("&Harmonizer"), kCommandHarmonizer);
  add_bar_command(QT_TR_NOOP("&All"), kCommandAll);
  add_bar_command(QT_TR_NOOP("&Stop"), kCommandStop);
  add_bar_command(QT_TR_NOOP("&Erase"), kCommandErase);
  QMenu* help = bar->addMenu(QString());
  translated(help->menuAction(), QT_TR_NOOP("&Help"));
  add_command(help, QT_TR_NOOP("&Documentation"), kCommandDocumentation);
  add_command(help, QT_TR_NOOP("&About Zelvo"), kCommandAbout);
  add_bar_command("&WFolder: (Empty)", kCommandWorkFolder);
  add_bar_command("&Project: (Empty)", kCommandProjectFolder);
  refresh_checks();
}

// Without a settings file the window opens wide enough for the whole menu
// bar, folder names included, at the desktop's font size (a narrower bar
// hides its last items behind an extension button), and for the roll's
// status line as it reads while the work folder's result plays from a
// chosen bar, within the screen.
void MainWindow::fit_default_size() {
  QSize wanted(width(), height());
  const std::string status =
      base::work_path(work_directory(application_), base::kHarmonyMidi) + ": Play starts at bar 100";
  wanted.setWidth(std::max({wanted.width(), menuBar()->sizeHint().width() + 24,
                            roll_panel_->width_to_show(to_qt(status)) + 24}));
  wanted.setHeight(std::max(wanted.height(), wanted.width() * 3 / 4));
  if (const QScreen* screen = this->screen()) {
    wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
  }
  resize(wanted);
}

QAction* MainWindow::action(int command) const {
  const auto found = actions_.find(command);
  return found == actions_.end() ? nullptr : found->second;
}

void MainWindow::on_command(int command) {
  const bool job_was_running = application_.job_control().job_running();
  shell_.execute(command);
  apply_language();
  refresh_checks();
  if (!job_was_running) show_result_after_job(command);
}

void MainWindow::show_result_after_job(int command) {
  const char* result = command == kCommandComposer                                  ? base::kCompositionMidi
                       : command == kCommandHarmonizer || command == kCommandAll ? base::kHarmonyMidi
                                                                                 : nullptr;
  if (result == nullptr || !application_.job_control().job_running()) return;
  roll_panel_->show_after_job([this] { return application_.job_control().job_running(); },
                              [this] { return runner_.last_outcome() == console::JobOutcome::kFinished; },
                              files::join_path(work_directory(application_), result));
}

void MainWindow::refresh_checks() {
  for (int command : {kCommandOpenMidifile, kCommandEnglish, kCommandSpanish}) {
    if (QAction* item = action(command)) item->setChecked(shell_.is_checked(command));
  }
}

bool MainWindow::ask_yes_no(const std::string& title, const std::string& text) {
  return desktop_.ask_yes_no(title, text);
}
UnsavedChoice MainWindow::ask_unsaved(const std::string& title, const std::string& text) {
  return desktop_.ask_unsaved(title, text);
}
void MainWindow::show_message(const std::string& title, const std::string& text) {
  desktop_.show_message(title, text);
}
bool MainWindow::choose_folder(std::string& folder, const std::string& title) {
  return desktop_.choose_folder(folder, title);
}
bool MainWindow::shell_request(ShellAction action, const std::string& target,
                               const std::string& working_folder) {
  return desktop_.shell_request(action, target, working_folder);
}

// The shell names the folder items with the labels below; the window shows
// them in its language.
void MainWindow::set_menu_item_text(int command, const std::string& text) {
  folder_items_[command] = text;
  QString shown = to_qt(text);
  for (const char* label : {QT_TR_NOOP("&WFolder: "), QT_TR_NOOP("&PFolder: "), QT_TR_NOOP("(Empty)")}) {
    if (shown.startsWith(label) || shown.endsWith(label)) shown.replace(label, tr(label));
  }
  if (QAction* item = action(command)) item->setText(shown);
}

void MainWindow::show_folders_dialog() {
  FoldersDialog dialog(shell_, this);
  dialog.exec();
}

void MainWindow::end_program() { close(); }

void MainWindow::save_and_stop_job() {
  if (saved_) return;
  saved_ = true;
  shell_.save_on_exit(pos().x(), pos().y(), width(), height());
  // A job still running is asked to stop and waited for, so no job thread
  // outlives the window it paints into.
  application_.job_control().request_stop();
  runner_.wait();
}

EditorDock* MainWindow::editor_dock() {
  if (editor_dock_ == nullptr) {
    editor_dock_ = new EditorDock(*this, *roll_panel_, *console_view_, application_.console());
    editor_dock_->work_folder = [this] { return work_directory(application_); };
  }
  return editor_dock_;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Cancel, or a save that failed, keeps the window and the edits.
  if (editor_dock_ != nullptr && !saved_ && !editor_dock_->ask_on_close(desktop_)) {
    event->ignore();
    return;
  }
  save_and_stop_job();
  event->accept();
}

}  // namespace zelvo::shell::gui
