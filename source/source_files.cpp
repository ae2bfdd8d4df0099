#include "source/source_files.h"

#include <sys/stat.h>

#include <cstdlib>
#include <limits>
#include <set>
#include <utility>

#include "source/include_statement.h"
#include "source/line_classification.h"
#include "source/path_parts.h"
#include "source/source_reader.h"

namespace {

constexpr const char* kBuiltInCompilerHome = "/home/user-workbench/Programming/PureBasic5.30/";

// Who a file is: device and inode when it can be looked up; else its path text decides.
struct FileIdentity {
  bool HasInode = false;
  std::pair<dev_t, ino_t> Inode{};
};

FileIdentity IdentityOf(const std::string& path) {
  FileIdentity identity;
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    identity.HasInode = true;
    identity.Inode = {info.st_dev, info.st_ino};
  }
  return identity;
}

// One run of ScanIncludes: the list grows at its end while a cursor walks it, so files are
// scanned breadth first and only one file is open at a time.
class IncludeScanner {
 public:
  explicit IncludeScanner(const std::string& main_path)
      : main_directory_(DirectoryPart(main_path)), compiler_home_(DefaultCompilerHome()) {
    Append(SourceFile{main_path, "", 0}, 0);
  }

  SourceFileList Run() {
    for (size_t cursor = 0; cursor < files_.size() && !Full(); ++cursor) {
      ScanFile(cursor);
    }
    return std::move(files_);
  }

 private:
  bool Full() const { return files_.size() >= MaxSourceFiles; }

  void ScanFile(size_t index) {
    SourceReader reader;
    if (!reader.Open(files_[index].Path)) {
      return;  // the entry stays; one missing include must not hide the later ones
    }
    int32_t line_number = 0;
    std::string buffer;
    while (!reader.AtEnd() && !Full()) {
      const std::string_view line = ReadSourceLineInto(reader, buffer);
      line_number = NextLineNumber(line_number);
      if (!IsCommentLine(line)) {
        TakeLine(index, line, line_number);
      }
    }
  }

  void TakeLine(size_t index, std::string_view line, int32_t line_number) {
    if (auto directory = IncludePathValue(line, compiler_home_)) {
      current_include_path_ = std::move(*directory);
    }
    if (auto statement = IncludeFileValue(line)) {
      AddInclude(index, *statement, line_number);
    }
  }

  void AddInclude(size_t including, const IncludeFileStatement& statement, int32_t line_number) {
    const std::string& including_path = files_[including].Path;
    SourceFile file{ResolvePath(statement.Name, including_path),
                    std::string(FileNamePart(including_path)), line_number};
    const FileIdentity identity = IdentityOf(file.Path);
    if (OnIncludeChain(including, identity, file.Path) ||
        (statement.Once && IsListed(identity, file.Path))) {
      return;
    }
    Append(std::move(file), including, identity);
  }

  // A relative result is taken from the main file's folder, not from the working directory.
  std::string ResolvePath(const std::string& name, std::string_view including_path) const {
    std::string path;
    if (name.find('/') != std::string::npos) {
      path = name;
    } else if (current_include_path_.empty()) {
      path = std::string(DirectoryPart(including_path)) + name;
    } else {
      path = current_include_path_ + "/" + name;
    }
    if (path.front() != '/') {
      path.insert(0, main_directory_);
    }
    return path;
  }

  bool IsSameFile(size_t index, const FileIdentity& identity, const std::string& path) const {
    const FileIdentity& listed = identities_[index];
    return listed.HasInode && identity.HasInode ? listed.Inode == identity.Inode
                                                : files_[index].Path == path;
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
    if (identity.HasInode) {
      return inodes_.count(identity.Inode) > 0 || HasPath(without_inode_, path);
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
    if (identity.HasInode) {
      inodes_.insert(identity.Inode);
    } else {
      without_inode_.push_back(files_.size() - 1);
    }
  }

  SourceFileList files_;
  std::vector<size_t> parents_;          // index of the including entry; 0 for the main file
  std::vector<FileIdentity> identities_;
  std::set<std::pair<dev_t, ino_t>> inodes_;  // of every listed file that has one
  std::vector<size_t> without_inode_;          // entries compared by path text only
  std::string current_include_path_;     // CurrentIncludePath: kept from file to file
  const std::string main_directory_;
  const std::string compiler_home_;
};

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

SourceFileList ScanIncludes(const std::string& main_path) {
  return IncludeScanner(main_path).Run();
}
