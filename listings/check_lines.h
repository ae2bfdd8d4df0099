// What the checks (unused, Declare check, callees, call trees) read from the project's
// lines beyond the listings' line tests: the real procedure heads and their bodies, and the
// lines that hold no calls although a call key may stand in them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "listings/listing_host.h"
#include "listings/project_text.h"

/// True when `line`, less its leading blanks and tabs, is a real procedure head:
/// "Procedure", "ProcedureC", "ProcedureDLL" or "ProcedureCDLL", an optional ".type",
/// blanks, a name, then "(" (blanks may stand before it).
bool IsRealProcedureHead(std::string_view line);

/// What a line is to the checks.
enum class CheckLine : uint8_t {
  Code,       ///< may hold calls
  Head,       ///< a real procedure head: no call, it defines one
  MacroBody,  ///< inside Macro ... EndMacro: calls wherever the macro is used
  NoCall,     ///< a Prototype line, a Macro's first and last line, or inside Structure,
              ///< Interface or Import: names, no calls
};

/// The real heads, their bodies and the kind of every line of a project text.
class CheckLines {
 public:
  /// Reads every line of `text` (which must outlive this), polling `host` once per line.
  /// Stopped when the host reported a stop.
  ListingEnd Read(const ProjectText& text, ListingHost& host);
  /// As `Read` for the lines of file `file` of `text` only: a file's kinds, heads and bodies
  /// do not depend on the other files. `KindOf` and `BodyHead` then answer for its lines.
  ListingEnd ReadFile(const ProjectText& text, size_t file, ListingHost& host);

  /// What line `line` is.
  CheckLine KindOf(size_t line) const { return kinds_[line - first_line_]; }
  /// Line id of the real head whose body holds `line`; npos outside every body (a head
  /// line and an end line are in none).
  size_t BodyHead(size_t line) const;
  /// One past the last line of the body of the real head at `head`.
  size_t BodyEnd(size_t head) const;

 private:
  /// Reads the lines of file `file` into `kinds_` from `kinds_[at]` on.
  ListingEnd TakeFile(const ProjectText& text, size_t file, size_t at, ListingHost& host);

  size_t first_line_ = 0;          ///< line id of `kinds_[0]`
  std::vector<CheckLine> kinds_;
  std::vector<size_t> heads_;      ///< real head lines, ascending
  std::vector<size_t> body_ends_;  ///< per head, one past its body's last line
};
