// The call graph. Its own pass (`GraphSweep`) finds the sites of each file from the file's
// lines, the procedures and the module rules alone, so the graph is put together from
// pieces, one per file, and a file whose piece still holds is not swept again. The
// enclosing head of each call is then matched to its entry of the index. The graph of a
// few bodies needs the pieces of their files only.
#include "listings/call_graph.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <numeric>
#include <string>
#include <unordered_map>
#include <utility>

#include "listings/call_matching.h"
#include "listings/call_site_pieces.h"
#include "listings/graph_sweep.h"
#include "listings/procedures_list.h"
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

/// `heads` without the lines that the pieces of their files do not hold as real heads.
HeadLines RealHeads(HeadLines heads, const ProjectText& text,
                    const std::vector<const FileSites*>& files) {
  heads.erase(std::remove_if(heads.begin(), heads.end(),
                             [&](const auto& head) {
                               const size_t file = text.FileOf(head.first);
                               const auto line = static_cast<uint32_t>(head.first - text.Files()[file].FirstLine);
                               const std::vector<uint32_t>& real = files[file]->RealHeads;
                               return !std::binary_search(real.begin(), real.end(), line);
                             }),
              heads.end());
  return heads;
}

int32_t CallerOf(const HeadLines& heads, size_t head_line) {
  if (head_line == std::string::npos) return MainCode;
  const auto found = std::lower_bound(heads.begin(), heads.end(),
                                      std::make_pair(head_line, int32_t{0}));
  return found != heads.end() && found->first == head_line ? found->second : UnlistedProcedure;
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

namespace {

/// The sites of every file of a text: each file's piece, found again or swept now.
class FilePieces {
 public:
  FilePieces(const ProjectText& text, const ProcedureIndex& procedures, Project* project)
      : text_(text), procedures_(procedures), project_(project) {}

  /// Finds the piece of every file (of the files `wanted` holds true for, unless it is
  /// nullptr; the others get no sites), polling `host` once per line swept and once per
  /// file whose piece holds; false when the host reported a stop.
  bool Find(const std::vector<bool>* wanted, ListingHost& host) {
    if (project_ != nullptr) project_->Pieces.UseInputs(SiteInputsOf(text_, procedures_));
    for (size_t file = 0; file < text_.Files().size(); ++file) {
      if (wanted != nullptr && !(*wanted)[file]) {
        files_.push_back(&own_.emplace_back());
      } else if (!FindFile(file, host)) {
        return false;
      }
    }
    if (project_ != nullptr && wanted == nullptr) project_->Pieces.DropUnasked();
    return true;
  }

  /// The pieces, by file.
  const std::vector<const FileSites*>& Files() const { return files_; }

 private:
  bool FindFile(size_t file, ListingHost& host) {
    const std::shared_ptr<const std::string> bytes = BytesOf(file);
    const std::string* path = bytes ? &project_->SourceFiles[file].Path : nullptr;
    if (const FileSites* kept = path ? project_->Pieces.Find(*path, bytes) : nullptr) {
      files_.push_back(kept);
      return !host.PollStop();
    }
    if (!sweep_) sweep_ = std::make_unique<GraphSweep>(text_, procedures_);
    FileSites sites;
    if (!sweep_->SweepFile(file, host, sites)) return false;
    if (path != nullptr) {
      project_->Pieces.Keep(*path, bytes, std::move(sites));
      files_.push_back(project_->Pieces.Find(*path, bytes));
    } else {
      files_.push_back(&own_.emplace_back(std::move(sites)));
    }
    return true;
  }

  // The text's own buffer of the file, which the pieces hold; none without a project, for
  // a file that did not open, or when the project's texts no longer give that buffer.
  std::shared_ptr<const std::string> BytesOf(size_t file) const {
    const ProjectFile& read = text_.Files()[file];
    if (project_ == nullptr || !read.Opened || file >= project_->SourceFiles.size()) return nullptr;
    std::shared_ptr<const std::string> bytes = project_->Texts.Bytes(project_->SourceFiles[file].Path);
    return bytes && bytes->data() == read.Bytes.data() ? bytes : nullptr;
  }

  const ProjectText& text_;
  const ProcedureIndex& procedures_;
  Project* project_;
  std::unique_ptr<GraphSweep> sweep_;
  std::vector<const FileSites*> files_;
  std::deque<FileSites> own_;  ///< the pieces swept without a project to keep them
};

}  // namespace

ListingEnd CallGraph::Build(const ProjectText& text, const ProcedureIndex& procedures,
                            ListingHost& host) {
  return BuildFrom(text, procedures, nullptr, nullptr, host);
}

ListingEnd CallGraph::Build(const ProjectText& text, Project& project, ListingHost& host) {
  return BuildFrom(text, project.Procedures, &project, nullptr, host);
}

ListingEnd CallGraph::BuildIn(const ProjectText& text, const ProcedureIndex& procedures,
                              const std::vector<int32_t>& callers, ListingHost& host) {
  return BuildFrom(text, procedures, nullptr, &callers, host);
}

ListingEnd CallGraph::BuildIn(const ProjectText& text, Project& project,
                              const std::vector<int32_t>& callers, ListingHost& host) {
  return BuildFrom(text, project.Procedures, &project, &callers, host);
}

// The graph of a few bodies needs the pieces of the files that hold their heads only.
ListingEnd CallGraph::BuildFrom(const ProjectText& text, const ProcedureIndex& procedures,
                                Project* project, const std::vector<int32_t>* callers,
                                ListingHost& host) {
  const HeadLines listed = callers != nullptr ? HeadLinesOf(text, procedures, *callers)
                                              : ListedHeadLines(text, procedures);
  std::vector<bool> wanted(text.Files().size(), false);
  for (const auto& [line, entry] : listed) wanted[text.FileOf(line)] = true;
  FilePieces pieces(text, procedures, project);
  if (!pieces.Find(callers != nullptr ? &wanted : nullptr, host)) return ListingEnd::Stopped;
  Assemble(text, procedures, pieces.Files(), RealHeads(listed, text, pieces.Files()), callers != nullptr);
  return ListingEnd::Finished;
}

// The pieces give the sites file by file, line by line, so that `IndexSites` keeps each
// callee's sites in line order. A call in a Macro body is main code's.
void CallGraph::Assemble(const ProjectText& text, const ProcedureIndex& procedures,
                         const std::vector<const FileSites*>& files, const HeadLines& heads,
                         bool listed_callers_only) {
  head_lines_.assign(procedures.size(), std::string::npos);
  for (const auto& [line, entry] : heads) head_lines_[static_cast<size_t>(entry)] = line;
  sites_.clear();
  declares_.clear();
  size_t count = 0;
  for (const FileSites* file : files) count += file->Sites.size();
  sites_.reserve(count);
  for (size_t file = 0; file < files.size(); ++file) {
    const size_t first_line = text.Files()[file].FirstLine;
    if (!listed_callers_only) AddDeclares(*files[file], first_line);
    uint32_t last_head = NoBodyHead;
    int32_t caller = MainCode;
    for (const FileSite& site : files[file]->Sites) {
      if (site.Head != last_head) {
        last_head = site.Head;
        caller = site.Head == NoBodyHead ? MainCode : CallerOf(heads, first_line + site.Head);
      }
      const int32_t of = site.InMacro ? MainCode : caller;
      if (listed_callers_only && of < 0) continue;
      sites_.push_back({site.Callee, of, file, static_cast<int32_t>(site.Line + 1),
                        first_line + site.Line, site.OtherCase, site.Ambiguous, site.InMacro});
    }
  }
  IndexSites(procedures.size());
}

void CallGraph::AddDeclares(const FileSites& file, size_t first_line) {
  for (const FileDeclare& declare : file.Declares) {
    declares_.push_back({first_line + declare.Line, declare.Module});
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

CalleeSpan CallGraph::CalleesIn(int32_t caller) const {
  if (caller < 0 || static_cast<size_t>(caller) + 1 >= caller_starts_.size()) return {};
  const int32_t* const first = callees_by_caller_.data();
  return {first + caller_starts_[static_cast<size_t>(caller)],
          first + caller_starts_[static_cast<size_t>(caller) + 1]};
}

size_t CallGraph::HeadLine(int32_t procedure) const {
  if (procedure < 0 || static_cast<size_t>(procedure) >= head_lines_.size()) return std::string::npos;
  return head_lines_[static_cast<size_t>(procedure)];
}

// Counting sorts keep the order in which the sites come, which must be that of their lines
// and, on one line, of their callees: by callee, each callee's sites are then in line
// order, and by caller, each caller's sites in line and callee order.
void CallGraph::IndexSites(size_t procedures) {
  callee_starts_ = RunStarts(procedures, sites_.size(),
                             [this](size_t site) { return sites_[site].Callee; });
  std::vector<size_t> place(sites_.size());
  std::vector<size_t> next(callee_starts_.begin(), callee_starts_.end() - 1);
  for (size_t site = 0; site < sites_.size(); ++site) {
    place[site] = next[static_cast<size_t>(sites_[site].Callee)]++;
  }
  std::vector<size_t> listed;
  for (size_t site = 0; site < sites_.size(); ++site) {
    if (sites_[site].Caller >= 0) listed.push_back(site);
  }
  caller_starts_ = RunStarts(procedures, listed.size(),
                             [&](size_t entry) { return sites_[listed[entry]].Caller; });
  by_caller_.assign(listed.size(), 0);
  callees_by_caller_.assign(listed.size(), 0);
  next.assign(caller_starts_.begin(), caller_starts_.end() - 1);
  for (const size_t site : listed) {
    const size_t entry = next[static_cast<size_t>(sites_[site].Caller)]++;
    by_caller_[entry] = place[site];
    callees_by_caller_[entry] = sites_[site].Callee;
  }
  std::vector<CallSite> by_callee(sites_.size());
  for (size_t site = 0; site < sites_.size(); ++site) by_callee[place[site]] = sites_[site];
  sites_ = std::move(by_callee);
}
