#pragma once

// The composition editor: every table of incom.htm as a grid in a tab,
// with undo and redo of every change, rows and tables inserted and
// deleted, a generator or variable found or renamed, error cells marked,
// Save, and a change made to the file by another program offered for
// reload. What a change does to the music is the Live run's business
// (editor/live_run.h); the panel reports each change through `on_changed`.
#include <QCoreApplication>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "composition/document.h"
#include "composition/error_places.h"

class QAction;
class QFileSystemWatcher;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class QTableView;
class QUndoStack;

namespace zelvo::editor {

class TableModel;

class EditorPanel : public QWidget {
  Q_DECLARE_TR_FUNCTIONS(EditorPanel)

 public:
  explicit EditorPanel(QWidget* parent = nullptr);
  ~EditorPanel() override;

  // Reads the file (the composer's intake first); false when it cannot be
  // read. Forgets the undo history.
  bool open(const std::string& path);
  // Writes the file whole (never half-written); false with a message shown
  // when it cannot be written (a read-only file included).
  bool save();
  const std::string& path() const { return path_; }
  bool modified() const;

  const composition::Document& document() const { return document_; }
  QUndoStack* undo_stack() const { return undo_; }
  QTabWidget* tabs() const { return tabs_; }
  QTableView* view(int32_t table) const;

  // Edits, each one step of the undo history; false when refused.
  bool set_cell(int32_t table, int32_t row, int32_t column, const std::string& text);
  bool insert_row();   // before the current row (after the header)
  bool delete_row();   // the current row
  bool add_table(int32_t kind);
  bool delete_table();  // the current table
  bool rename(const std::string& old_name, const std::string& new_name);

  // Selects the row declaring a generator or variable; false if none does.
  bool find(const std::string& name);
  void select_cell(int32_t table, int32_t row, int32_t column);
  int32_t current_table() const;

  // Marks every cell the messages in `text` (console text, Windows-1252)
  // point at, replacing the marks before; returns how many.
  int mark_errors(const std::string& text);
  const std::vector<composition::ErrorPlace>& errors() const { return errors_; }
  // Selects the cell one console line names; false when it names none.
  bool select_from_message(const std::string& line);

  // Every fixed text and the column help in `language` (base::kEnglish
  // or kSpanish); the texts come from the translation the window loaded.
  void set_language(int language);
  int language() const { return language_; }

  // A line under the grids: the last run's outcome.
  void set_status(const QString& text);
  QString status() const;

  // Called after every change of the document (edit, undo, redo, reload).
  std::function<void()> on_changed;
  // Asks a yes/no question; the default shows a message box.
  std::function<bool(const QString& question)> ask;
  // Live and Harmonize toggles, read by whoever runs the results.
  QAction* live_action() const { return live_; }
  QAction* harmonize_action() const { return harmonize_; }
  // With Live, while playing: where a new result takes over (0 at the next
  // bar line, 1 at the next beat, 2 at once).
  QComboBox* swap_box() const { return swap_; }

  // The file changed on disk: reloads it when the user agrees (always when
  // nothing is edited), else keeps the edits. Called by the file watcher.
  void file_changed_outside();

 private:
  friend class SnapshotCommand;
  void replace_document(const composition::Document& document);
  bool push_change(const QString& title, const composition::Document& after);
  void rebuild_tabs();
  void refresh_models();
  void watch();
  void retranslate();

  composition::Document document_;
  std::string path_;
  std::string saved_bytes_;  // the file as last read or written
  std::vector<composition::ErrorPlace> errors_;
  std::vector<TableModel*> models_;
  QUndoStack* undo_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QLineEdit* find_ = nullptr;
  QLabel* status_ = nullptr;
  QAction* live_ = nullptr;
  QAction* harmonize_ = nullptr;
  QComboBox* swap_ = nullptr;
  QFileSystemWatcher* watcher_ = nullptr;
  // The toolbar's texts, set again by retranslate().
  std::vector<std::pair<QAction*, const char*>> texts_;
  std::vector<std::pair<QAction*, const char*>> tips_;
  QAction* undo_action_ = nullptr;
  QAction* redo_action_ = nullptr;
  QMenu* add_menu_ = nullptr;
  int language_ = 0;
};

}  // namespace zelvo::editor
