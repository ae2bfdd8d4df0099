// Finding the calls of one procedure in a project text that is read once per run. Both
// ways below report exactly the calls, labels and inside flags of a pass that prepares
// every line with the key and tracks every head and end line; they only skip lines that
// cannot change that pass's answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "listings/call_candidates.h"
#include "listings/listing_host.h"
#include "listings/module_scope.h"
#include "listings/procedure_bounds.h"
#include "listings/project.h"
#include "listings/project_text.h"
#include "source/line_classification.h"

/// One line that calls the key.
struct CallHit {
  size_t File = 0;          ///< index in `ProjectText::Files()`
  int32_t LineNumber = 0;   ///< 1-based, in its file
  std::string_view Prepared;  ///< the line after `NormalizeCallLine`, valid during the handler
  int Found = 0;            ///< `FindCall`'s answer, +1 or -1
  std::string_view Label;   ///< the enclosing procedure's label, valid during the handler; empty outside a body
  size_t Head = std::string::npos;  ///< line id of the head whose label `Label` is; npos for none
  size_t Line = 0;          ///< id of the line in the project text
  bool Ambiguous = false;   ///< the call's name is had by several modules in use
};

/// Receives the calls in file and line order.
using CallHitHandler = std::function<void(const CallHit&)>;

/// Finds the calls of `key` that call `target` by the rules of `scope` in one pass over
/// the lines in file order, as a pass whose inside flag starts clear. Labels are written
/// in `style`. Polls `host` once per line it prepares; returns true when the host
/// reported a stop.
///
/// The procedure-call listing carries the flag from one procedure's pass into the next,
/// but that flag shows only through the label, which stays empty in each file until the
/// file's first head; before the first head or end line of a project there is no head of
/// the same file, so a carried flag never changes a row.
bool ScanForCalls(const ProjectText& text, const ModuleScope& scope, std::string_view key,
                  const CallTarget& target, LabelStyle style, ListingHost& host,
                  const CallHitHandler& on_hit);

/// The calls of many keys in one project text, for the procedure-call listing: a key whose
/// name is an identifier visits only its candidate lines, and the inside flag and label
/// of a hit are looked up from the head and end lines.
class ProcedureCallSearch {
 public:
  /// A search in `text` (which must outlive the search) for the names of `procedures`;
  /// `Index` must succeed before calls are found.
  ProcedureCallSearch(const ProjectText& text, const ProcedureIndex& procedures);
  /// A search as above that looks only at the lines of `bodies` (line id ranges, first
  /// line and one past the last, ascending and apart): `Index` sweeps those lines only, and
  /// `FindCalls` finds just the calls on them, as the whole search finds those.
  ProcedureCallSearch(const ProjectText& text, const ProcedureIndex& procedures,
                      std::vector<std::pair<size_t, size_t>> bodies);

  /// Finds the candidate lines of every procedure, polling `host` once per line; false
  /// when the host reported a stop.
  bool Index(ListingHost& host);

  /// As `ScanForCalls` with bare labels, for the calls of `key` that call `target`.
  bool FindCalls(std::string_view key, const CallTarget& target, ListingHost& host,
                 const CallHitHandler& on_hit) const;

  /// The module rules of the text, to tell the callees of a hit found for any target.
  const ModuleScope& Scope() const { return scope_; }
  /// The last tokens of the procedures' names (their candidate lines once indexed).
  const CallCandidates& Candidates() const { return candidates_; }
  /// True when only a full pass with the key's own preparation finds the calls of `key`
  /// right: its name is empty, or closing up for it can unmake a head of the text.
  bool NeedsFullPass(std::string_view key) const;
  /// Id of the head line whose label a call on line `line` (of the file whose first line
  /// is `file_first_line`) gets; npos outside a body and before the file's first head.
  size_t EnclosingHead(size_t line, size_t file_first_line) const;

 private:
  bool FindCallsInLines(std::string_view key, const CallTarget& target, ListingHost& host,
                        const CallHitHandler& on_hit) const;
  bool InBodies(size_t line) const;
  void ExamineLine(size_t line, std::string_view key, const CallTarget& target,
                   const CallHitHandler& on_hit) const;
  void ReportPreparedHit(size_t line, std::string_view prepared, std::string_view key,
                         const TargetCall& call, const CallHitHandler& on_hit) const;

  const ProjectText& text_;
  CallCandidates candidates_;
  ProcedureBounds bounds_;
  ModuleScope scope_;
  /// The line ranges looked at; none: all lines.
  std::optional<std::vector<std::pair<size_t, size_t>>> bodies_;
};
