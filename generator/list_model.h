// Brevane's list rows as a model independent of the window, with its sort direction.
#pragma once

#include <string>
#include <vector>

#include "platform/collation_api.h"

// Columns of the list, left to right.
enum ListColumn { kColumnSequence = 0, kColumnIp = 1, kColumnComputerName = 2, kColumnMac = 3 };

struct ListRow {
  std::string cells[4];  // sequence, IP, computer name, MAC text
};

enum class SortDirection { None, Ascending, Descending };

struct ListModel {
  std::vector<ListRow> rows;
  SortDirection direction = SortDirection::None;
};

// Stable sort of all rows by one column's texts with the locale collation, ignoring case
// (descending reverses the comparison; rows whose texts compare equal keep their order).
// A column outside 0 to 3 leaves the rows as they are.
// followedRow, when given and naming a row, is changed to where that row went.
void SortRows(ListModel& model, int column, bool ascending, CollationApi& collation,
              size_t* followedRow = nullptr);

// A click on a column heading: flips the direction (ascending unless it was ascending) and sorts.
// No cell changes. A column outside 0 to 3 changes nothing.
void SortByColumn(ListModel& model, int column, CollationApi& collation,
                  size_t* followedRow = nullptr);

// Removes the rows whose flag is set (flags past the rows' count are ignored). The remaining rows keep
// their order and their sequence texts close the gaps: each takes its rank among the remaining
// sequence numbers (001, 002, ...), so a sort by "序号" still gives the order of the import.
// A sequence number outside 1 to the row count (never the import's) stays as it is.
void RemoveRows(ListModel& model, const std::vector<char>& removed);
