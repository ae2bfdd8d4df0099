#include "source/source_files.h"

#include <algorithm>
#include <cstdlib>
#include <climits>
#include <optional>
#include <set>
#include <utility>

#include "source/file_system.h"
#include "source/include_constants.h"
#include "source/include_statement.h"
#include "source/line_classification.h"
#include "source/path_on_disk.h"
#include "source/path_parts.h"
#include "source/source_lines.h"

namespace {

constexpr size_t npos = std::string_view::npos;

/// Both include keywords and IncludePath hold it.
constexpr std::string_view kIncludeWord = "Include";

constexpr const char* kBuiltInCompilerHome = "/home/user-workbench/Programming/PureBasic5.30/";

// Who a file is: device and inode when it can be looked up; else its path text decides.
using FileKey = std::pair<dev_t, ino_t>;

FileKey KeyOf(const FileIdentity& identity) { return {identity.Device, identity.Inode}; }

// One scan of ScanIncludes: the list grows at its end while a cursor walks it, so files are
// scanned breadth first and only one file is open at a time. Include expressions are
// evaluated with the constants `known`; the definitions that the scanned files hold are
// collected for the next scan.
class IncludeScanner {
 public:
  IncludeScanner(const std::string& main_path, const ConstantDefinitions& known,
                 const SourceTexts& texts, FolderListings& listings)
      : main_directory_(DirectoryPart(main_path)), compiler_home_(DefaultCompilerHome()),
        names_(known), texts_(texts), listings_(listings) {
    Append(SourceFile{main_path, "", 0, ""}, 0);
  }

  SourceFileList Run() {
    // Files past the entry limit are still read for their constants.
    for (size_t cursor = 0; cursor < files_.size(); ++cursor) {
      ScanFile(cursor);
    }
    return std::move(files_);
  }

  /// True when the definitions found could change what this scan's expressions stood for.
  bool FoundChangesNames(const ConstantDefinitions& known) const {
    for (const std::string& name : names_.LookedUp()) {
      if (!found_.SameFor(name, known)) return true;
    }
    return false;
  }

  /// The definitions that the scanned files hold, in list order, then line order.
  ConstantDefinitions TakeFound() { return std::move(found_); }

 private:
  bool Full() const { return files_.size() >= MaxSourceFiles; }

  // Only two kinds of line take part: those that hold "Include" (both include keywords
  // and IncludePath do) and constant definitions, whose first character after blanks and
  // tabs is "#". Both are rare, so the file is searched for them rather than split into
  // lines, and the lines between are only counted.
  void ScanFile(size_t index) {
    const std::shared_ptr<const std::string> bytes = texts_.Bytes(files_[index].Path);
    if (!bytes) {
      return;  // the entry stays; one missing include must not hide the later ones
    }
    const std::string_view text = *bytes;
    SparseLines lines(text);
    size_t include = text.find(kIncludeWord);
    size_t definition = NextDefinition(text, 0);
    while (include != npos || definition != npos) {
      const LineSpan span = lines.LineOf(std::min(include, definition));
      const std::string_view line = SourceLineOf(text.substr(span.Start, span.End - span.Start));
      if (!IsCommentLine(line)) {
        const auto number = static_cast<int32_t>(std::min<size_t>(span.Number, INT32_MAX));
        TakeLine(index, line, number, include < span.End);
      }
      if (include < span.End) include = text.find(kIncludeWord, span.End);
      if (definition < span.End) definition = NextDefinition(text, span.End);
    }
  }

  // The next "#" at or after `from` that only blanks and tabs stand before in its line.
  static size_t NextDefinition(std::string_view text, size_t from) {
    for (size_t at = text.find('#', from); at != npos; at = text.find('#', at + 1)) {
      size_t before = at;
      while (before > 0 && (text[before - 1] == ' ' || text[before - 1] == '\t')) --before;
      if (before == 0 || IsLineTerminator(text[before - 1])) return at;
    }
    return npos;
  }

  void TakeLine(size_t index, std::string_view line, int32_t line_number, bool may_include) {
    if (auto definition = ConstantDefinitionOf(line)) {
      found_.Define(std::move(*definition));
    }
    if (Full() || !may_include) {
      return;
    }
    if (auto directory = IncludePathValue(line, compiler_home_)) {
      const auto expression = IncludePathExpression(line);
      auto evaluated = expression ? ExpressionDirectory(index, *expression) : std::nullopt;
      if (evaluated) {
        current_include_path_ = std::move(*evaluated);
      } else {
        current_include_path_ = expression ? std::move(*directory) : DirectoryOnDisk(*directory);
      }
    }
    if (auto statement = IncludeFileValue(line)) {
      AddInclude(index, *statement, line_number);
    }
  }

  void AddInclude(size_t including, const IncludeFileStatement& statement, int32_t line_number) {
    const std::string& including_path = files_[including].Path;
    SourceFile file{ResolvePath(statement.Name, including_path),
                    std::string(FileNamePart(including_path)), line_number, ""};
    if (!statement.Expression) {
      file.Path = PathOnDisk(file.Path, PathKind::File, listings_);
    } else {
      if (auto evaluated = ExpressionFile(including, *statement.Expression)) {
        file.Path = std::move(*evaluated);
      } else {
        file.Unresolved = statement.Written;
      }
    }
    const FileIdentity identity = IdentityOf(file.Path);
    // Every statement is recorded, also one that adds nothing here: the compiler reads
    // files depth first and may meet a skipped one first.
    files_[including].Includes.push_back({line_number, file.Path, statement.Once, IncludeSite::NoEntry});
    if (OnIncludeChain(including, identity, file.Path) ||
        (statement.Once && IsListed(identity, file.Path))) {
      return;
    }
    files_[including].Includes.back().Entry = files_.size();
    Append(std::move(file), including, identity);
  }

  BuiltInConstants BuiltIns(size_t including) const {
    return BuiltInConstants{compiler_home_, files_[including].Path};
  }

  // The first name of the expression whose path is an existing regular file: that path.
  std::optional<std::string> ExpressionFile(size_t including, const ExpressionTerms& terms) {
    std::optional<std::string> found;
    names_.ForEach(terms, BuiltIns(including), [&](const std::string& name) {
      if (name.size() > MaxNameLength) return false;
      found = FindOnDisk(ResolvePath(name, files_[including].Path), PathKind::File, listings_);
      return found.has_value();
    });
    return found;
  }

  // The first name of the expression that is an existing directory: as evaluated when it
  // exists as written, else as found on disk.
  std::optional<std::string> ExpressionDirectory(size_t including, const ExpressionTerms& terms) {
    std::optional<std::string> found;
    names_.ForEach(terms, BuiltIns(including), [&](const std::string& name) {
      if (name.size() > MaxNameLength) return false;
      found = FolderOnDisk(name);
      return found.has_value();
    });
    return found;
  }

  // `directory` as written when it is an existing folder, else as found on disk; nothing
  // when neither.
  std::optional<std::string> FolderOnDisk(const std::string& directory) {
    const std::string full = FromMainFolder(directory);
    std::optional<std::string> found = FindOnDisk(full, PathKind::Folder, listings_);
    if (found && *found == full) return directory;
    return found;
  }

  // An IncludePath value: an empty one clears the include directory; one that names no
  // folder, as written or found on disk, stays as written.
  std::string DirectoryOnDisk(const std::string& directory) {
    if (directory.empty()) return directory;
    return FolderOnDisk(directory).value_or(directory);
  }

  // A relative result is taken from the main file's folder, not from the working directory.
  std::string ResolvePath(const std::string& name, std::string_view including_path) const {
    if (name.find('/') != std::string::npos) {
      return FromMainFolder(name);
    }
    if (current_include_path_.empty()) {
      return FromMainFolder(std::string(DirectoryPart(including_path)) + name);
    }
    return FromMainFolder(current_include_path_ + "/" + name);
  }

  std::string FromMainFolder(const std::string& path) const {
    return !path.empty() && path.front() == '/' ? path : main_directory_ + path;
  }

  bool IsSameFile(size_t index, const FileIdentity& identity, const std::string& path) const {
    const FileIdentity& listed = identities_[index];
    return listed.Valid && identity.Valid ? listed.SameFile(identity) : files_[index].Path == path;
  }

  // True when the file is the including one or any file that led to it from the main file.
  bool OnIncludeChain(size_t including, const FileIdentity& identity,
                      const std::string& path) const {
    for (size_t index = including;; index = parents_[index]) {
      if (IsSameFile(index, identity, path)) {
        return true;
      }
      if (index == 0) {
        return false;
      }
    }
  }

  // The XIncludeFile test. The set of inodes spares a walk of the list in the common case;
  // a file without an inode (a missing one) is compared by path text with every entry.
  bool IsListed(const FileIdentity& identity, const std::string& path) const {
    if (identity.Valid) {
      return inodes_.count(KeyOf(identity)) > 0 || HasPath(without_inode_, path);
    }
    for (const SourceFile& file : files_) {
      if (file.Path == path) {
        return true;
      }
    }
    return false;
  }

  bool HasPath(const std::vector<size_t>& indexes, const std::string& path) const {
    for (const size_t index : indexes) {
      if (files_[index].Path == path) {
        return true;
      }
    }
    return false;
  }

  void Append(SourceFile file, size_t parent) {
    const FileIdentity identity = IdentityOf(file.Path);
    Append(std::move(file), parent, identity);
  }

  void Append(SourceFile file, size_t parent, const FileIdentity& identity) {
    files_.push_back(std::move(file));
    parents_.push_back(parent);
    identities_.push_back(identity);
    if (identity.Valid) {
      inodes_.insert(KeyOf(identity));
    } else {
      without_inode_.push_back(files_.size() - 1);
    }
  }

  SourceFileList files_;
  std::vector<size_t> parents_;          // index of the including entry; 0 for the main file
  std::vector<FileIdentity> identities_;
  std::set<FileKey> inodes_;  // of every listed file that has one
  std::vector<size_t> without_inode_;          // entries compared by path text only
  std::string current_include_path_;     // CurrentIncludePath: kept from file to file
  const std::string main_directory_;
  const std::string compiler_home_;
  ExpressionNames names_;
  ConstantDefinitions found_;
  const SourceTexts& texts_;
  FolderListings& listings_;  // the run's, shared by its scans
};

bool SameEntries(const SourceFileList& a, const SourceFileList& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const SourceFile& x, const SourceFile& y) {
                      return x.Path == y.Path && x.IncludedBy == y.IncludedBy &&
                             x.IncludeLine == y.IncludeLine;
                    });
}

}  // namespace

std::string DefaultCompilerHome() {
  const char* configured = std::getenv("PUREBASIC_HOME");
  if (configured == nullptr || *configured == '\0') {
    return kBuiltInCompilerHome;
  }
  std::string home = configured;
  home.erase(home.find_last_not_of('/') + 1);  // npos + 1 == 0: a text of only "/" empties
  return home + "/";
}

// The first scan knows the built-in constants only; each later one also those that the
// list before it defines. A scan whose expressions met no constant with other definitions
// now would give the same list again, so it is the last.
SourceFileList ScanIncludes(const std::string& main_path, const SourceTexts& texts) {
  ConstantDefinitions known;
  SourceFileList files;
  FolderListings listings;
  for (int scan = 1;; ++scan) {
    IncludeScanner scanner(main_path, known, texts, listings);
    SourceFileList scanned = scanner.Run();
    const bool settled = scan > 1 && SameEntries(files, scanned);
    files = std::move(scanned);
    if (settled || scan == MaxIncludeScans || !scanner.FoundChangesNames(known)) {
      return files;
    }
    known = scanner.TakeFound();
  }
}
