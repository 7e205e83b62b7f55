// Brevane's list rows: sorting by a column's texts and the heading-click direction.
#include "generator/list_model.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "common/text_rules.h"

namespace {

bool IsColumn(int column) { return column >= kColumnSequence && column <= kColumnMac; }

}  // namespace

void SortRows(ListModel& model, int column, bool ascending, CollationApi& collation,
              size_t* followedRow) {
  if (!IsColumn(column) || model.rows.size() < 2) return;
  std::vector<ListRow>& rows = model.rows;

  // A log import sorts hundreds of thousands of rows holding a few thousand distinct texts, and
  // the locale comparison is the costly part on Windows. So each distinct text is compared only
  // while sorting the distinct texts; every row then takes the rank of its text's group of
  // equal-comparing texts, and a stable sort by rank gives the same order as a stable sort of
  // the rows by their texts.
  std::unordered_map<std::string_view, uint32_t> idOfText;
  idOfText.reserve(rows.size());
  std::vector<const std::string*> texts;  // distinct texts, first occurrence first
  std::vector<uint32_t> rowText(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::string& text = rows[i].cells[column];
    auto found = idOfText.emplace(text, static_cast<uint32_t>(texts.size()));
    if (found.second) texts.push_back(&text);
    rowText[i] = found.first->second;
  }

  std::vector<uint32_t> order(texts.size());
  for (uint32_t id = 0; id < order.size(); ++id) order[id] = id;
  auto compare = [&](uint32_t a, uint32_t b) { return collation.Compare(*texts[a], *texts[b]); };
  // A merge sort stays within the list even should the locale comparison of odd byte texts not
  // be a consistent order, which std::sort cannot promise.
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    int result = compare(a, b);
    return ascending ? result < 0 : result > 0;
  });
  std::vector<uint32_t> rankOfText(texts.size());
  uint32_t rank = 0;
  for (size_t i = 0; i < order.size(); ++i) {
    if (i > 0 && compare(order[i - 1], order[i]) != 0) ++rank;
    rankOfText[order[i]] = rank;
  }

  // Counting sort by rank: stable and linear in the number of rows.
  std::vector<size_t> start(static_cast<size_t>(rank) + 2, 0);
  for (uint32_t id : rowText) ++start[rankOfText[id] + 1];
  for (size_t r = 1; r < start.size(); ++r) start[r] += start[r - 1];
  // The followed row is matched by its place before the sort: once moved, its new place must
  // not be taken for the old place of a row handled later.
  const size_t followedFrom = followedRow ? *followedRow : rows.size();
  std::vector<ListRow> sorted(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const size_t to = start[rankOfText[rowText[i]]]++;
    if (i == followedFrom) *followedRow = to;
    sorted[to] = std::move(rows[i]);
  }
  rows.swap(sorted);
}

void SortByColumn(ListModel& model, int column, CollationApi& collation, size_t* followedRow) {
  if (!IsColumn(column)) return;
  model.direction = model.direction == SortDirection::Ascending ? SortDirection::Descending
                                                                  : SortDirection::Ascending;
  SortRows(model, column, model.direction == SortDirection::Ascending, collation, followedRow);
}

void RemoveRows(ListModel& model, const std::vector<char>& removed) {
  const size_t count = model.rows.size();
  // The import numbers the rows 1 to n and sorts keep the texts, so counting the remaining
  // numbers up to each one gives its rank.
  std::vector<size_t> rank(count + 1, 0);
  size_t kept = 0;
  for (size_t i = 0; i < count; ++i) {
    if (i < removed.size() && removed[i]) continue;
    const long long number = ReadNumber(model.rows[i].cells[kColumnSequence]);
    if (number > 0 && static_cast<size_t>(number) <= count) rank[number] = 1;
    if (kept != i) model.rows[kept] = std::move(model.rows[i]);
    ++kept;
  }
  model.rows.erase(model.rows.begin() + static_cast<std::ptrdiff_t>(kept), model.rows.end());
  for (size_t n = 1; n <= count; ++n) rank[n] += rank[n - 1];
  for (ListRow& row : model.rows) {
    const long long number = ReadNumber(row.cells[kColumnSequence]);
    if (number > 0 && static_cast<size_t>(number) <= count) {
      row.cells[kColumnSequence] = ZeroPad(static_cast<long long>(rank[number]), 3);
    }
  }
}
