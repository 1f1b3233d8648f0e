#include "editor/table_model.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

#include "composition/kinds.h"
#include "composition/operations.h"
#include "base/windows1252.h"

namespace zelvo::editor {

QString to_qt(const std::string& windows1252) { return QString::fromStdString(base::to_utf8(windows1252)); }
std::string from_qt(const QString& text) { return base::from_utf8(text.toStdString()); }

TableModel::TableModel(const composition::Document& document, const std::vector<composition::ErrorPlace>& errors,
                       int32_t table, CellEdit edit, QObject* parent)
    : QAbstractTableModel(parent), document_(document), errors_(errors), table_(table), edit_(std::move(edit)) {
  refresh();
}

void TableModel::refresh() {
  int rows = 0;
  int columns = 0;
  if (table_ < static_cast<int32_t>(document_.tables.size())) {
    rows = static_cast<int>(shown().rows.size());
    columns = composition::column_count(shown());
    for (const composition::Row& row : shown().rows) columns = std::max(columns, static_cast<int>(row.cells.size()));
  }
  if (rows != rows_ || columns != columns_) {
    beginResetModel();
    rows_ = rows;
    columns_ = columns;
    endResetModel();
    return;
  }
  if (rows_ > 0 && columns_ > 0) {
    Q_EMIT dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
  }
}

int TableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }
int TableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

const composition::ErrorPlace* TableModel::error_at(int row, int column) const {
  for (const composition::ErrorPlace& place : errors_) {
    if (place.table == table_ && place.row == row && (place.column == column || place.column < 0)) return &place;
  }
  return nullptr;
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_) return {};
  const std::vector<composition::Cell>& cells = shown().rows[index.row()].cells;
  const std::string text = index.column() < static_cast<int>(cells.size()) ? cells[index.column()].text : "";
  const composition::ErrorPlace* error = error_at(index.row(), index.column());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return to_qt(text);
    case Qt::ToolTipRole:
      if (error != nullptr) return to_qt(error->message);
      return QString::fromStdString(
          composition::column_tooltip(composition::table_kind(shown()), static_cast<int32_t>(index.column()), language_));
    case Qt::BackgroundRole:
      if (error != nullptr) return QBrush(QColor(255, 190, 190));
      if (index.row() == 0) return QBrush(QColor(232, 232, 240));
      return {};
    default:
      return {};
  }
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid()) return false;
  return edit_(table_, index.row(), index.column(), from_qt(value.toString()));
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
  return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

void TableModel::set_language(int language) {
  if (language == language_) return;
  language_ = language;
  if (columns_ > 0) Q_EMIT headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) return role == Qt::DisplayRole ? QVariant(section) : QVariant();
  const int32_t kind = composition::table_kind(shown());
  if (role == Qt::ToolTipRole) return QString::fromStdString(composition::column_tooltip(kind, section, language_));
  if (role != Qt::DisplayRole) return {};
  const std::vector<composition::Cell>& header = shown().rows.empty() ? std::vector<composition::Cell>{} : shown().rows[0].cells;
  const std::string title = section < static_cast<int>(header.size()) ? header[section].text : "";
  return QString::number(section) + (title.empty() ? QString() : " " + to_qt(title));
}

}  // namespace zelvo::editor
