// The call graph's own pass over a file: the call sites of every procedure of the index on
// each line, found without making any row. Per line, the tokens before its "(" are looked
// up once, each key of such a token is tried once, and the module rules are asked once per
// distinct target of that key, however many procedures share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "listings/call_candidates.h"
#include "listings/call_site_pieces.h"
#include "listings/check_lines.h"
#include "listings/listing_host.h"
#include "listings/module_scope.h"
#include "listings/project.h"
#include "listings/project_text.h"

/// What every file's sites depend on besides its own bytes, as one text: per entry of
/// `procedures` its head text and module; whether the module rules apply to `text`, and
/// whether a head of `text` has no name.
std::string SiteInputsOf(const ProjectText& text, const ProcedureIndex& procedures);

/// Finds the call sites of the files of one project text.
class GraphSweep {
 public:
  /// A pass over `text` for the real heads of `procedures` (both must outlive it).
  GraphSweep(const ProjectText& text, const ProcedureIndex& procedures);

  /// The sites, real heads and Declare lines of file `file` into `sites`, polling `host`
  /// once per line read; false when the host reported a stop (`sites` is then incomplete).
  bool SweepFile(size_t file, ListingHost& host, FileSites& sites);

 private:
  /// One distinct call key of real heads, with its procedures and their targets.
  struct Key {
    std::string Text;
    std::vector<int32_t> Callees;       ///< index entries, ascending
    std::vector<uint32_t> TargetOf;     ///< per callee, its index in `Targets`
    std::vector<CallTarget> Targets;    ///< the distinct targets of the callees
    const std::vector<std::string>* Having = nullptr;  ///< `ModuleScope::ModulesHaving`
    bool OneToken = false;  ///< its name is its last token: found before a "(", it may hold a call
  };

  void AddKeys(const ProcedureIndex& procedures);
  void SweepLine(size_t line, uint32_t first_line, FileSites& sites);
  void SweepCalls(size_t line, uint32_t first_line, FileSites& sites);
  void TryKey(const Key& key, size_t line, bool own_preparation, const FileSite& where);

  const ProjectText& text_;
  CallCandidates candidates_;
  ModuleScope scope_;
  CheckLines lines_;
  std::vector<Key> keys_;
  std::vector<std::vector<uint32_t>> keys_of_token_;  ///< per token, its keys
  std::vector<uint32_t> own_preparation_keys_;        ///< keys a line must be prepared for
  std::vector<size_t> tokens_;                        ///< the tokens of the line being swept
  std::vector<TargetCall> calls_;                     ///< per target of the key being tried
  std::vector<FileSite> line_sites_;                  ///< the sites of the line being swept
};
