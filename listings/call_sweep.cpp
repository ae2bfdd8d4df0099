#include "listings/call_sweep.h"

#include <algorithm>

#include "listings/call_candidates.h"
#include "listings/call_matching.h"
#include "listings/module_scope.h"
#include "source/line_classification.h"

std::vector<SweptKey> EntryKeys(const ProcedureIndex& procedures) {
  std::vector<SweptKey> keys;
  keys.reserve(procedures.size());
  for (const ProcedureEntry& entry : procedures) {
    keys.push_back({CallKeyFromHead(entry.HeadText), TargetOf(entry)});
  }
  return keys;
}

CallSweep::CallSweep(const ProcedureCallSearch& search, const ProjectText& text,
                     const std::vector<SweptKey>& keys)
    : search_(search), text_(text) {
  std::vector<std::vector<TokenKey>> keys_of_token(search.Candidates().TokenCount());
  group_of_key_.reserve(keys.size());
  for (const SweptKey& key : keys) AddKey(key, keys_of_token);
  LayOut(keys_of_token);
}

// Searches of the same key and target share a group; a key's groups are listed under its
// token, unless only a full pass finds its calls.
void CallSweep::AddKey(const SweptKey& swept, std::vector<std::vector<TokenKey>>& keys_of_token) {
  const std::string& key = swept.Key;
  const CallTarget& target = swept.Target;
  const size_t token = search_.Candidates().TokenOf(CallKeyName(key));
  const bool full_pass = search_.NeedsFullPass(key) || token == std::string_view::npos;
  TokenKey* same_key = nullptr;
  if (!full_pass) {
    for (TokenKey& listed : keys_of_token[token]) {
      if (groups_[listed.FirstGroup].Key == key) same_key = &listed;
    }
  }
  for (const size_t group : same_key ? same_key->Groups : std::vector<size_t>()) {
    if (SameTarget(groups_[group].Target, target)) {
      group_of_key_.push_back(group);
      return;
    }
  }
  const size_t group = groups_.size();
  group_of_key_.push_back(group);
  groups_.push_back({key, target, full_pass});
  if (full_pass) return;
  if (!same_key) same_key = &keys_of_token[token].emplace_back(TokenKey{group, {}});
  same_key->Groups.push_back(group);
}

// The keys of each token one after the other, their groups likewise, and their texts and
// modules copied into arrays of their own in the same order: the pass reads them for keys
// all over the project, and dense copies stay in the cache where the originals (each
// beside its group, or in the module rules) would not.
void CallSweep::LayOut(const std::vector<std::vector<TokenKey>>& keys_of_token) {
  first_pass_key_.reserve(keys_of_token.size() + 1);
  std::vector<CopyStarts> starts;
  for (const std::vector<TokenKey>& keys : keys_of_token) {
    first_pass_key_.push_back(static_cast<uint32_t>(pass_keys_.size()));
    for (const TokenKey& key : keys) starts.push_back(LayOutKey(key));
  }
  first_pass_key_.push_back(static_cast<uint32_t>(pass_keys_.size()));
  // The copies moved while their arrays grew: the keys view them only now.
  for (size_t at = 0; at < pass_keys_.size(); ++at) {
    PassKey& key = pass_keys_[at];
    key.Key = std::string_view(key_texts_).substr(starts[at].Text, key.Key.size());
    if (key.Having.Data != nullptr) key.Having.Data = key_modules_.data() + starts[at].Modules;
  }
}

// The key views its group's text until `LayOut` points it at the copy.
CallSweep::CopyStarts CallSweep::LayOutKey(const TokenKey& key) {
  const std::string_view text = groups_[key.FirstGroup].Key;
  const std::string_view name = CallKeyName(text);
  const ModuleNames having = NamesOf(search_.Scope().ModulesHaving(name));
  const CopyStarts starts{key_texts_.size(), key_modules_.size()};
  key_texts_ += text;
  if (having.Data != nullptr) {
    key_modules_.insert(key_modules_.end(), having.Data, having.Data + having.Count);
  }
  pass_keys_.push_back({text, having, static_cast<uint32_t>(key_groups_.size()),
                        static_cast<uint32_t>(key.Groups.size()),
                        LastCallToken(name).size() == name.size()});
  for (const size_t group : key.Groups) {
    key_groups_.push_back({static_cast<uint32_t>(group), groups_[group].Target});
  }
  return starts;
}

bool CallSweep::Sweep(ListingHost& host) {
  found_.clear();
  found_count_ = 0;
  calls_.clear();
  first_call_.clear();
  places_.clear();
  shared_place_ = std::string_view::npos;
  labels_ = std::make_shared<std::string>();
  prepared_head_ = std::string_view::npos;
  std::vector<size_t> tokens;
  for (size_t file = 0; file < text_.Files().size(); ++file) {
    if (!SweepFile(file, host, tokens)) return false;
  }
  SortByGroup();
  return true;
}

// A counting sort: the calls of each group keep their line order.
void CallSweep::SortByGroup() {
  first_call_.assign(groups_.size() + 1, 0);
  for (const auto& block : found_) {
    for (const Found& found : block) ++first_call_[found.Group + 1];
  }
  for (size_t group = 0; group < groups_.size(); ++group) {
    first_call_[group + 1] += first_call_[group];
  }
  std::vector<size_t> next(first_call_.begin(), first_call_.end() - 1);
  calls_.resize(found_count_);
  for (const auto& block : found_) {
    for (const Found& found : block) calls_[next[found.Group]++] = found.Call;
  }
  decltype(found_)().swap(found_);
}

// The first block grows as a vector does, so that a small project's few calls take little
// memory; a project that filled it is large, and its further blocks are whole at once.
void CallSweep::KeepFound(const Found& found) {
  if (found_.empty() || found_.back().size() == kFoundBlock) {
    found_.emplace_back();
    if (found_.size() > 1) found_.back().reserve(kFoundBlock);
  }
  found_.back().push_back(found);
  ++found_count_;
}

bool CallSweep::SweepFile(size_t file, ListingHost& host, std::vector<size_t>& tokens) {
  SweptLine swept;
  swept.File = file;
  swept.FirstLine = text_.Files()[file].FirstLine;
  const size_t end = swept.FirstLine + text_.Files()[file].LineCount;
  for (size_t line = swept.FirstLine; line < end; ++line) {
    if (text_.CallKind(line) != LineKind::Head) {
      swept.Line = line;
      swept.HeadFound = false;
      SweepLine(swept, tokens);
    }
    if (host.PollStop()) return false;
  }
  return true;
}

// A key's call needs its last token before a "(" of the line prepared without the key, so
// only the keys of those tokens are tried. The line is prepared once for all of them.
void CallSweep::SweepLine(SweptLine& swept, std::vector<size_t>& tokens) {
  swept.Source = text_.SourceLine(swept.Line);
  const std::string_view prepared = PrepareCallLine(swept.Source);
  search_.Candidates().CallTokens(prepared, tokens);
  if (tokens.empty()) return;
  swept.Prepared = {prepared, HasBlankBeforeParenthesis(prepared)};
  PrefetchKeys(tokens);
  for (const size_t token : tokens) {
    for (uint32_t key = first_pass_key_[token]; key < first_pass_key_[token + 1]; ++key) {
      SweepKey(swept, pass_keys_[key]);
    }
  }
}

// The keys of a line's tokens lie all over their arrays: all are asked for before the
// first is read, and their texts, modules and groups' targets too, so that their waits
// for memory overlap.
void CallSweep::PrefetchKeys(const std::vector<size_t>& tokens) const {
  for (const size_t token : tokens) {
    __builtin_prefetch(pass_keys_.data() + first_pass_key_[token]);
  }
  for (const size_t token : tokens) {
    for (uint32_t key = first_pass_key_[token]; key < first_pass_key_[token + 1]; ++key) {
      __builtin_prefetch(pass_keys_[key].Key.data());
      __builtin_prefetch(pass_keys_[key].Having.Data);
      __builtin_prefetch(key_groups_.data() + pass_keys_[key].FirstGroup);
    }
  }
}

// A name that is its own last token stands, followed by blanks and "(", where the token
// was found: `MayHoldCall` can only say yes then.
void CallSweep::SweepKey(SweptLine& swept, const PassKey& key) {
  if (!key.NameIsToken && !MayHoldCall(swept.Source, key.Key)) return;
  const NormalizedCallLine normalized(swept.Prepared, key.Key);
  for (uint32_t at = key.FirstGroup; at < key.FirstGroup + key.GroupCount; ++at) {
    const KeyGroup& group = key_groups_[at];
    const TargetCall call = search_.Scope().FindTargetCallIn(key.Having, swept.Line,
                                                             normalized.Text(), key.Key, group.Target);
    if (call.Found != 0) KeepFound({Record(swept, key.Key, call, normalized), group.Group});
  }
}

// The head and its label are found now, while the pass is near them (once for a line of
// many calls); the rows are made procedure by procedure, from lines all over the project,
// so where the prepared line stands in its line is kept rather than found again.
CallSweep::SweptCall CallSweep::Record(SweptLine& swept, std::string_view key,
                                       const TargetCall& call, const NormalizedCallLine& prepared) {
  SweptCall found;
  found.Line = static_cast<uint32_t>(swept.Line);
  found.Place = PlaceOf(swept, key);
  found.Sign = static_cast<int8_t>(call.Found);
  found.Flags = call.Ambiguous ? kAmbiguous : 0;
  if (prepared.ClosedUp()) {
    found.Flags |= kClosedUp;
    return found;
  }
  const auto start = static_cast<size_t>(prepared.Text().data() - swept.Source.data());
  if (start > UINT16_MAX || prepared.Text().size() > UINT16_MAX) {
    found.Flags |= kLongLine;
    return found;
  }
  found.PreparedStart = static_cast<uint16_t>(start);
  found.PreparedLength = static_cast<uint16_t>(prepared.Text().size());
  return found;
}

uint32_t CallSweep::PlaceOf(SweptLine& swept, std::string_view key) {
  if (!swept.HeadFound) {
    swept.Head = search_.EnclosingHead(swept.Line, swept.FirstLine);
    swept.HeadFound = true;
  }
  if (swept.Head != std::string_view::npos &&
      NormalizedCallLine(PreparedHead(swept.Head), key).ClosedUp()) {
    places_.push_back(
        {static_cast<uint32_t>(swept.File), static_cast<uint32_t>(swept.Head), 0, 0, true});
    return static_cast<uint32_t>(places_.size() - 1);
  }
  return SharedPlace(swept);
}

// The heads of the calls come in ascending order, so one place and label per head (or
// per file, outside any body) is made.
uint32_t CallSweep::SharedPlace(const SweptLine& swept) {
  const uint32_t head =
      swept.Head == std::string_view::npos ? kNoHead : static_cast<uint32_t>(swept.Head);
  if (shared_place_ != std::string_view::npos && places_[shared_place_].File == swept.File &&
      places_[shared_place_].Head == head) {
    return static_cast<uint32_t>(shared_place_);
  }
  CallPlace place{static_cast<uint32_t>(swept.File), head, labels_->size(), 0, false};
  if (head != kNoHead) {
    *labels_ += HeadLabel(LabelStyle::Bare, static_cast<int32_t>(swept.Head - swept.FirstLine + 1),
                          PreparedHead(swept.Head).Text);
    place.LabelLength = labels_->size() - place.LabelStart;
  }
  shared_place_ = places_.size();
  places_.push_back(place);
  return static_cast<uint32_t>(shared_place_);
}

const PreparedCallLine& CallSweep::PreparedHead(size_t head) {
  if (head != prepared_head_) {
    const std::string_view prepared = PrepareCallLine(text_.SourceLine(head));
    prepared_head_text_ = {prepared, HasBlankBeforeParenthesis(prepared)};
    prepared_head_ = head;
  }
  return prepared_head_text_;
}

bool CallSweep::Calls(size_t index, ListingHost& host, const CallHitHandler& on_hit) const {
  const size_t group_index = group_of_key_[index];
  const Group& group = groups_[group_index];
  if (group.FullPass) return search_.FindCalls(group.Key, group.Target, host, on_hit);
  // The lines lie all over the project: their records and bytes are asked for a few calls
  // ahead, in two steps since the bytes' address is in the record.
  constexpr size_t kRecordsAhead = 16;
  constexpr size_t kBytesAhead = 8;
  const SweptCall* const calls = calls_.data() + first_call_[group_index];
  const size_t count = first_call_[group_index + 1] - first_call_[group_index];
  for (size_t at = 0; at < std::min(count, kRecordsAhead); ++at) text_.PrefetchLine(calls[at].Line);
  for (size_t at = 0; at < count; ++at) {
    if (at + kRecordsAhead < count) text_.PrefetchLine(calls[at + kRecordsAhead].Line);
    if (at + kBytesAhead < count) text_.PrefetchText(calls[at + kBytesAhead].Line);
    HandOn(calls[at], group.Key, on_hit);
    if (host.PollStop()) return true;
  }
  return false;
}

void CallSweep::HandOn(const SweptCall& call, std::string_view key,
                       const CallHitHandler& on_hit) const {
  const CallPlace& place = places_[call.Place];
  const size_t first_line = text_.Files()[place.File].FirstLine;
  const std::string_view source = text_.SourceLine(call.Line);
  std::string closed_up;
  std::string_view prepared = source.substr(call.PreparedStart, call.PreparedLength);
  if ((call.Flags & kClosedUp) != 0) {
    closed_up = NormalizeCallLine(source, key);
    prepared = closed_up;
  } else if ((call.Flags & kLongLine) != 0) {
    prepared = PrepareCallLine(source);
  }
  std::string own_label;
  std::string_view label = std::string_view(*labels_).substr(place.LabelStart, place.LabelLength);
  if (place.OwnLabel) {
    const NormalizedCallLine head(text_.SourceLine(place.Head), key);
    own_label = HeadLabel(LabelStyle::Bare, static_cast<int32_t>(place.Head - first_line + 1),
                          head.Text());
    label = own_label;
  }
  const size_t head = place.Head == kNoHead ? std::string_view::npos : place.Head;
  on_hit({place.File, static_cast<int32_t>(call.Line - first_line + 1), prepared, call.Sign, label,
          head, call.Line, (call.Flags & kAmbiguous) != 0});
}
