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
#include <QToolBar>
#include <QToolButton>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>
#include <fstream>
#include <sstream>

#include "composition/address.h"
#include "composition/any_html.h"
#include "composition/operations.h"
#include "composition/work_file.h"
#include "editor/table_model.h"
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
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

constexpr struct {
  int32_t kind;
  const char* title;
} kAddable[] = {{tables::kKindConfig, "TCONF: the piece"},
                {tables::kKindVariables, "TCAL: variables"},
                {tables::kKindCalculated, "TGENC: calculated generators"},
                {tables::kKindSequence, "TGENS: sequence generators"},
                {tables::kKindOutputs, "TSAL: output channels"},
                {4, "libre: notes"}};

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
  QAction* save_action = bar->addAction("Save");
  save_action->setShortcut(QKeySequence::Save);
  save_action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(save_action, &QAction::triggered, this, [this] { save(); });
  QAction* undo = undo_->createUndoAction(this, "Undo");
  undo->setShortcut(QKeySequence::Undo);
  undo->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  QAction* redo = undo_->createRedoAction(this, "Redo");
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  redo->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  bar->addAction(undo);
  bar->addAction(redo);
  bar->addSeparator();
  connect(bar->addAction("+Row"), &QAction::triggered, this, [this] { insert_row(); });
  connect(bar->addAction("-Row"), &QAction::triggered, this, [this] { delete_row(); });
  auto* add_menu = new QMenu(this);
  for (const auto& entry : kAddable) {
    const int32_t kind = entry.kind;
    connect(add_menu->addAction(entry.title), &QAction::triggered, this, [this, kind] { add_table(kind); });
  }
  QAction* add = bar->addAction("+Table");
  add->setMenu(add_menu);
  if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(add))) button->setPopupMode(QToolButton::InstantPopup);
  connect(bar->addAction("-Table"), &QAction::triggered, this, [this] {
    if (ask("Delete the table shown?")) delete_table();
  });
  bar->addSeparator();
  find_ = new QLineEdit(this);
  find_->setPlaceholderText("find a name");
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
    if (!find(from_qt(find_->text()))) set_status("no generator or variable " + find_->text());
  });
  connect(bar->addAction("Rename"), &QAction::triggered, this, [this] {
    const QString old_name = find_->text();
    bool ok = false;
    const QString new_name = QInputDialog::getText(this, "Rename", "New name for " + old_name + ":",
                                                   QLineEdit::Normal, old_name, &ok);
    if (ok && !rename(from_qt(old_name), from_qt(new_name))) set_status("cannot rename " + old_name + " to " + new_name);
  });
  bar->addSeparator();
  live_ = bar->addAction("Live");
  live_->setCheckable(true);
  live_->setToolTip("compose again after every change and show (and play) the result");
  harmonize_ = bar->addAction("Harmonize");
  harmonize_->setCheckable(true);
  harmonize_->setToolTip("with Live: run the harmonizer after the composer (All)");
  layout->addWidget(bar);
  tabs_ = new QTabWidget(this);
  layout->addWidget(tabs_, 1);
  status_ = new QLabel(this);
  status_->setWordWrap(true);
  layout->addWidget(status_);
  watcher_ = new QFileSystemWatcher(this);
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { file_changed_outside(); });
}

EditorPanel::~EditorPanel() = default;

bool EditorPanel::open(const std::string& path) {
  composition::Document document;
  if (composition::load_composition(path, document) != composition::FileResult::kDone) {
    set_status(QString::fromStdString("cannot read " + path));
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
      set_status(QString::fromStdString(keeps_markup ? "saved " + path_
                                                     : "saved " + path_ + " in the composer's layout: its own formatting was not kept"));
      return true;
    case composition::FileResult::kReadOnly:
      set_status(QString::fromStdString(path_ + " is read-only: not saved"));
      return false;
    default:
      set_status(QString::fromStdString("cannot write " + path_ + ": not saved"));
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
  const QString question = modified() ? "incom.htm was changed by another program. Reload it and lose your edits?"
                                      : "incom.htm was changed by another program. Reload it?";
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
  if (composition::set_cell(after, table, row, column, text) != composition::EditResult::kDone) return false;
  if (composition::write_document(after) == composition::write_document(document_)) return true;
  return push_change(QString("edit cell %1:%2").arg(row).arg(column), after);
}

bool EditorPanel::insert_row() {
  const int32_t table = current_table();
  QTableView* shown = view(table);
  if (shown == nullptr) return false;
  const int32_t row = std::max(1, shown->currentIndex().isValid() ? shown->currentIndex().row() : 1);
  composition::Document after = document_;
  if (composition::insert_row(after, table, row) != composition::EditResult::kDone) return false;
  push_change("insert row", after);
  select_cell(table, row, 0);
  return true;
}

bool EditorPanel::delete_row() {
  const int32_t table = current_table();
  QTableView* shown = view(table);
  if (shown == nullptr || !shown->currentIndex().isValid()) return false;
  composition::Document after = document_;
  if (composition::delete_row(after, table, shown->currentIndex().row()) != composition::EditResult::kDone) return false;
  return push_change("delete row", after);
}

bool EditorPanel::add_table(int32_t kind) {
  composition::Document after = document_;
  int32_t index = 0;
  if (composition::add_table(after, kind, index) != composition::EditResult::kDone) return false;
  push_change("add table", after);
  tabs_->setCurrentIndex(index);
  return true;
}

bool EditorPanel::delete_table() {
  composition::Document after = document_;
  if (composition::delete_table(after, current_table()) != composition::EditResult::kDone) return false;
  return push_change("delete table", after);
}

bool EditorPanel::rename(const std::string& old_name, const std::string& new_name) {
  composition::Document after = document_;
  int32_t changed = 0;
  if (composition::rename_symbol(after, old_name, new_name, changed) != composition::EditResult::kDone) return false;
  push_change(QString::fromStdString("rename " + old_name), after);
  set_status(QString("renamed in %1 cells").arg(changed));
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
QString EditorPanel::status() const { return status_->text(); }

}  // namespace zelvo::editor
