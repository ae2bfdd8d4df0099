// Where the calls of a procedure can stand. A call needs the procedure's name, letters
// folded, followed by blanks and "(" in the line prepared without the key; so the token
// before such a "(" (the run of letters, digits and "_", or else the one other character)
// is the name's own last token, and one sweep over the project finds every candidate line
// of every procedure at once, whatever characters its name holds.
#pragma once

#include <string>
#include <string_view>
#include <cstdint>
#include <vector>

#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/project_text.h"

/// The name part of a call key: the key without its closing "(".
std::string_view CallKeyName(std::string_view key);

/// The last token of a name: its trailing run of A-Z, a-z, 0-9 and "_", or its last
/// character when it ends in another one; empty for an empty name.
std::string_view LastCallToken(std::string_view name);

/// True when closing up blanks for `key` can turn a head line into a non-head: only a
/// name that ends "Procedure" (the empty name too) can close up "Procedure (x)".
bool CloseUpCanUnmakeHead(std::string_view key);

/// The candidate lines of every procedure of an index whose name is not empty.
class CallCandidates {
 public:
  /// Candidates of the procedures of `procedures`, none found yet.
  explicit CallCandidates(const ProcedureIndex& procedures);

  /// Sweeps the lines of `text` that a call search looks at (all but heads), calling
  /// `host.PollStop()` once per line; false when the host reported a stop (the candidates
  /// are then incomplete and must not be searched).
  bool Sweep(const ProjectText& text, ListingHost& host);
  /// As `Sweep` for the lines from `first` to before `last` only; several runs must come
  /// in ascending order, one after the other, so that each name's lines stay ascending.
  bool SweepLines(const ProjectText& text, size_t first, size_t last, ListingHost& host);

  /// Ascending ids of the lines that may call `name` (a name of one of the procedures):
  /// every line that calls it is among them, and some others may be. Empty for any other
  /// name and for the empty name.
  const std::vector<size_t>& LinesFor(std::string_view name) const;

  /// Number of distinct last tokens of the procedures' names.
  size_t TokenCount() const { return tokens_.size(); }
  /// Index (below `TokenCount()`) of the last token of `name`; npos when no procedure's
  /// name ends in it, and for the empty name.
  size_t TokenOf(std::string_view name) const;
  /// Puts the distinct indices of the tokens that stand before a "(" of the `prepared`
  /// line (with only blanks between) into `tokens`, in their order in the line.
  void CallTokens(std::string_view prepared, std::vector<size_t>& tokens) const;

 private:
  void AddLine(std::string_view prepared, size_t line);
  size_t FindToken(std::string_view token) const;
  /// A word of a line and its hash as `FindToken` hashes it. Plain data, so that a line's
  /// batch of them is not cleared before it is filled (a cost of every line).
  struct HashedWord {
    const char* Begin;
    size_t Length;
    uint64_t Hash;
    std::string_view Text() const { return {Begin, Length}; }
  };
  static HashedWord WordEndingAt(const char* begin, const char* end);
  /// The hash of a last token (`LastCallToken`), as `WordEndingAt` hashes it in a line.
  static uint64_t TokenHash(std::string_view token);
  bool MayBeToken(uint64_t hash) const;
  size_t FindHashedToken(std::string_view token, uint64_t hash) const;
  void AddTokensOf(const HashedWord* words, size_t count, std::vector<size_t>& tokens) const;

  /// A slot of the hash table: a token's index + 1 (0 for a free slot) and the upper half
  /// of its hash, so that most probes need not look at the token itself.
  struct Slot {
    uint32_t Token = 0;
    uint32_t Tag = 0;
  };

  // The folded tokens of the procedures' names with their lines, found through an open
  // hash table: one probe into a flat array per "(" of the project, where a map of strings
  // chases a node.
  std::vector<std::string> tokens_;
  std::vector<std::vector<size_t>> lines_;
  std::vector<Slot> slots_;
  /// One bit per hash value of the tokens' hashes, cut to the filter's size: most words
  /// before a "(" name no procedure, and their bit says so without a probe into the table.
  std::vector<uint64_t> filter_;
  std::vector<size_t> line_tokens_;  ///< the tokens of the line being added, kept for its storage
};
