#include "engine/assignment.h"

#include <climits>

namespace zelvo::engine {

namespace {

constexpr int32_t kInfinite = INT32_MAX / 2;

// A least-cost assignment with its duals: rows are added one by one, each
// along a shortest augmenting path over the reduced costs.
void least_assignment(AssignmentWork& w, int32_t rows, int32_t columns) {
  for (int32_t j = 0; j <= columns; ++j) {
    w.pot_column[j] = 0;
    w.owner[j] = 0;
    w.way[j] = 0;
  }
  for (int32_t i = 0; i <= rows; ++i) w.pot_row[i] = 0;
  for (int32_t i = 1; i <= rows; ++i) {
    w.owner[0] = i;
    int32_t j0 = 0;
    for (int32_t j = 0; j <= columns; ++j) {
      w.slack[j] = kInfinite;
      w.done[j] = false;
    }
    do {
      w.done[j0] = true;
      const int32_t i0 = w.owner[j0];
      int32_t delta = kInfinite;
      int32_t j1 = 0;
      for (int32_t j = 1; j <= columns; ++j) {
        if (w.done[j]) continue;
        const int32_t reduced = w.cost[i0 - 1][j - 1] - w.pot_row[i0] - w.pot_column[j];
        if (reduced < w.slack[j]) {
          w.slack[j] = reduced;
          w.way[j] = j0;
        }
        if (w.slack[j] < delta) {
          delta = w.slack[j];
          j1 = j;
        }
      }
      for (int32_t j = 0; j <= columns; ++j) {
        if (w.done[j]) {
          w.pot_row[w.owner[j]] += delta;
          w.pot_column[j] -= delta;
        } else {
          w.slack[j] -= delta;
        }
      }
      j0 = j1;
    } while (w.owner[j0] != 0);
    do {
      const int32_t j1 = w.way[j0];
      w.owner[j0] = w.owner[j1];
      j0 = j1;
    } while (j0 != 0);
  }
  // A column never taken was never visited: its dual is still 0.
  for (int32_t i = 1; i <= rows; ++i) w.row_dual[i - 1] = w.pot_row[i];
  for (int32_t j = 1; j <= columns; ++j) {
    w.column_dual[j - 1] = w.pot_column[j];
    w.column_row[j - 1] = w.owner[j] - 1;
    if (w.owner[j] != 0) w.row_column[w.owner[j] - 1] = j - 1;
  }
}

bool tight(const AssignmentWork& w, int32_t i, int32_t j) {
  return w.cost[i][j] == w.row_dual[i] + w.column_dual[j];
}

// Marks the columns from which `target` can be reached by exchanges that
// keep the total: a row moves from its column into a column on the way
// along a tight pair, and a free column may be taken when an assigned
// column of dual 0 on the way is given up. Rows before `first_row` and their
// columns are settled and take no part. A cheapest assignment giving row
// first_row an earlier tight column j exists exactly when j is marked.
void mark_reaching(AssignmentWork& w, int32_t first_row, int32_t rows, int32_t columns,
                   int32_t target) {
  for (int32_t j = 0; j < columns; ++j) w.reaches[j] = false;
  bool free_columns_marked = false;
  int32_t head = 0;
  int32_t tail = 0;
  w.reaches[target] = true;
  w.queue[tail++] = target;
  while (head < tail) {
    const int32_t c = w.queue[head++];
    for (int32_t k = first_row; k < rows; ++k) {
      const int32_t own = w.row_column[k];
      if (w.reaches[own] || !tight(w, k, c)) continue;
      w.reaches[own] = true;
      w.toward[k] = c;
      w.queue[tail++] = own;
    }
    if (!free_columns_marked && w.column_row[c] >= 0 && w.column_dual[c] == 0) {
      free_columns_marked = true;
      w.given_up = c;
      for (int32_t j = 0; j < columns; ++j) {
        if (w.column_row[j] >= 0 || w.reaches[j]) continue;
        w.reaches[j] = true;
        w.queue[tail++] = j;
      }
    }
  }
}

// Row i takes column j; every row on the way to `target` moves on to the
// next column, and target (row i's old column) ends taken or free.
void exchange(AssignmentWork& w, int32_t i, int32_t j, int32_t target) {
  int32_t row = i;
  int32_t column = j;
  for (;;) {
    int32_t displaced = w.column_row[column];
    w.row_column[row] = column;
    w.column_row[column] = row;
    if (column == target) return;
    if (displaced < 0) {
      const int32_t given_up = w.given_up;
      displaced = w.column_row[given_up];
      w.column_row[given_up] = -1;
      if (given_up == target) return;
    }
    row = displaced;
    column = w.toward[row];
  }
}

}  // namespace

int64_t first_least_assignment(AssignmentWork& w, int32_t rows, int32_t columns) {
  least_assignment(w, rows, columns);
  for (int32_t j = 0; j < columns; ++j) w.settled[j] = false;
  for (int32_t i = 0; i < rows; ++i) {
    const int32_t target = w.row_column[i];
    bool marked = false;
    for (int32_t j = 0; j < target; ++j) {
      if (w.settled[j] || !tight(w, i, j)) continue;
      if (!marked) {
        mark_reaching(w, i, rows, columns, target);
        marked = true;
      }
      if (!w.reaches[j]) continue;
      exchange(w, i, j, target);
      break;
    }
    w.settled[w.row_column[i]] = true;
  }
  int64_t total = 0;
  for (int32_t i = 0; i < rows; ++i) total += w.cost[i][w.row_column[i]];
  return total;
}

}  // namespace zelvo::engine
