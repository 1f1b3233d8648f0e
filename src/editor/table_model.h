#pragma once

// One table of the composition as a Qt model: every row of the file's
// table (row 0 is the header row) with the cells' texts, the columns titled
// by number and header text with the manual's help as tooltip, and the cells
// an error message points at painted and carrying the message.
#include <QAbstractTableModel>
#include <functional>

#include "composition/document.h"
#include "composition/error_places.h"

namespace zelvo::editor {

class TableModel : public QAbstractTableModel {
 public:
  using CellEdit = std::function<bool(int32_t table, int32_t row, int32_t column, const std::string& text)>;

  // The document and the error list live in the panel; `edit` applies a
  // change through its undo stack.
  TableModel(const composition::Document& document, const std::vector<composition::ErrorPlace>& errors,
             int32_t table, CellEdit edit, QObject* parent);

  int32_t table() const { return table_; }
  // The column help's language (base::kEnglish or kSpanish).
  void set_language(int language);
  // After the document changed: the cells again, and the shape if it moved.
  void refresh();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The error message at a cell (a row-wide message counts for each cell).
  const composition::ErrorPlace* error_at(int row, int column) const;

 private:
  const composition::Table& shown() const { return document_.tables[table_]; }

  const composition::Document& document_;
  const std::vector<composition::ErrorPlace>& errors_;
  int32_t table_;
  CellEdit edit_;
  int rows_ = 0;
  int columns_ = 0;
  int language_ = 0;
};

// Windows-1252 text of the file and the widgets' Unicode.
QString to_qt(const std::string& windows1252);
std::string from_qt(const QString& text);

}  // namespace zelvo::editor
