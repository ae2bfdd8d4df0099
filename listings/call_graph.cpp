// The call graph. The procedure-call search already finds every call of one key on its
// candidate lines only; running it once per distinct key covers each candidate line once
// per key whose last token it holds, so the whole graph costs about one pass over the
// project. The enclosing head of each call is then matched to its entry of the index.
#include "listings/call_graph.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "listings/call_matching.h"
#include "listings/call_search.h"
#include "listings/call_sweep.h"
#include "listings/module_scope.h"
#include "listings/procedures_list.h"
#include "source/line_classification.h"
#include "source/text_parts.h"

namespace {

/// The head line ids of the index entries, ascending, with their entry's index.
using HeadLines = std::vector<std::pair<size_t, int32_t>>;

std::string HeadKey(std::string_view file_name, int32_t line_number, std::string_view head) {
  std::string key(file_name);
  key += '\n';
  key += std::to_string(line_number);
  key += '\n';
  key += head;
  return key;
}

// Each entry takes the line at its line number in a file of its file name that still
// holds its head; the n-th entry of one file name, line and head takes the n-th such line
// in list order, so heads pair with entries in order even when two files share a name. An
// entry whose head the text no longer holds (a file changed since the take-up) pairs with
// none and so owns no calls.
class HeadPlaces {
 public:
  explicit HeadPlaces(const ProjectText& text) : text_(text) {
    for (size_t file = 0; file < text.Files().size(); ++file) {
      files_of_name_[text.Files()[file].FileName].push_back(file);
    }
  }

  /// Line id of the head of `entry` when `earlier` entries of its place and head come
  /// before it in the index; npos when the text holds no such line.
  size_t LineOf(const ProcedureEntry& entry, size_t earlier) const {
    const auto files = files_of_name_.find(entry.FileName);
    if (files == files_of_name_.end() || entry.LineNumber < 1) return std::string::npos;
    for (const size_t file : files->second) {
      const ProjectFile& source = text_.Files()[file];
      if (static_cast<size_t>(entry.LineNumber) > source.LineCount) continue;
      const size_t line = source.FirstLine + static_cast<size_t>(entry.LineNumber) - 1;
      if (ListedHeadText(text_.SourceLine(line)) == entry.HeadText && earlier-- == 0) return line;
    }
    return std::string::npos;
  }

 private:
  const ProjectText& text_;
  std::unordered_map<std::string_view, std::vector<size_t>> files_of_name_;
};

bool SamePlace(const ProcedureEntry& a, const ProcedureEntry& b) {
  return a.LineNumber == b.LineNumber && a.FileName == b.FileName && a.HeadText == b.HeadText;
}

/// The head lines of every entry of the index.
HeadLines ListedHeadLines(const ProjectText& text, const ProcedureIndex& procedures) {
  const HeadPlaces places(text);
  std::unordered_map<std::string, size_t> seen;
  HeadLines heads;
  for (size_t entry = 0; entry < procedures.size(); ++entry) {
    const ProcedureEntry& head = procedures[entry];
    const size_t earlier = seen[HeadKey(head.FileName, head.LineNumber, head.HeadText)]++;
    const size_t line = places.LineOf(head, earlier);
    if (line != std::string::npos) heads.emplace_back(line, static_cast<int32_t>(entry));
  }
  std::sort(heads.begin(), heads.end());
  return heads;
}

/// The head lines of the entries `wanted` of the index.
HeadLines HeadLinesOf(const ProjectText& text, const ProcedureIndex& procedures,
                      const std::vector<int32_t>& wanted) {
  const HeadPlaces places(text);
  HeadLines heads;
  for (const int32_t entry : wanted) {
    const ProcedureEntry& head = procedures[static_cast<size_t>(entry)];
    const size_t earlier = static_cast<size_t>(
        std::count_if(procedures.begin(), procedures.begin() + entry,
                      [&](const ProcedureEntry& other) { return SamePlace(other, head); }));
    const size_t line = places.LineOf(head, earlier);
    if (line != std::string::npos) heads.emplace_back(line, entry);
  }
  std::sort(heads.begin(), heads.end());
  return heads;
}

/// `heads` without the lines that are no real heads.
HeadLines RealHeads(HeadLines heads, const CheckLines& lines) {
  heads.erase(std::remove_if(heads.begin(), heads.end(),
                             [&](const auto& head) { return lines.KindOf(head.first) != CheckLine::Head; }),
              heads.end());
  return heads;
}

int32_t CallerOf(const HeadLines& heads, size_t head_line) {
  if (head_line == std::string::npos) return MainCode;
  const auto found = std::lower_bound(heads.begin(), heads.end(),
                                      std::make_pair(head_line, int32_t{0}));
  return found != heads.end() && found->first == head_line ? found->second : UnlistedProcedure;
}

/// The real heads' index entries of each distinct call key, keys in order of their first entry.
std::vector<std::pair<std::string, std::vector<int32_t>>> EntriesByKey(
    const ProcedureIndex& procedures) {
  std::vector<std::pair<std::string, std::vector<int32_t>>> groups;
  std::unordered_map<std::string, size_t> group_of;
  for (size_t entry = 0; entry < procedures.size(); ++entry) {
    if (!IsRealProcedureHead(procedures[entry].HeadText)) continue;
    std::string key = CallKeyFromHead(procedures[entry].HeadText);
    const auto [found, added] = group_of.try_emplace(key, groups.size());
    if (added) groups.emplace_back(std::move(key), std::vector<int32_t>());
    groups[found->second].second.push_back(static_cast<int32_t>(entry));
  }
  return groups;
}

/// Offsets of the runs of `count` groups, one more at the end, from each item's group.
template <typename GroupOf>
std::vector<size_t> RunStarts(size_t count, size_t items, const GroupOf& group_of) {
  std::vector<size_t> starts(count + 1, 0);
  for (size_t item = 0; item < items; ++item) ++starts[static_cast<size_t>(group_of(item)) + 1];
  std::partial_sum(starts.begin(), starts.end(), starts.begin());
  return starts;
}

}  // namespace

std::vector<int32_t> HeadsNamed(const ProcedureIndex& procedures, std::string_view name,
                                bool without_module) {
  const QualifiedName qualified = SplitQualifiedName(name);
  const std::string key = CallKeyFromName(qualified.Name);
  const auto of_module = [&](const ProcedureEntry& entry) {
    if (qualified.Module) return FoldedName(entry.Module) == FoldedName(*qualified.Module);
    return !without_module || entry.Module.empty();
  };
  std::vector<int32_t> heads;
  for (size_t entry = 0; entry < procedures.size(); ++entry) {
    if (CallKeyFromHead(procedures[entry].HeadText) == key && of_module(procedures[entry])) {
      heads.push_back(static_cast<int32_t>(entry));
    }
  }
  return heads;
}

ListingEnd CallGraph::Build(const ProjectText& text, const ProcedureIndex& procedures,
                            ListingHost& host) {
  if (lines_.Read(text, host) == ListingEnd::Stopped) return ListingEnd::Stopped;
  ProcedureCallSearch search(text, procedures);
  return Fill(text, procedures, RealHeads(ListedHeadLines(text, procedures), lines_), search,
              false, host);
}

ListingEnd CallGraph::BuildIn(const ProjectText& text, const ProcedureIndex& procedures,
                              const std::vector<int32_t>& callers, ListingHost& host) {
  if (lines_.Read(text, host) == ListingEnd::Stopped) return ListingEnd::Stopped;
  const HeadLines heads = RealHeads(HeadLinesOf(text, procedures, callers), lines_);
  std::vector<std::pair<size_t, size_t>> bodies;
  for (const auto& [line, entry] : heads) bodies.emplace_back(line + 1, lines_.BodyEnd(line));
  ProcedureCallSearch search(text, procedures, std::move(bodies));
  return Fill(text, procedures, heads, search, true, host);
}

ListingEnd CallGraph::Fill(const ProjectText& text, const ProcedureIndex& procedures,
                           const HeadLines& heads, ProcedureCallSearch& search,
                           bool listed_callers_only, ListingHost& host) {
  sites_.clear();
  callee_starts_.clear();
  head_lines_.assign(procedures.size(), std::string::npos);
  for (const auto& [line, entry] : heads) head_lines_[static_cast<size_t>(entry)] = line;
  const auto keys = EntriesByKey(procedures);
  const auto add_sites = [&](size_t k) {
    return [&, k](const CallHit& hit) {
      AddSites(text, procedures, heads, keys[k].second, listed_callers_only, search.Scope(),
               keys[k].first, hit);
    };
  };
  if (listed_callers_only) {
    // A few bodies: their lines are indexed and searched per key.
    if (!search.Index(host)) return ListingEnd::Stopped;
    for (size_t k = 0; k < keys.size(); ++k) {
      if (search.FindCalls(keys[k].first, CallTarget(), host, add_sites(k))) return ListingEnd::Stopped;
    }
  } else {
    std::vector<SweptKey> swept;
    for (const auto& [key, callees] : keys) swept.push_back({key, CallTarget()});
    CallSweep sweep(search, text, swept);
    if (!sweep.Sweep(host)) return ListingEnd::Stopped;
    for (size_t k = 0; k < keys.size(); ++k) {
      if (sweep.Calls(k, host, add_sites(k))) return ListingEnd::Stopped;
    }
  }
  IndexSites(procedures.size());
  return ListingEnd::Finished;
}

// A hit is a call of the name; which procedures of the name it calls, and in which letter
// case, the module rules decide (every one of them in a project without modules). A call
// in a Macro body runs where the macro is used: the checks take it as main code's.
void CallGraph::AddSites(const ProjectText& text, const ProcedureIndex& procedures,
                         const HeadLines& heads, const std::vector<int32_t>& callees,
                         bool listed_callers_only, const ModuleScope& scope,
                         std::string_view key, const CallHit& hit) {
  const CheckLine kind = lines_.KindOf(hit.Line);
  if (kind == CheckLine::Head || kind == CheckLine::NoCall || IsDeclareLine(text.SourceLine(hit.Line))) {
    return;
  }
  const bool in_macro = kind == CheckLine::MacroBody;
  const int32_t caller = in_macro ? MainCode : CallerOf(heads, lines_.BodyHead(hit.Line));
  if (listed_callers_only && caller < 0) return;
  for (const int32_t callee : callees) {
    const CallTarget target = TargetOf(procedures[static_cast<size_t>(callee)]);
    const TargetCall call = scope.Active() ? scope.FindTargetCall(hit.Line, hit.Prepared, key, target)
                                           : TargetCall{hit.Found, hit.Ambiguous};
    if (call.Found != 0) {
      sites_.push_back({callee, caller, hit.File, hit.LineNumber, hit.Line, call.Found < 0,
                        call.Ambiguous, in_macro});
    }
  }
}

SiteSpan CallGraph::SitesOf(int32_t callee) const {
  if (callee < 0 || static_cast<size_t>(callee) + 1 >= callee_starts_.size()) return {};
  const CallSite* const first = sites_.data();
  return {first + callee_starts_[static_cast<size_t>(callee)],
          first + callee_starts_[static_cast<size_t>(callee) + 1]};
}

std::vector<const CallSite*> CallGraph::SitesIn(int32_t caller) const {
  std::vector<const CallSite*> sites;
  if (caller < 0 || static_cast<size_t>(caller) + 1 >= caller_starts_.size()) return sites;
  for (size_t entry = caller_starts_[static_cast<size_t>(caller)];
       entry < caller_starts_[static_cast<size_t>(caller) + 1]; ++entry) {
    sites.push_back(&sites_[by_caller_[entry]]);
  }
  return sites;
}

size_t CallGraph::HeadLine(int32_t procedure) const {
  if (procedure < 0 || static_cast<size_t>(procedure) >= head_lines_.size()) return std::string::npos;
  return head_lines_[static_cast<size_t>(procedure)];
}

// Each key's sites arrive in line order, so a stable sort by callee keeps that order.
void CallGraph::IndexSites(size_t procedures) {
  std::stable_sort(sites_.begin(), sites_.end(),
                   [](const CallSite& a, const CallSite& b) { return a.Callee < b.Callee; });
  callee_starts_ = RunStarts(procedures, sites_.size(),
                             [this](size_t site) { return sites_[site].Callee; });
  by_caller_.clear();
  for (size_t site = 0; site < sites_.size(); ++site) {
    if (sites_[site].Caller >= 0) by_caller_.push_back(site);
  }
  std::sort(by_caller_.begin(), by_caller_.end(), [this](size_t a, size_t b) {
    return std::tie(sites_[a].Caller, sites_[a].Line, sites_[a].Callee) <
           std::tie(sites_[b].Caller, sites_[b].Line, sites_[b].Callee);
  });
  caller_starts_ = RunStarts(procedures, by_caller_.size(),
                             [this](size_t entry) { return sites_[by_caller_[entry]].Caller; });
}
