// Sorting the list: stable collation order by a column, and the heading-click direction.
#include "generator/list_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "common/text_rules.h"
#include "generator/generate_list.h"
#include "platform/portable/portable_collation.h"

namespace {

ListModel ModelOf(const std::vector<std::string>& macs) {
  ListModel model;
  for (size_t i = 0; i < macs.size(); ++i) {
    ListRow row;
    row.cells[kColumnSequence] = ZeroPad(static_cast<long long>(i + 1), 3);
    row.cells[kColumnMac] = macs[i];
    model.rows.push_back(row);
  }
  return model;
}

std::vector<std::string> Column(const ListModel& model, int column) {
  std::vector<std::string> texts;
  for (const ListRow& row : model.rows) texts.push_back(row.cells[column]);
  return texts;
}

// Removed rows leave no gap in the sequence texts; the remaining rows keep their display order,
// and their sequence texts their order (a heading sort before the removal is not undone).
TEST(RemoveRows, KeepsTheOrderAndClosesTheSequenceGaps) {
  const struct {
    const char* name;
    std::vector<std::string> sequences;  // the rows' sequence texts in display order
    std::vector<char> removed;  // a flag per row
    const char* expected;       // sequence|MAC of the remaining rows
  } cases[] = {
      {"two in the middle", {"001", "002", "003", "004", "005"}, {0, 1, 0, 1, 0},
       "001|M0;002|M2;003|M4;"},
      {"after a sort", {"004", "002", "001", "003"}, {0, 1, 0, 0}, "003|M0;001|M2;002|M3;"},
      {"not the import's numbers", {"001", "007", "003"}, {1, 0, 0}, "007|M1;001|M2;"},
      {"fewer flags than rows", {"001", "002"}, {1}, "001|M1;"},
      {"more flags than rows", {"001", "002"}, {0, 1, 1, 1}, "001|M0;"},
      {"all", {"001", "002"}, {1, 1}, ""},
  };
  for (const auto& c : cases) {
    ListModel model;
    for (size_t i = 0; i < c.sequences.size(); ++i) {
      ListRow row;
      row.cells[kColumnSequence] = c.sequences[i];
      row.cells[kColumnMac] = "M" + std::to_string(i);
      model.rows.push_back(row);
    }
    RemoveRows(model, c.removed);
    std::string rows;
    for (const ListRow& row : model.rows) {
      rows += row.cells[kColumnSequence] + "|" + row.cells[kColumnMac] + ";";
    }
    EXPECT_EQ(rows, c.expected) << c.name;
  }
}

TEST(SortByColumn, FlipsTheDirectionAndMovesWholeRows) {
  ListModel model = ModelOf({"00E0FD3A1B02", "00E0FD3A1B0A", "00E0FD3A1B01"});
  CollationApi& collation = SystemCollationApi();

  // Before any import the direction is neither: the first click sorts ascending.
  SortByColumn(model, kColumnMac, collation);
  EXPECT_EQ(model.direction, SortDirection::Ascending);
  EXPECT_EQ(Column(model, kColumnMac),
            std::vector<std::string>({"00E0FD3A1B01", "00E0FD3A1B02", "00E0FD3A1B0A"}));
  EXPECT_EQ(Column(model, kColumnSequence), std::vector<std::string>({"003", "001", "002"}));

  SortByColumn(model, kColumnMac, collation);
  EXPECT_EQ(model.direction, SortDirection::Descending);
  EXPECT_EQ(Column(model, kColumnMac),
            std::vector<std::string>({"00E0FD3A1B0A", "00E0FD3A1B02", "00E0FD3A1B01"}));

  // A generation afterwards numbers the rows in that order.
  GenerateList(model, GenerationFields());
  EXPECT_EQ(Column(model, kColumnComputerName),
            std::vector<std::string>({"COMPUTER001", "COMPUTER002", "COMPUTER003"}));
  EXPECT_EQ(model.rows[0].cells[kColumnMac], "00E0FD3A1B0A");

  // Sorting by the sequence column brings the import order back, cells unchanged.
  SortByColumn(model, kColumnSequence, collation);
  EXPECT_EQ(model.direction, SortDirection::Ascending);
  EXPECT_EQ(Column(model, kColumnSequence), std::vector<std::string>({"001", "002", "003"}));
  EXPECT_EQ(Column(model, kColumnComputerName),
            std::vector<std::string>({"COMPUTER002", "COMPUTER001", "COMPUTER003"}));

  // A column outside the list changes nothing.
  ListModel before = model;
  SortByColumn(model, 4, collation);
  SortByColumn(model, -1, collation);
  EXPECT_EQ(model.direction, SortDirection::Ascending);
  EXPECT_EQ(Column(model, kColumnSequence), Column(before, kColumnSequence));
}

TEST(SortByColumn, SequenceTextsCompareAsTexts) {
  std::vector<std::string> macs(1001, "M");
  ListModel model = ModelOf(macs);
  std::reverse(model.rows.begin(), model.rows.end());
  SortByColumn(model, kColumnSequence, SystemCollationApi());
  std::vector<std::string> sequence = Column(model, kColumnSequence);
  auto at = [&](const char* text) {
    return std::find(sequence.begin(), sequence.end(), text) - sequence.begin();
  };
  EXPECT_EQ(at("1000"), at("100") + 1);
  EXPECT_EQ(at("1001"), at("1000") + 1);
  EXPECT_EQ(at("101"), at("1001") + 1);
  EXPECT_EQ(sequence.front(), "001");
  EXPECT_EQ(sequence.back(), "999");
}

// SortRows against std::stable_sort over the same comparison, with many repeated texts and
// texts that differ only in case (equal for the collation, different as bytes); a followed row
// is reported where it went.
TEST(SortRows, SameOrderAsAStableSortOfTheRows) {
  const std::vector<std::string> texts = {"a", "A", "b", "B", "ab", "AB", "aB", "0", "10", "",
                                          "1", "_", "\xB0\xA1", "Z"};
  PortableCollationApi portable;
  std::vector<CollationApi*> collations = {&portable, &SystemCollationApi()};
  for (CollationApi* collation : collations) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
      std::mt19937 random(seed);
      ListModel model;
      size_t count = random() % 200;
      for (size_t i = 0; i < count; ++i) {
        ListRow row;
        row.cells[0] = std::to_string(i);  // identifies the row
        row.cells[2] = texts[random() % texts.size()];
        model.rows.push_back(row);
      }
      for (bool ascending : {true, false}) {
        std::vector<ListRow> expected = model.rows;
        std::stable_sort(expected.begin(), expected.end(),
                         [&](const ListRow& a, const ListRow& b) {
                           int result = collation->Compare(a.cells[2], b.cells[2]);
                           return ascending ? result < 0 : result > 0;
                         });
        ListModel sorted = model;
        // A followed row (the selected one) is found where it went, wherever it started.
        const size_t from = count == 0 ? 0 : random() % count;
        size_t followed = from;
        SortRows(sorted, kColumnComputerName, ascending, *collation, &followed);
        ASSERT_EQ(Column(sorted, 0), Column(ListModel{expected, SortDirection::None}, 0))
            << "seed " << seed << (ascending ? " ascending" : " descending");
        if (count >= 2) {
          ASSERT_LT(followed, count);
          EXPECT_EQ(sorted.rows[followed].cells[0], model.rows[from].cells[0]) << "seed " << seed;
        }
      }
    }
  }
}

}  // namespace
