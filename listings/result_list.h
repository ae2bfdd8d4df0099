// The result-list model: one list of five-column rows that a listing fills and a view
// (the GTK tree view, the report tool) shows.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// A colour as red, green, blue, each 0 to 255.
struct Rgb {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  bool operator==(const Rgb& other) const {
    return Red == other.Red && Green == other.Green && Blue == other.Blue;
  }
  bool operator!=(const Rgb& other) const { return !(*this == other); }
};

/// The five columns of every result list.
enum ResultColumn : int { ColumnLine, ColumnCalls, ColumnCount, ColumnFunction, ColumnFile, ResultColumns };

/// One cell: its text and optional colours (none means the view's default).
struct ResultCell {
  std::string Text;
  std::optional<Rgb> TextColour;
  std::optional<Rgb> Background;
};

/// One row of five cells.
struct ResultRow {
  std::array<ResultCell, ResultColumns> Cells;
};

/// One result list: what it is about, its rows and the selected row.
class ResultList {
 public:
  ResultList(std::string_view kind, std::string_view subject);

  std::string Kind;         ///< "", "Proc: " or "Terms: "
  std::string Subject;      ///< what the list is about
  std::string Caption;      ///< text of the caption over the list
  int32_t ProcedureRow = 0; ///< scratch row index of the procedure-call listing

  /// Appends a row from `row_text` (cells separated by line feeds, missing trailing cells
  /// empty) and selects it.
  void AddResultRow(std::string_view row_text);
  /// Appends an empty row without selecting it.
  void AddUnselectedEmptyRow();

  /// Number of rows.
  int32_t RowCount() const { return static_cast<int32_t>(rows_.size()); }
  /// The row at `row`; the row must exist.
  const ResultRow& Row(int32_t row) const { return rows_[static_cast<size_t>(row)]; }
  /// Text of a cell; empty for a row or column that does not exist.
  const std::string& CellText(int32_t row, int column) const;
  /// Sets the text of a cell of an existing row; ignored otherwise.
  void SetCellText(int32_t row, int column, std::string_view text);
  /// Sets the text colour of one cell of an existing row; ignored otherwise.
  void SetCellTextColour(int32_t row, int column, Rgb colour);
  /// Sets the background of one cell of an existing row; ignored otherwise.
  void SetCellBackground(int32_t row, int column, Rgb colour);
  /// Sets the background of every cell of an existing row; ignored otherwise.
  void SetRowBackground(int32_t row, Rgb colour);

  /// Index of the selected row, -1 when none.
  int32_t SelectedRow() const { return selected_row_; }
  /// Selects `row` (-1 for none); an index out of range selects none.
  void SelectRow(int32_t row);

  /// Rows that a view has taken over; changes to them are recorded for the view.
  int32_t MirroredRows() const { return mirrored_rows_; }
  /// Mirrored rows changed since the last `MarkMirrored` (may repeat an index).
  const std::vector<int32_t>& ChangedMirroredRows() const { return changed_rows_; }
  /// Records that a view now mirrors every row; forgets the recorded changes.
  void MarkMirrored();

 private:
  ResultCell* Cell(int32_t row, int column);
  void NoteChange(int32_t row);

  std::deque<ResultRow> rows_;  ///< grows without moving the rows it holds
  int32_t selected_row_ = -1;
  int32_t mirrored_rows_ = 0;
  std::vector<int32_t> changed_rows_;
};

/// "List:" selector entry of a list: `Subject` for a "Terms: " list, else the part of
/// `Subject` before its first "(" followed by "(".
std::string SelectorEntryText(const ResultList& list);
