// Helpers shared by the fuzz targets: a failed property aborts with a message (so libFuzzer
// saves the input), and a fuzz input becomes a small project of real files.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "source/path_parts.h"
#include "source/source_files.h"
#include "source/testing/test_folder.h"

/// Aborts with `what` when `holds` is false; the fuzzer then keeps the input as a crash.
inline void Require(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
  }
}

/// `input` cut at every `separator`, at most `max_parts` parts (the last takes the rest).
inline std::vector<std::string_view> SplitInput(std::string_view input, std::string_view separator,
                                                size_t max_parts) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < max_parts) {
    const size_t at = input.find(separator);
    if (at == std::string_view::npos) break;
    parts.push_back(input.substr(0, at));
    input.remove_prefix(at + separator.size());
  }
  parts.push_back(input);
  return parts;
}

/// Separator between the files of a fuzzed project: a line of its own holding "%%".
constexpr std::string_view FileSeparator = "\n%%\n";

/// A project in a fresh temporary folder: the parts of a fuzz input become main.pb, a.pb,
/// b.pb, sub/c.pb and sub/d.pb, so include statements in the input can name each other.
class FuzzProject {
 public:
  static constexpr size_t MaxFiles = 5;

  explicit FuzzProject(const std::vector<std::string_view>& contents) {
    static constexpr const char* kNames[MaxFiles] = {"main.pb", "a.pb", "b.pb", "sub/c.pb",
                                                     "sub/d.pb"};
    folder_.MakeFolder("sub");
    for (size_t index = 0; index < contents.size() && index < MaxFiles; ++index) {
      folder_.Write(kNames[index], contents[index]);
    }
  }

  /// Absolute path of the main file.
  std::string MainPath() const { return folder_.Path() + "main.pb"; }

 private:
  TestFolder folder_;
};

/// True when `file_name` is the file-name part of the path of one of `files`.
inline bool NamesListedFile(const SourceFileList& files, std::string_view file_name) {
  for (const SourceFile& file : files) {
    if (FileNamePart(file.Path) == file_name) return true;
  }
  return false;
}
