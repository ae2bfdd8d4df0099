// The one contract of every listing: what a front end (the window, the report tool) hands
// a listing besides the project, the list it opened and the host, and what the listing
// gives back: how it ended, and the results that are no rows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ListingHost;
class ResultList;
struct Project;
struct CallTrees;

/// How a run ended: it read all it had to, or the user stopped it.
enum class ListingEnd : uint8_t { Finished, Stopped };

/// Which way a call tree grows from its root.
enum class TreeDirection : uint8_t { Callees, Callers };

/// Levels below a tree's root when none is asked for, and at most.
constexpr int DefaultTreeDepth = 4;
constexpr int MaxTreeDepth = 32;

/// What a listing is asked for.
struct ListingRequest {
  std::string Text;             ///< NAME, TERM or TEXT as given; empty for the listings without
  bool WithoutModule = false;   ///< a procedure's listing: only the procedure without module
  TreeDirection Direction = TreeDirection::Callees;  ///< a tree: which way it grows
  int Depth = DefaultTreeDepth;                      ///< a tree: levels below its root
};

/// What a listing gives back besides its rows.
struct ListingResult {
  ListingEnd End = ListingEnd::Finished;
  /// Declare lines (CR LF line ends): of the procedures called above their head for
  /// all-calls, of the missing Declares for declare-check; empty for none.
  std::string DeclareText;
  /// The trees of a tree listing; nullptr for the other listings.
  std::shared_ptr<const CallTrees> Trees;
};

/// A listing: fills `list`, which the front end opened for it, and returns how it ended.
using ListingRun = ListingResult (*)(Project& project, ResultList& list, ListingHost& host,
                                     const ListingRequest& request);

/// The result of a run that ended as `end` and made nothing but rows.
inline ListingResult EndedAs(ListingEnd end) {
  ListingResult result;
  result.End = end;
  return result;
}

/// True when the run was stopped.
inline bool WasStopped(const ListingResult& result) { return result.End == ListingEnd::Stopped; }
