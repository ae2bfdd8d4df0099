// The result-list model: one list of five-column rows that a listing fills and a view
// (the GTK tree view, the report tool) shows. Rows carry what they are and how they are
// marked; the colours that show the marks come from `MarkColours` (row_colours.h).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "listings/block_memory.h"
#include "listings/list_kind.h"
#include "listings/row_texts.h"

/// A row's file index when the row was read from no file of its own (a separator, a
/// summary) or was written without one: only its "in File" cell names a file then.
constexpr uint32_t NoRowFile = UINT32_MAX;

/// The five columns of every result list.
enum ResultColumn : int { ColumnLine, ColumnCalls, ColumnCount, ColumnFunction, ColumnFile, ResultColumns };

static_assert(RowTextCells == ResultColumns, "a stored row holds one text per column");

/// Column headers of every result list, column 0 first.
extern const char* const ColumnHeaders[ResultColumns];

/// What a row is or how it stands out; a row holds a set of these.
enum class RowMark : uint16_t {
  ProcedureRow = 1 << 0,     ///< a procedure's head row in the procedure-call listing
  Separator = 1 << 1,        ///< the empty row before a file's first row
  ClosingRow = 1 << 2,       ///< the empty row after a procedure's calls
  NeverCalled = 1 << 3,      ///< procedure row of a procedure that nothing calls
  CalledAboveHead = 1 << 4,  ///< procedure row of a procedure called above its head line,
                             ///< or a callee's row of such a call
  OtherCase = 1 << 5,        ///< a call or term found only in another letter case
  Declaration = 1 << 6,      ///< a term found on a declaration line
  FileBand = 1 << 7,         ///< a row of a file whose band is set (bands alternate by file)
  DeclareLine = 1 << 8,      ///< a call row on a Declare line: listed, not counted as a call
  Finding = 1 << 9,          ///< what a check found; its reason stands in the Count column
  Callback = 1 << 10,        ///< a procedures-list row of a procedure whose address is taken
  Ambiguous = 1 << 11,        ///< a call whose name several modules in use have
};

/// A set of row marks.
class RowMarks {
 public:
  constexpr RowMarks() = default;
  /// The set of one mark.
  constexpr RowMarks(RowMark mark) : bits_(static_cast<uint16_t>(mark)) {}  // NOLINT: implicit
  /// True when `mark` is in the set.
  constexpr bool Has(RowMark mark) const { return (bits_ & static_cast<uint16_t>(mark)) != 0; }
  /// The union of both sets.
  constexpr RowMarks operator|(RowMarks other) const { return FromBits(bits_ | other.bits_); }
  /// Adds the marks of `other`.
  RowMarks& operator|=(RowMarks other) { return *this = *this | other; }
  /// The set as bits, one per mark (for messages).
  constexpr uint16_t Bits() const { return bits_; }
  /// True for the same marks.
  constexpr bool operator==(RowMarks other) const { return bits_ == other.bits_; }
  constexpr bool operator!=(RowMarks other) const { return bits_ != other.bits_; }

 private:
  static constexpr RowMarks FromBits(int bits) {
    RowMarks marks;
    marks.bits_ = static_cast<uint16_t>(bits);
    return marks;
  }
  uint16_t bits_ = 0;
};

/// The set of two marks.
constexpr RowMarks operator|(RowMark a, RowMark b) { return RowMarks(a) | b; }

/// One row: five cell texts, its marks and the kind of list it was written for (a list
/// that the term search takes over keeps the rows written before in their own shading).
/// The texts view the list's storage or the bytes it holds: valid while the list lives
/// and the row's texts stay.
struct ResultRow {
  RowCellTexts Cells;
  RowMarks Marks;
  ListKind WrittenFor = ListKind::Procedures;
  uint32_t File = NoRowFile;  ///< index in the source file list of the row's file
};

/// One result list: what it is about, its rows and the selected row.
class ResultList {
 public:
  /// A list without rows; its caption is `KindText(kind)` + `subject` + "...".
  ResultList(ListKind kind, std::string_view subject);

  /// Which listing the list is for.
  ListKind Kind() const { return kind_; }
  /// What the list is about.
  const std::string& Subject() const { return subject_; }
  /// Text of the caption over the list.
  const std::string& Caption() const { return caption_; }
  /// Hands the list over to the listing of `kind`, as the term search takes over the list of
  /// a procedure lookup that found nothing: the kind and the caption (`KindText(kind)` +
  /// `caption_subject` + "...") change, the subject and the rows stay.
  void TakeOver(ListKind kind, std::string_view caption_subject);

  /// Appends a row from `row_text` (cells separated by line feeds, missing trailing cells
  /// empty) with `marks`, read from file `file` of the source file list, selects it and
  /// returns its index.
  int32_t AddResultRow(std::string_view row_text, RowMarks marks = {}, uint32_t file = NoRowFile);
  /// Appends a row of the five `cells` with `marks`, read from file `file` of the source
  /// file list, selects it and returns its index. A cell of `viewed` that lies within
  /// bytes the list holds (`HoldBytes`) is kept as a view of them instead of a copy; the
  /// others are copied.
  int32_t AddResultRow(const RowCellTexts& cells, RowMarks marks, uint32_t file = NoRowFile,
                       RowCellSet viewed = 0);
  /// Appends an empty row with `marks` without selecting it.
  void AddUnselectedEmptyRow(RowMarks marks);
  /// Makes room for `more` rows at once, for a listing that knows how many come: a list
  /// grown row by row copies its rows each time it doubles.
  void ReserveRows(size_t more) { rows_.reserve(rows_.size() + more); }

  /// Holds each of `bytes` (null ones passed over) as long as the list lives, so that
  /// rows may view them: the files' bytes of a run, which a later run of changed files
  /// replaces without changing them.
  void HoldBytes(const std::vector<std::shared_ptr<const std::string>>& bytes);

  /// Number of rows.
  int32_t RowCount() const { return static_cast<int32_t>(rows_.size()); }
  /// The row at `row`; the row must exist.
  ResultRow Row(int32_t row) const;
  /// The lengths of the cells of `row` (which must exist), read without finding the cells.
  RowCellLengths CellLengths(int32_t row) const {
    return texts_.Lengths(rows_[static_cast<size_t>(row)].Texts);
  }
  /// The marks of `row`, which must exist.
  RowMarks Marks(int32_t row) const { return rows_[static_cast<size_t>(row)].Marks; }
  /// Asks for the texts of `row` ahead of their use, as a writer that reads the rows in
  /// order does a few rows ahead; nothing for a row that does not exist.
  void PrefetchRow(int32_t row) const {
    if (row >= 0 && row < RowCount()) texts_.Prefetch(rows_[static_cast<size_t>(row)].Texts);
  }
  /// Text of a cell, valid as `ResultRow::Cells`; empty for a row or column that does not
  /// exist.
  std::string_view CellText(int32_t row, int column) const;
  /// Sets the text of a cell of an existing row; ignored otherwise.
  void SetCellText(int32_t row, int column, std::string_view text);
  /// Adds `marks` to an existing row; ignored otherwise.
  void AddMarks(int32_t row, RowMarks marks);

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
  /// A row as held: where its texts stand, its marks, kind and file (16 bytes).
  struct StoredRow {
    uint64_t Texts = 0;
    RowMarks Marks;
    ListKind WrittenFor = ListKind::Procedures;
    uint32_t File = NoRowFile;
  };
  static_assert(sizeof(StoredRow) == 16, "a million rows cost 16 MB beside their texts");

  /// Bytes the list holds, by their first byte.
  struct HeldRange {
    const char* Begin = nullptr;
    const char* End = nullptr;
  };

  int32_t AddRow(const RowCellTexts& cells, RowMarks marks, uint32_t file, RowCellSet viewed = 0);
  /// True when all of `text` lies within bytes the list holds. The range at index `last`
  /// is tried first; it is set to the one that holds the text.
  bool Holds(std::string_view text, size_t& last) const;
  StoredRow* ChangeRow(int32_t row);

  ListKind kind_;
  std::string subject_;
  std::string caption_;
  std::vector<StoredRow, BlockAllocator<StoredRow>> rows_;  ///< huge pages once it is large
  RowTexts texts_;
  std::vector<std::shared_ptr<const std::string>> held_;  ///< the bytes that rows may view
  std::vector<HeldRange> held_ranges_;  ///< sorted by `Begin`
  /// Per cell, the index of the range that held its last viewed text: the cells of a row
  /// view different bytes (a line of a file, a label), each often those of the row before.
  std::array<size_t, RowTextCells> last_held_{};
  int32_t selected_row_ = -1;
  int32_t mirrored_rows_ = 0;
  std::vector<int32_t> changed_rows_;
};

/// "List:" selector entry of a list, as its kind's `SelectorStyle` says: `Subject` whole
/// (the term search, the checks), else the part of `Subject` before its first "(" followed
/// by "(", after the caption prefix for the lists beyond the first four ("Calls in: ").
std::string SelectorEntryText(const ResultList& list);
