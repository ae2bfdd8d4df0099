#include "listings/row_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Rows of every size read back as stored: empty texts, lengths that take one, two and
// three length bytes, a row larger than a block, many rows across blocks, and a row made
// of texts that the storage itself holds.
TEST(RowTexts, EveryRowReadsBackAsStoredAcrossBlocks) {
  RowTexts texts;
  std::vector<std::vector<std::string>> rows;
  std::vector<uint64_t> places;
  const auto add = [&](std::vector<std::string> row) {
    places.push_back(texts.Add({row[0], row[1], row[2], row[3], row[4]}));
    rows.push_back(std::move(row));
  };
  add({"", "", "", "", ""});
  add({"12", std::string(127, 'a'), std::string(128, 'b'), std::string(16384, 'c'), "x.pb"});
  add({"1", std::string(600000, 'd'), "", "\n", std::string(1, '\0')});  // beyond a block
  add({"9", "", "", "", std::string(200, 'e')});  // only the last length takes two bytes
  for (int row = 0; row < 20000; ++row) {
    add({std::to_string(row), "Call" + std::to_string(row) + "()", "", "7 Procedure P()", "f.pbi"});
  }
  const RowCellTexts first = texts.Cells(places[1]);
  places.push_back(texts.Add({first[4], first[1], first[0], "", first[3]}));
  rows.push_back({rows[1][4], rows[1][1], rows[1][0], "", rows[1][3]});
  for (size_t row = 0; row < rows.size(); ++row) {
    const RowCellTexts cells = texts.Cells(places[row]);
    for (size_t cell = 0; cell < RowTextCells; ++cell) {
      ASSERT_EQ(cells[cell], rows[row][cell]) << "row " << row << " cell " << cell;
      ASSERT_EQ(texts.Lengths(places[row])[cell], rows[row][cell].size()) << "row " << row;
    }
  }
}

// Viewed cells read back as views of the bytes given (not copies), beside copied cells of
// every size; an empty cell is never kept as a view; a changed source shows through a view
// only, which tells views from copies.
TEST(RowTexts, ViewedCellsReadBackAsViewsOfTheirBytes) {
  std::string line(300, 'v');
  RowTexts texts;
  const std::string long_label(200, 'l');
  const uint64_t at = texts.Add({"7", line, "", long_label, "f.pb"},
                                RowCell(1) | RowCell(2) | RowCell(4));
  const uint64_t copied = texts.Add({"8", line, "", "", ""});
  texts.Prefetch(at);
  EXPECT_EQ(texts.Viewed(at), RowCell(1) | RowCell(4));
  EXPECT_EQ(texts.Viewed(copied), 0);
  line[0] = 'w';
  const RowCellTexts cells = texts.Cells(at);
  EXPECT_EQ(cells[1].data(), line.data());
  EXPECT_EQ(cells[1].size(), line.size());
  EXPECT_EQ(cells[0], "7");
  EXPECT_EQ(cells[2], "");
  EXPECT_EQ(cells[3], long_label);
  EXPECT_EQ(cells[4], "f.pb");
  EXPECT_EQ(texts.Lengths(at), (RowCellLengths{1, 300, 0, 200, 4}));
  EXPECT_EQ(texts.Cells(copied)[1], std::string(300, 'v'));
}
