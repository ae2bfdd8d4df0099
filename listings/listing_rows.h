// The rows that the listings write: one place for their texts and marks and for the
// alternation of file bands, shared by the fast listings and the straightforward ones the
// tests check them against.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "listings/project.h"
#include "listings/result_list.h"
#include "listings/term_matching.h"

/// The file a row was read from: the name for its "in File" cell and its index in the
/// source file list, so that the row finds its file also where two files share a name.
struct RowFile {
  std::string_view Name;
  uint32_t Index = NoRowFile;
};

/// The file index of the rows of `entry`'s head; `NoRowFile` when the entry knows none.
uint32_t RowFileIndex(const ProcedureEntry& entry);

/// What stands between a callee's head and its file in a callee row's label, when the
/// callee is in another file than the call.
inline constexpr std::string_view CalleeFileMark = " -> ";

/// What the procedure-call listing has found so far for one procedure.
struct ProcedureTally {
  int32_t Calls = 0;             ///< calls, Declare lines left out
  bool CalledAboveHead = false;  ///< a call (no Declare line) above the head line
  bool Declared = false;         ///< a Declare line of it was found
};

/// Counts a call row of the procedure whose head is on line `head_line`: a Declare line
/// only declares it, any other line calls it.
void TallyCall(ProcedureTally& tally, bool declare_line, int32_t line_number, int32_t head_line);

/// True when the procedure's tally asks for a Declare: called above its head, not declared.
bool NeedsDeclare(const ProcedureTally& tally);

/// The file bands of a listing: files alternate between band set and clear, and only
/// files with rows advance the alternation. With separators, each file's first row comes
/// after an empty separator row.
class FileBands {
 public:
  /// Bands with or without separator rows.
  explicit FileBands(bool separators) : separators_(separators) {}
  /// The band mark of a row of file `file` (files counted in list order, rows in order);
  /// appends the separator row first when the row is the file's first.
  RowMarks RowOf(ResultList& list, size_t file);

 private:
  bool separators_;
  bool band_ = false;
  size_t file_ = static_cast<size_t>(-1);
};

/// Appends the procedure row of `entry`; returns its index.
int32_t AddProcedureRow(ResultList& list, const ProcedureEntry& entry);

/// The mark of a call whose name several modules in use have; none for another call.
RowMarks AmbiguityMark(bool ambiguous);

/// Appends the row of one call with `marks`, marked other case when it was `found` only in
/// another letter case; its line and label are viewed where the list holds their bytes.
/// Returns the row's index.
int32_t AddCallRow(ResultList& list, int32_t line_number, std::string_view line, int found,
                   std::string_view label, RowFile file, RowMarks marks = {});

/// Closes a finished procedure whose row is `procedure_row`: closing row, count, and the
/// never-called and called-above-head marks.
void FinishProcedure(ResultList& list, int32_t procedure_row, const ProcedureTally& tally);

/// Appends the row of one line in which the term search found its term. `inside` and
/// `label` describe the enclosing procedure; `band` is the file's band mark. The line is
/// viewed where the list holds its bytes.
void AddMatchRow(ResultList& list, int32_t line_number, std::string_view line,
                 const TermMatch& match, bool inside, std::string_view label,
                 RowFile file, RowMarks band);

/// Appends the row of what a check found about the procedure `entry`: its head's line
/// number and text (once: the "(in) Function" cell stays empty), `reason` in the Count
/// column, `marks` besides `Finding`, and its file. Returns the row's index.
int32_t AddProcedureFinding(ResultList& list, const ProcedureEntry& entry, std::string_view reason,
                            RowMarks marks = {});

/// Appends the row of what a check found on the line `line_number` of `file` that is no
/// procedure's head (a Declare line): the line, `reason` in the Count column. Returns the
/// row's index.
int32_t AddLineFinding(ResultList& list, int32_t line_number, std::string_view line,
                       std::string_view reason, RowFile file);

/// Appends a check's closing summary, `summary`, after an empty row.
void AddSummaryRow(ResultList& list, std::string_view summary);
