#include "editor/editor_panel.h"

#include <QAction>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTabWidget>
#include <QTableView>
#include <QComboBox>
#include <QToolBar>
#include <QToolButton>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

#include "composition/address.h"
#include "composition/any_html.h"
#include "composition/operations.h"
#include "composition/work_file.h"
#include "editor/table_model.h"
#include "files/whole_file.h"
#include "tables/composition.h"

namespace zelvo::editor {

// One change: the document before and after it, so undo gives back the
// very bytes the file had.
class SnapshotCommand : public QUndoCommand {
 public:
  SnapshotCommand(EditorPanel& panel, const QString& title, composition::Document before,
                  composition::Document after)
      : QUndoCommand(title), panel_(panel), before_(std::move(before)), after_(std::move(after)) {}
  void redo() override { panel_.replace_document(after_); }
  void undo() override { panel_.replace_document(before_); }

 private:
  EditorPanel& panel_;
  composition::Document before_;
  composition::Document after_;
};

namespace {

std::string read_bytes(const std::string& path) {
  std::string bytes;
  files::read_whole(path, bytes);  // a file that cannot be read differs from any document
  return bytes;
}

constexpr struct {
  int32_t kind;
  const char* title;
} kAddable[] = {{tables::kKindConfig, QT_TRANSLATE_NOOP("EditorPanel", "TCONF: the piece")},
                {tables::kKindVariables, QT_TRANSLATE_NOOP("EditorPanel", "TCAL: variables")},
                {tables::kKindCalculated, QT_TRANSLATE_NOOP("EditorPanel", "TGENC: calculated generators")},
                {tables::kKindSequence, QT_TRANSLATE_NOOP("EditorPanel", "TGENS: sequence generators")},
                {tables::kKindOutputs, QT_TRANSLATE_NOOP("EditorPanel", "TSAL: output channels")},
                {4, QT_TRANSLATE_NOOP("EditorPanel", "libre: notes")}};

}  // namespace

EditorPanel::EditorPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("EditorPanel");
  undo_ = new QUndoStack(this);
  ask = [this](const QString& question) {
    return QMessageBox::question(this, "Zelvo", question) == QMessageBox::Yes;
  };
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* bar = new QToolBar(this);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  const auto named = [this](QAction* action, const char* text) {
    texts_.emplace_back(action, text);
    return action;
  };
  QAction* save_action = named(bar->addAction(QString()), QT_TR_NOOP("Save"));
  save_action->setShortcut(QKeySequence::Save);
  save_action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(save_action, &QAction::triggered, this, [this] { save(); });
  // Undo and Redo name the change they take back, in the window's language.
  undo_action_ = bar->addAction(QString());
  undo_action_->setShortcut(QKeySequence::Undo);
  undo_action_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(undo_action_, &QAction::triggered, undo_, &QUndoStack::undo);
  redo_action_ = bar->addAction(QString());
  redo_action_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  redo_action_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(redo_action_, &QAction::triggered, undo_, &QUndoStack::redo);
  connect(undo_, &QUndoStack::indexChanged, this, [this] { retranslate(); });
  connect(undo_, &QUndoStack::cleanChanged, this, [this] { retranslate(); });
  QAction* undo = undo_action_;
  QAction* redo = redo_action_;
  bar->addSeparator();
  connect(named(bar->addAction(QString()), QT_TR_NOOP("+Row")), &QAction::triggered, this, [this] { insert_row(); });
  connect(named(bar->addAction(QString()), QT_TR_NOOP("-Row")), &QAction::triggered, this, [this] { delete_row(); });
  add_menu_ = new QMenu(this);
  for (const auto& entry : kAddable) {
    const int32_t kind = entry.kind;
    connect(named(add_menu_->addAction(QString()), entry.title), &QAction::triggered, this,
            [this, kind] { add_table(kind); });
  }
  QAction* add = named(bar->addAction(QString()), QT_TR_NOOP("+Table"));
  add->setMenu(add_menu_);
  if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(add))) button->setPopupMode(QToolButton::InstantPopup);
  connect(named(bar->addAction(QString()), QT_TR_NOOP("-Table")), &QAction::triggered, this, [this] {
    if (ask(tr("Delete the table shown?"))) delete_table();
  });
  bar->addSeparator();
  find_ = new QLineEdit(this);
  find_->setMaximumWidth(130);
  bar->addWidget(find_);
  auto* find_action = new QAction("Find", this);
  find_action->setShortcut(QKeySequence::Find);
  find_action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(find_action, &QAction::triggered, this, [this] {
    find_->setFocus(Qt::ShortcutFocusReason);
    find_->selectAll();
  });
  // A shortcut of this context works where the focus is inside a widget
  // the action belongs to: the panel, so in the grids as on the toolbar.
  addActions({save_action, undo, redo, find_action});
  connect(find_, &QLineEdit::returnPressed, this, [this] {
    if (!find(from_qt(find_->text()))) set_status(tr("no generator or variable %1").arg(find_->text()));
  });
  connect(named(bar->addAction(QString()), QT_TR_NOOP("Rename")), &QAction::triggered, this, [this] {
    const QString old_name = find_->text();
    bool ok = false;
    const QString new_name = QInputDialog::getText(this, tr("Rename"), tr("New name for %1:").arg(old_name),
                                                   QLineEdit::Normal, old_name, &ok);
    if (ok) rename(from_qt(old_name), from_qt(new_name));
  });
  bar->addSeparator();
  live_ = named(bar->addAction(QString()), QT_TR_NOOP("Live"));
  live_->setCheckable(true);
  tips_.emplace_back(live_, QT_TR_NOOP("compose again after every change and show (and play) the result"));
  harmonize_ = named(bar->addAction(QString()), QT_TR_NOOP("Harmonize"));
  harmonize_->setCheckable(true);
  tips_.emplace_back(harmonize_, QT_TR_NOOP("with Live: run the harmonizer after the composer (All)"));
  swap_ = new QComboBox(this);
  swap_->addItems({QString(), QString(), QString()});
  bar->addWidget(swap_);
  retranslate();
  layout->addWidget(bar);
  tabs_ = new QTabWidget(this);
  layout->addWidget(tabs_, 1);
  status_ = new QLabel(this);
  status_->setWordWrap(true);
  layout->addWidget(status_);
  watcher_ = new QFileSystemWatcher(this);
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { file_changed_outside(); });
}

// The undo stack empties itself as it goes and must not relabel actions
// already gone.
EditorPanel::~EditorPanel() { QObject::disconnect(undo_, nullptr, this, nullptr); }

bool EditorPanel::open(const std::string& path) {
  composition::Document document;
  if (composition::load_composition(path, document) != composition::FileResult::kDone) {
    set_status(tr("cannot read %1").arg(QString::fromStdString(path)));
    return false;
  }
  path_ = path;
  saved_bytes_ = read_bytes(path);
  undo_->clear();
  errors_.clear();
  document_ = std::move(document);
  rebuild_tabs();
  undo_->setClean();
  watch();
  set_status(QString::fromStdString(path));
  if (on_changed) on_changed();
  return true;
}

bool EditorPanel::save() {
  if (path_.empty()) return false;
  // Rows or tables added or removed in a file another HTML editor wrote
  // cannot go back into its markup: it is then saved in the composer's
  // layout, and the status says so.
  std::string in_place;
  const bool keeps_markup = composition::write_in_place(document_, in_place);
  switch (composition::save_composition(path_, document_)) {
    case composition::FileResult::kDone:
      saved_bytes_ = composition::write_document(document_);
      undo_->setClean();
      watch();
      set_status((keeps_markup ? tr("saved %1") : tr("saved %1 in the composer's layout: its own formatting was not kept"))
                     .arg(QString::fromStdString(path_)));
      return true;
    case composition::FileResult::kReadOnly:
      set_status(tr("%1 is read-only: not saved").arg(QString::fromStdString(path_)));
      return false;
    default:
      set_status(tr("cannot write %1: not saved").arg(QString::fromStdString(path_)));
      return false;
  }
}

bool EditorPanel::modified() const { return !undo_->isClean(); }

QTableView* EditorPanel::view(int32_t table) const {
  return qobject_cast<QTableView*>(tabs_->widget(table));
}

int32_t EditorPanel::current_table() const { return tabs_->currentIndex(); }

void EditorPanel::watch() {
  if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
  if (!path_.empty()) watcher_->addPath(QString::fromStdString(path_));
}

void EditorPanel::file_changed_outside() {
  watch();  // an editor that replaces the file ends the watch
  const std::string bytes = read_bytes(path_);
  if (bytes == saved_bytes_ || bytes.empty()) return;
  const QString question = modified() ? tr("incom.htm was changed by another program. Reload it and lose your edits?")
                                      : tr("incom.htm was changed by another program. Reload it?");
  if (ask(question)) {
    open(path_);
  } else {
    saved_bytes_ = bytes;  // asked once per outside change
  }
}

void EditorPanel::replace_document(const composition::Document& document) {
  const bool same_shape = document.tables.size() == document_.tables.size();
  document_ = document;
  if (same_shape) {
    refresh_models();
  } else {
    rebuild_tabs();
  }
  if (on_changed) on_changed();
}

bool EditorPanel::push_change(const QString& title, const composition::Document& after) {
  undo_->push(new SnapshotCommand(*this, title, document_, after));
  return true;
}

void EditorPanel::rebuild_tabs() {
  const int current = tabs_->currentIndex();
  while (tabs_->count() > 0) {
    QWidget* page = tabs_->widget(0);
    tabs_->removeTab(0);
    delete page;
  }
  models_.clear();
  for (int32_t t = 0; t < static_cast<int32_t>(document_.tables.size()); ++t) {
    auto* view = new QTableView(tabs_);
    auto* model = new TableModel(document_, errors_, t,
                                 [this](int32_t table, int32_t row, int32_t column, const std::string& text) {
                                   return set_cell(table, row, column, text);
                                 },
                                 view);
    model->set_language(language_);
    view->setModel(model);
    view->setObjectName(QString("table%1").arg(t));
    view->resizeColumnsToContents();
    view->horizontalHeader()->setMaximumSectionSize(320);
    models_.push_back(model);
    tabs_->addTab(view, to_qt(composition::table_label(document_, t)));
  }
  if (current >= 0 && current < tabs_->count()) tabs_->setCurrentIndex(current);
}

void EditorPanel::refresh_models() {
  for (TableModel* model : models_) model->refresh();
  for (int32_t t = 0; t < static_cast<int32_t>(models_.size()); ++t) {
    tabs_->setTabText(t, to_qt(composition::table_label(document_, t)));
  }
}

bool EditorPanel::set_cell(int32_t table, int32_t row, int32_t column, const std::string& text) {
  composition::Document after = document_;
  if (!composition::set_cell(after, table, row, column, text).ok()) return false;
  if (composition::write_document(after) == composition::write_document(document_)) return true;
  return push_change(tr("edit cell %1:%2").arg(row).arg(column), after);
}

bool EditorPanel::insert_row() {
  const int32_t table = current_table();
  QTableView* shown = view(table);
  if (shown == nullptr) return false;
  const int32_t row = std::max(1, shown->currentIndex().isValid() ? shown->currentIndex().row() : 1);
  composition::Document after = document_;
  if (!composition::insert_row(after, table, row).ok()) return false;
  push_change(tr("insert row"), after);
  select_cell(table, row, 0);
  return true;
}

bool EditorPanel::delete_row() {
  const int32_t table = current_table();
  QTableView* shown = view(table);
  if (shown == nullptr || !shown->currentIndex().isValid()) return false;
  composition::Document after = document_;
  if (!composition::delete_row(after, table, shown->currentIndex().row()).ok()) return false;
  return push_change(tr("delete row"), after);
}

bool EditorPanel::add_table(int32_t kind) {
  composition::Document after = document_;
  int32_t index = 0;
  if (!composition::add_table(after, kind, index).ok()) return false;
  push_change(tr("add table"), after);
  tabs_->setCurrentIndex(index);
  return true;
}

bool EditorPanel::delete_table() {
  composition::Document after = document_;
  if (!composition::delete_table(after, current_table()).ok()) return false;
  return push_change(tr("delete table"), after);
}

bool EditorPanel::rename(const std::string& old_name, const std::string& new_name) {
  composition::Document after = document_;
  int32_t changed = 0;
  if (const base::Status renamed = composition::rename_symbol(after, old_name, new_name, changed); !renamed.ok()) {
    set_status(tr("cannot rename %1 to %2: %3")
                   .arg(to_qt(old_name), to_qt(new_name), to_qt(base::render(renamed.error(), language_))));
    return false;
  }
  push_change(tr("rename %1").arg(QString::fromStdString(old_name)), after);
  set_status(tr("renamed in %1 cells").arg(changed));
  return true;
}

bool EditorPanel::find(const std::string& name) {
  int32_t table = 0;
  int32_t row = 0;
  if (!composition::find_symbol(document_, name, table, row)) return false;
  select_cell(table, row, 0);
  return true;
}

void EditorPanel::select_cell(int32_t table, int32_t row, int32_t column) {
  QTableView* shown = view(table);
  if (shown == nullptr) return;
  tabs_->setCurrentIndex(table);
  const QModelIndex index = shown->model()->index(row, std::max(0, column));
  shown->setCurrentIndex(index);
  shown->scrollTo(index);
  shown->setFocus();
}

int EditorPanel::mark_errors(const std::string& text) {
  errors_ = composition::error_places(document_, text);
  refresh_models();
  if (!errors_.empty()) set_status(to_qt(errors_.front().message));
  return static_cast<int>(errors_.size());
}

bool EditorPanel::select_from_message(const std::string& line) {
  composition::ErrorPlace place;
  if (!composition::error_place_in_line(document_, line, place)) return false;
  select_cell(place.table, place.row, place.column);
  return true;
}

void EditorPanel::set_status(const QString& text) { status_->setText(text); }

void EditorPanel::set_language(int language) {
  language_ = language;
  for (TableModel* model : models_) model->set_language(language);
  retranslate();
}

void EditorPanel::retranslate() {
  for (const auto& [action, text] : texts_) action->setText(tr(text));
  for (const auto& [action, text] : tips_) action->setToolTip(tr(text));
  find_->setPlaceholderText(tr("find a name"));
  // The swap point's choices, in the order of player::SwapPoint.
  swap_->setItemText(0, tr("at bar line"));
  swap_->setItemText(1, tr("at beat"));
  swap_->setItemText(2, tr("at once"));
  swap_->setToolTip(tr("with Live, while playing: where the new result takes over the music"));
  const QString undone = undo_->undoText();
  const QString redone = undo_->redoText();
  undo_action_->setText(undone.isEmpty() ? tr("Undo") : tr("Undo %1").arg(undone));
  undo_action_->setEnabled(undo_->canUndo());
  redo_action_->setText(redone.isEmpty() ? tr("Redo") : tr("Redo %1").arg(redone));
  redo_action_->setEnabled(undo_->canRedo());
}
QString EditorPanel::status() const { return status_->text(); }

}  // namespace zelvo::editor
