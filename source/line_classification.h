// The line tests shared by the include scan and the listings, and the tracking of the
// procedure in which a line stands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// True when the first character of `line` is ";".
bool IsCommentLine(std::string_view line);

/// True when `text` starts with exactly "Procedure " or "Procedure.".
bool IsProcedureHead(std::string_view text);

/// True when `text` starts with exactly "EndProcedure".
bool IsProcedureEnd(std::string_view text);

/// True when `line` (as read), less its leading blanks and tabs, starts with "Declare",
/// "DeclareC", "DeclareDLL" or "DeclareCDLL" followed by a blank or ".".
bool IsDeclareLine(std::string_view line);

/// The six prefixes that make a line inside a procedure a declaration line.
extern const std::string_view DeclarationKeywords[6];

/// True when `line` begins with a declaration keyword (with "Global" only, outside a
/// procedure).
bool IsDeclarationLine(bool in_procedure, std::string_view line);

/// The head's line number right-aligned in 6 places, a blank, and the head line.
std::string ProcLabel(int32_t line_number, std::string_view head);

/// How a head's label is written: `ProcLabel` (padded number) or bare number, blank, line.
enum class LabelStyle { Padded, Bare };

/// The label of the head line `head` at `line_number`, written in `style`.
std::string HeadLabel(LabelStyle style, int32_t line_number, std::string_view head);

/// Enclosing-procedure tracking: an inside flag kept across files and a label emptied
/// at the start of each file. Feed it every non-comment line in reading order.
class EnclosingProcedure {
 public:
  explicit EnclosingProcedure(LabelStyle style) : style_(style) {}

  /// Empties the label; the inside flag keeps its value.
  void StartFile() { label_.clear(); }
  /// Takes a non-comment line: a head sets the flag and the label, an end clears the flag.
  /// Returns true when the line is a head.
  bool Track(std::string_view line, int32_t line_number);
  /// True while inside a procedure body.
  bool Inside() const { return inside_; }
  /// The label while inside a procedure, else empty.
  std::string_view CurrentLabel() const;

 private:
  LabelStyle style_;
  bool inside_ = false;
  std::string label_;
};
