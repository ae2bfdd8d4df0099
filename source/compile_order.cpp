// Compile order, walked with a stack of the files being read rather than by recursion, so
// a deep chain of includes cannot exhaust the call stack.
#include "source/compile_order.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace {

/// A file being read: its entry and how far the walk has come in it.
struct OpenFile {
  size_t Entry = 0;
  size_t NextInclude = 0;
  int32_t NextLine = 1;
};

class CompileWalk {
 public:
  explicit CompileWalk(const SourceFileList& files) : files_(files) {
    for (size_t entry = 0; entry < files.size(); ++entry) first_entry_.emplace(files[entry].Path, entry);
  }

  std::vector<CompileSpan> Run() {
    if (files_.empty()) return {};
    Open(0);
    while (!stack_.empty()) Step();
    return std::move(spans_);
  }

 private:
  void Open(size_t entry) {
    read_.insert(files_[entry].Path);
    stack_.push_back({entry, 0, 1});
  }

  // Reads the top file up to its next include statement and follows it, or to its end.
  void Step() {
    OpenFile& top = stack_.back();
    const std::vector<IncludeSite>& includes = files_[top.Entry].Includes;
    if (top.NextInclude == includes.size()) {
      spans_.push_back({top.Entry, top.NextLine, CompileSpan::ToFileEnd});
      stack_.pop_back();
      return;
    }
    const IncludeSite& site = includes[top.NextInclude++];
    spans_.push_back({top.Entry, top.NextLine, site.Line});
    top.NextLine = site.Line + 1;
    const size_t entry = Target(site);
    if (entry != IncludeSite::NoEntry) Open(entry);  // `top` is not used after this
  }

  // The entry a statement reads; none for a file on the chain being read, an
  // XIncludeFile of a file read before, or a path without an entry.
  size_t Target(const IncludeSite& site) const {
    if (site.Once && read_.count(site.Path) > 0) return IncludeSite::NoEntry;
    const auto on_chain = std::find_if(stack_.begin(), stack_.end(), [&](const OpenFile& file) {
      return files_[file.Entry].Path == site.Path;
    });
    if (on_chain != stack_.end()) return IncludeSite::NoEntry;
    if (site.Entry != IncludeSite::NoEntry) return site.Entry;
    const auto first = first_entry_.find(site.Path);
    return first == first_entry_.end() ? IncludeSite::NoEntry : first->second;
  }

  const SourceFileList& files_;
  std::unordered_map<std::string, size_t> first_entry_;  ///< first entry of each path
  std::unordered_set<std::string> read_;                 ///< paths read so far
  std::vector<OpenFile> stack_;
  std::vector<CompileSpan> spans_;
};

}  // namespace

std::vector<CompileSpan> CompileOrder(const SourceFileList& files) {
  return CompileWalk(files).Run();
}
