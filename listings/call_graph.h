// The whole project's call graph: every call of a real procedure of the index, with the
// procedure whose body holds it, found file by file (`GraphSweep`) with the same matchers
// as the procedure-call listing, but with the checks' notion of heads, bodies and lines
// that hold no calls (`CheckLines`). The callees listing, the call trees and the dead-code
// listings read it instead of searching per procedure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/project_text.h"

struct FileSites;

/// A caller that is no procedure of the index: the call stands outside any body.
constexpr int32_t MainCode = -1;
/// A caller whose real head the index does not list (a head indented with a tab, say).
constexpr int32_t UnlistedProcedure = -2;

/// One call of a procedure of the index, as the procedure-call listing lists it.
struct CallSite {
  int32_t Callee = 0;          ///< index in the procedure index of the called procedure
  int32_t Caller = MainCode;   ///< index of the procedure whose body holds the call, or
                               ///< `MainCode` / `UnlistedProcedure`
  size_t File = 0;             ///< index in `ProjectText::Files()` (the source file list)
  int32_t LineNumber = 0;      ///< 1-based line number in that file
  size_t Line = 0;             ///< line id in the project text
  bool OtherCase = false;      ///< the call matched only with letter case ignored
  bool Ambiguous = false;      ///< the call's name is had by several modules in use
  bool InMacro = false;        ///< the call stands in a Macro body (its caller is `MainCode`)

  /// True for a call of the procedure from its own body.
  bool IsSelfCall() const { return Callee == Caller; }
};

/// Indexes of the entries of `procedures` that a list for `name` is about, in index order:
/// every head of that name (with or without parameter list), of module X only for
/// "X::Name", without module only when `without_module`.
std::vector<int32_t> HeadsNamed(const ProcedureIndex& procedures, std::string_view name,
                                bool without_module = false);

/// A run of sites that lie one after the other.
struct SiteSpan {
  const CallSite* First = nullptr;
  const CallSite* Last = nullptr;
  const CallSite* begin() const { return First; }
  const CallSite* end() const { return Last; }
  /// Number of sites.
  size_t size() const { return static_cast<size_t>(Last - First); }
  /// True when the span holds no site.
  bool empty() const { return First == Last; }
};

/// A Declare line of the project.
struct GraphDeclare {
  size_t Line = 0;      ///< line id in the project text
  std::string Module;   ///< the folded module whose block holds it; empty for none
};

/// A run of callees (indexes of the procedure index) that lie one after the other.
struct CalleeSpan {
  const int32_t* First = nullptr;
  const int32_t* Last = nullptr;
  const int32_t* begin() const { return First; }
  const int32_t* end() const { return Last; }
};

/// Every call site of a project. Declare lines, real head lines and the lines that
/// `CheckLines` says hold no call are no calls here; an index entry that is no real head
/// (a variable named "Procedure...") is no procedure. Several heads of one name each get
/// the calls of that name, as in the procedure-call listing.
class CallGraph {
 public:
  /// Builds the graph of `procedures` over `text`, polling `host` once per line it looks
  /// at. Stopped when the host reported a stop (the graph is then incomplete and must not
  /// be used).
  ListingEnd Build(const ProjectText& text, const ProcedureIndex& procedures, ListingHost& host);
  /// As `Build` for `text` read from the files of `project`: a file whose bytes, procedures
  /// and module rules are those of a piece in `project.Pieces` is not swept again (polled
  /// once), and the pieces of the files swept are kept there.
  ListingEnd Build(const ProjectText& text, Project& project, ListingHost& host);
  /// As `Build`, but finds only the sites in the bodies of `callers` (indexes of the
  /// procedure index), sweeping only the files that hold their heads: `SitesIn` gives each
  /// of them exactly as after `Build`; the other callers have no sites, `SitesOf` only
  /// these.
  ListingEnd BuildIn(const ProjectText& text, const ProcedureIndex& procedures,
                     const std::vector<int32_t>& callers, ListingHost& host);
  /// As `BuildIn` with the pieces of `project`, found and kept as `Build` does.
  ListingEnd BuildIn(const ProjectText& text, Project& project,
                     const std::vector<int32_t>& callers, ListingHost& host);

  /// Number of procedures of the index the graph was built for.
  size_t ProcedureCount() const { return callee_starts_.empty() ? 0 : callee_starts_.size() - 1; }
  /// Every site, by callee in index order, then by line.
  const std::vector<CallSite>& Sites() const { return sites_; }
  /// The sites that call `callee` (an index of the procedure index), in line order.
  SiteSpan SitesOf(int32_t callee) const;
  /// The sites in the body of `caller` (an index of the procedure index), in line order,
  /// the calls of one line in index order of their callees.
  std::vector<const CallSite*> SitesIn(int32_t caller) const;
  /// The callees of the sites that `SitesIn(caller)` gives, in the same order, read from
  /// one run of memory.
  CalleeSpan CalleesIn(int32_t caller) const;
  /// The Declare lines of the whole text, in line order, after `Build`; none after `BuildIn`.
  const std::vector<GraphDeclare>& Declares() const { return declares_; }
  /// Line id of the head of `procedure` (an index of the procedure index) in the project
  /// text; npos when the text does not hold it or it is no real head.
  size_t HeadLine(int32_t procedure) const;

 private:
  ListingEnd BuildFrom(const ProjectText& text, const ProcedureIndex& procedures,
                       Project* project, const std::vector<int32_t>* callers, ListingHost& host);
  void Assemble(const ProjectText& text, const ProcedureIndex& procedures,
                const std::vector<const FileSites*>& files,
                const std::vector<std::pair<size_t, int32_t>>& heads, bool listed_callers_only);
  void AddDeclares(const FileSites& file, size_t first_line);
  /// Indexes `sites_`, which come in line order and, on one line, in callee order.
  void IndexSites(size_t procedures);

  std::vector<CallSite> sites_;
  std::vector<GraphDeclare> declares_;
  std::vector<size_t> head_lines_;     ///< per procedure, its head's line id or npos
  std::vector<size_t> callee_starts_;  ///< per procedure, first site; one more at the end
  std::vector<size_t> by_caller_;      ///< site indexes of listed callers, by caller, line
  std::vector<size_t> caller_starts_;  ///< per procedure, first entry of `by_caller_`
  std::vector<int32_t> callees_by_caller_;  ///< per entry of `by_caller_`, its site's callee
};
