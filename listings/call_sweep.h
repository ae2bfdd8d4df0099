// The calls of every procedure of a project found in one pass over its text, for the
// procedure-call listing and the call graph: each line is prepared once, while it is in the cache, and tested
// for the keys whose last token stands before one of its "(", where a search per key
// would visit the same lines again for every key that names them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "listings/block_memory.h"
#include "listings/call_matching.h"
#include "listings/call_search.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/project_text.h"

/// One search of a sweep: the calls of a key that call a target.
struct SweptKey {
  std::string Key;
  CallTarget Target;
};

/// The key and target of each entry of `procedures`, as the procedure-call listing
/// searches them.
std::vector<SweptKey> EntryKeys(const ProcedureIndex& procedures);

/// The calls of many keys, found in one pass.
class CallSweep {
 public:
  /// A sweep of the text of `search` (both must outlive it) for `keys`; their names must
  /// be those of procedures of the index `search` was made with.
  CallSweep(const ProcedureCallSearch& search, const ProjectText& text,
            const std::vector<SweptKey>& keys);
  /// Its keys view its own groups: a copy would view those of the original.
  CallSweep(const CallSweep&) = delete;
  CallSweep& operator=(const CallSweep&) = delete;

  /// Finds the calls of every key in one pass over the lines (those of an earlier pass
  /// forgotten), polling `host` once per line; false when the host reported a stop (no
  /// calls may then be asked for).
  bool Sweep(ListingHost& host);

  /// Hands the calls of key `index` (its index in the keys given) to `on_hit` in line
  /// order, as `ProcedureCallSearch::FindCalls` finds them, polling `host` once per call;
  /// true when the host reported a stop.
  bool Calls(size_t index, ListingHost& host, const CallHitHandler& on_hit) const;
  /// Number of calls that the sweep found, of every key but those that need a full pass.
  size_t CallCount() const { return calls_.size(); }
  /// The bytes that the labels of the last sweep's calls view, so that a list can hold them
  /// (see `ResultList::HoldBytes`) and its rows view the labels instead of copying one per
  /// call. A new sweep leaves them as they are.
  std::shared_ptr<const std::string> LabelBytes() const { return labels_; }

 private:
  /// A call of a group's key on one line, with what its row needs from the lines around.
  /// Lines are counted in 32 bits (4 G lines would take 64 GB of line records), and where
  /// the prepared line stands in 16 bits (a longer line is prepared again for its row), so
  /// that a million calls take 16 MB.
  struct SweptCall {
    uint32_t Line = 0;
    uint32_t Place = 0;           ///< index in `places_`: its file, head and label
    uint16_t PreparedStart = 0;   ///< where the prepared line starts in the line
    uint16_t PreparedLength = 0;  ///< its length, unless the key closed it up or it is long
    int8_t Sign = 0;              ///< +1, or -1 for another letter case
    uint8_t Flags = 0;            ///< `kAmbiguous`, `kClosedUp`, `kLongLine`
  };
  static_assert(sizeof(SweptCall) == 16, "a million calls take 16 MB");
  static constexpr uint8_t kAmbiguous = 1;
  static constexpr uint8_t kClosedUp = 2;  ///< the key closed up blanks: the line is made anew
  static constexpr uint8_t kLongLine = 4;  ///< its place does not fit: the line is prepared anew
  /// A call as the pass finds it, with the group that it is sorted into.
  struct Found {
    SweptCall Call;
    uint32_t Group = 0;
  };
  /// Where calls stand: their file, their enclosing head and its bare label. The calls
  /// under one head share one; a call whose key closes up the head line has its own, and
  /// its row makes that label.
  struct CallPlace {
    uint32_t File = 0;
    uint32_t Head = kNoHead;
    size_t LabelStart = 0;  ///< the label in `labels_`
    size_t LabelLength = 0;
    bool OwnLabel = false;
  };
  static constexpr uint32_t kNoHead = UINT32_MAX;
  /// The searches that share a key and a target, and so their calls.
  struct Group {
    std::string Key;
    CallTarget Target;
    bool FullPass = false;  ///< found by `ProcedureCallSearch::FindCalls` instead
  };
  /// One key of a token and its groups, while the sweep is made.
  struct TokenKey {
    size_t FirstGroup = 0;  ///< the group whose key it is
    std::vector<size_t> Groups;
  };
  /// A group of a key as the pass reads it: its target copied beside its index.
  struct KeyGroup {
    uint32_t Group = 0;
    CallTarget Target;
  };
  /// A key of a token as the pass reads it. The pass visits keys all over the project for
  /// each line, so what it needs lies in flat arrays, token after token, rather than
  /// behind a pointer per token and per key.
  struct PassKey {
    std::string_view Key;  ///< the key of its groups, in `key_texts_`
    ModuleNames Having;  ///< `ModuleScope::ModulesHaving` its name, as a run in `key_modules_`
    uint32_t FirstGroup = 0;   ///< its first group in `key_groups_`
    uint32_t GroupCount = 0;
    bool NameIsToken = false;  ///< the name is its own last token
  };
  /// The line being swept: its id, its file, where that file starts, and its text.
  struct SweptLine {
    size_t Line = 0;
    size_t File = 0;
    size_t FirstLine = 0;
    std::string_view Source;
    PreparedCallLine Prepared;
    size_t Head = std::string_view::npos;  ///< its enclosing head, once a call asked for it
    bool HeadFound = false;
  };

  void AddKey(const SweptKey& key, std::vector<std::vector<TokenKey>>& keys_of_token);
  void LayOut(const std::vector<std::vector<TokenKey>>& keys_of_token);
  /// Where a pass key's copied text and modules start in their arrays.
  struct CopyStarts {
    size_t Text = 0;
    size_t Modules = 0;
  };
  CopyStarts LayOutKey(const TokenKey& key);
  bool SweepFile(size_t file, ListingHost& host, std::vector<size_t>& tokens);
  void SweepLine(SweptLine& swept, std::vector<size_t>& tokens);
  void PrefetchKeys(const std::vector<size_t>& tokens) const;
  void SweepKey(SweptLine& swept, const PassKey& key);
  SweptCall Record(SweptLine& swept, std::string_view key, const TargetCall& call,
                   const NormalizedCallLine& prepared);
  uint32_t PlaceOf(SweptLine& swept, std::string_view key);
  uint32_t SharedPlace(const SweptLine& swept);
  const PreparedCallLine& PreparedHead(size_t head);
  void SortByGroup();
  /// Keeps `found` at the end of `found_`.
  void KeepFound(const Found& found);
  void HandOn(const SweptCall& call, std::string_view key, const CallHitHandler& on_hit) const;

  const ProcedureCallSearch& search_;
  const ProjectText& text_;
  std::vector<Group> groups_;
  std::vector<size_t> group_of_key_;
  std::vector<PassKey> pass_keys_;
  std::vector<uint32_t> first_pass_key_;  ///< per token, then one past the last key
  std::vector<KeyGroup> key_groups_;
  std::string key_texts_;                 ///< the pass keys' texts, in their order
  std::vector<std::string> key_modules_;  ///< the pass keys' modules, in their order
  /// The calls as the pass finds them, in line order, in blocks of `kFoundBlock` that never
  /// move (one array of them all would copy them all as it grows, a wait of several ms
  /// without a Stop poll); then sorted by group into `calls_`, where the calls of group g
  /// stand from `first_call_[g]` to before `first_call_[g + 1]`.
  std::vector<std::vector<Found, BlockAllocator<Found>>> found_;
  static constexpr size_t kFoundBlock = (size_t{2} << 20) / sizeof(Found);  ///< a huge page
  size_t found_count_ = 0;
  std::vector<SweptCall, BlockAllocator<SweptCall>> calls_;
  std::vector<size_t> first_call_;
  std::vector<CallPlace> places_;
  /// The last place that is no call's own, which the next calls under its head share.
  size_t shared_place_ = std::string_view::npos;
  /// The bare labels of the heads that calls stand under, as their lines are prepared
  /// without a key, one after the other. Each sweep makes a new string, as lists may hold
  /// and view the one before.
  std::shared_ptr<std::string> labels_;
  /// The last head whose line was prepared, and that line prepared.
  size_t prepared_head_ = std::string_view::npos;
  PreparedCallLine prepared_head_text_;
};
