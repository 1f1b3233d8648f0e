#pragma once

#include <cstdint>

// The link search's assignment problem: every row (a line of the previous
// unit) gets a distinct column (an entry of the current unit's list) and the
// total cost is least. Among the cheapest assignments the one taken is the
// first that trying every assignment would meet: row 0's column as early in
// column order as the least total allows, then row 1's, and so on. Found in
// O(rows² × columns) time, without trying the assignments one by one.

namespace zelvo::engine {

constexpr int32_t kMaxAssignment = 200;  // rows and columns

// Fixed work space of first_least_assignment; nothing is allocated.
struct AssignmentWork {
  int32_t cost[kMaxAssignment][kMaxAssignment];  // filled by the caller
  int32_t row_column[kMaxAssignment];            // result: column of each row
  // Dual values (row + column <= cost on every pair, equal on every
  // assigned pair, 0 on every free column) and the columns' rows (-1 free).
  int32_t row_dual[kMaxAssignment];
  int32_t column_dual[kMaxAssignment];
  int32_t column_row[kMaxAssignment];
  // The least-cost search, counted from 1 (index 0 is its virtual column).
  int32_t pot_row[kMaxAssignment + 1];
  int32_t pot_column[kMaxAssignment + 1];
  int32_t owner[kMaxAssignment + 1];
  int32_t way[kMaxAssignment + 1];
  int32_t slack[kMaxAssignment + 1];
  bool done[kMaxAssignment + 1];
  // The first-in-order pass: settled columns, columns from which the
  // current row's column can be reached by exchanges that keep the total,
  // and for each row the column it would move to on that way.
  bool settled[kMaxAssignment];
  bool reaches[kMaxAssignment];
  int32_t toward[kMaxAssignment];
  int32_t given_up = -1;  // the assigned column a taken free column frees
  int32_t queue[kMaxAssignment];
};

// Fills work.row_column with the first cheapest assignment of `rows` rows to
// distinct columns out of `columns`, and returns its total.
// REQUIRES: 1 <= rows <= columns <= kMaxAssignment; 0 <= cost < 2^20.
int64_t first_least_assignment(AssignmentWork& work, int32_t rows, int32_t columns);

}  // namespace zelvo::engine
