// A line that is a real head, holds no calls by the checks' reading or is a Declare gives
// no site; on any other line a call of a key needs the key's last token before one of the
// "(" of the line prepared without the key (see `CallCandidates`), so only those keys are
// tried. A key that closing up can turn a head into a non-head for (a name that ends
// "Procedure", when the project has a head without a name) and the empty name are tried on
// every line with their own preparation, as a pass per key would.
#include "listings/graph_sweep.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "listings/call_matching.h"
#include "listings/procedure_bounds.h"
#include "source/line_classification.h"
#include "source/text_parts.h"

// A key, a module and whether an entry is a real head follow from its head text and its
// module, which are taken as they are. Each text is written with its length first, so that
// no two indexes give the same inputs.
std::string SiteInputsOf(const ProjectText& text, const ProcedureIndex& procedures) {
  std::string inputs;
  const auto add = [&inputs](std::string_view part) {
    inputs += std::to_string(part.size());
    inputs += ':';
    inputs += part;
  };
  for (const ProcedureEntry& entry : procedures) {
    add(entry.HeadText);
    add(entry.Module);
  }
  add(text.HasModuleStatements() ? "modules" : "no modules");
  add(ProcedureBounds(text).HasUnnamedHead() ? "unnamed head" : "named heads");
  return inputs;
}

GraphSweep::GraphSweep(const ProjectText& text, const ProcedureIndex& procedures)
    : text_(text), candidates_(procedures), scope_(text, procedures),
      keys_of_token_(candidates_.TokenCount()) {
  AddKeys(procedures);
  const bool unnamed_head = ProcedureBounds(text).HasUnnamedHead();
  for (uint32_t key = 0; key < keys_.size(); ++key) {
    const std::string& text_of_key = keys_[key].Text;
    const std::string_view name = CallKeyName(text_of_key);
    keys_[key].OneToken = !name.empty() && LastCallToken(name).size() == name.size();
    const size_t token = candidates_.TokenOf(name);
    if (token == std::string::npos || (unnamed_head && CloseUpCanUnmakeHead(text_of_key))) {
      own_preparation_keys_.push_back(key);
    } else {
      keys_of_token_[token].push_back(key);
    }
  }
}

// The real heads' entries grouped by key, keys in order of their first entry; each key's
// targets once.
void GraphSweep::AddKeys(const ProcedureIndex& procedures) {
  std::unordered_map<std::string, size_t> key_of;
  for (size_t entry = 0; entry < procedures.size(); ++entry) {
    if (!IsRealProcedureHead(procedures[entry].HeadText)) continue;
    std::string text = CallKeyFromHead(procedures[entry].HeadText);
    const auto [found, added] = key_of.try_emplace(text, keys_.size());
    if (added) {
      keys_.emplace_back();
      keys_.back().Having = scope_.ModulesHaving(CallKeyName(text));
      keys_.back().Text = std::move(text);
    }
    Key& key = keys_[found->second];
    const CallTarget target = TargetOf(procedures[entry]);
    const auto same = std::find_if(key.Targets.begin(), key.Targets.end(),
                                   [&](const CallTarget& known) { return SameTarget(known, target); });
    key.TargetOf.push_back(static_cast<uint32_t>(same - key.Targets.begin()));
    if (same == key.Targets.end()) key.Targets.push_back(target);
    key.Callees.push_back(static_cast<int32_t>(entry));
  }
}

bool GraphSweep::SweepFile(size_t file, ListingHost& host, FileSites& sites) {
  sites = FileSites();
  if (lines_.ReadFile(text_, file, host) == ListingEnd::Stopped) return false;
  const ProjectFile& source = text_.Files()[file];
  const auto first_line = static_cast<uint32_t>(source.FirstLine);
  for (size_t line = source.FirstLine; line < source.FirstLine + source.LineCount; ++line) {
    SweepLine(line, first_line, sites);
    if (host.PollStop()) return false;
  }
  return true;
}

// A Declare is no call, wherever it stands; the Declare check reads it with its module.
void GraphSweep::SweepLine(size_t line, uint32_t first_line, FileSites& sites) {
  const auto offset = static_cast<uint32_t>(line - first_line);
  const CheckLine kind = lines_.KindOf(line);
  if (text_.IsDeclare(line)) {
    sites.Declares.push_back({offset, std::string(scope_.ModuleAt(line))});
  } else if (kind == CheckLine::Head) {
    sites.RealHeads.push_back(offset);
  } else if (kind != CheckLine::NoCall) {
    SweepCalls(line, first_line, sites);
  }
}

// A call in a Macro body runs where the macro is used: it has no enclosing body. The body
// is looked up only for a line with calls, which most lines are not.
void GraphSweep::SweepCalls(size_t line, uint32_t first_line, FileSites& sites) {
  const std::string_view source = text_.SourceLine(line);
  FileSite where;
  where.Line = static_cast<uint32_t>(line - first_line);
  where.InMacro = lines_.KindOf(line) == CheckLine::MacroBody;
  line_sites_.clear();
  if (text_.CallKind(line) != LineKind::Head) {
    candidates_.CallTokens(PrepareCallLine(source), tokens_);
    for (const size_t token : tokens_) {
      for (const uint32_t key : keys_of_token_[token]) TryKey(keys_[key], line, false, where);
    }
  }
  for (const uint32_t key : own_preparation_keys_) TryKey(keys_[key], line, true, where);
  if (line_sites_.empty()) return;
  const size_t head = where.InMacro ? std::string::npos : lines_.BodyHead(line);
  for (FileSite& site : line_sites_) {
    site.Head = head == std::string::npos ? NoBodyHead : static_cast<uint32_t>(head - first_line);
  }
  std::sort(line_sites_.begin(), line_sites_.end(),
            [](const FileSite& a, const FileSite& b) { return a.Callee < b.Callee; });
  sites.Sites.insert(sites.Sites.end(), line_sites_.begin(), line_sites_.end());
}

// With its own preparation a line may be a comment or a head for the key, and then holds
// no call of it. A key whose name is one token, found before a "(" of the prepared line,
// stands in the line followed by blanks and "(": what `MayHoldCall` would find.
void GraphSweep::TryKey(const Key& key, size_t line, bool own_preparation, const FileSite& where) {
  const std::string_view source = text_.SourceLine(line);
  if ((own_preparation || !key.OneToken) && !MayHoldCall(source, key.Text)) return;
  const NormalizedCallLine prepared(source, key.Text);
  if (own_preparation && (IsCommentLine(prepared.Text()) || IsProcedureHead(prepared.Text()))) {
    return;
  }
  calls_.clear();
  for (const CallTarget& target : key.Targets) {
    calls_.push_back(scope_.FindTargetCallIn(key.Having, line, prepared.Text(), key.Text, target));
  }
  for (size_t callee = 0; callee < key.Callees.size(); ++callee) {
    const TargetCall& call = calls_[key.TargetOf[callee]];
    if (call.Found == 0) continue;
    FileSite& site = line_sites_.emplace_back(where);
    site.Callee = key.Callees[callee];
    site.OtherCase = call.Found < 0;
    site.Ambiguous = call.Ambiguous;
  }
}
