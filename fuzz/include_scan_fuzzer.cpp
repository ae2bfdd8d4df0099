// Fuzz target: ScanIncludes on a project of up to five files whose contents come from the
// input. The scan must end, keep the main file first, stay within its entry limit, and
// name as including file only files that stand earlier in the list.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "fuzz/fuzz_project.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const FuzzProject project(SplitInput(input, FileSeparator, FuzzProject::MaxFiles));
  const SourceFileList files = ScanIncludes(project.MainPath());

  Require(!files.empty() && files.size() <= MaxSourceFiles, "1 to MaxSourceFiles entries");
  Require(files[0].Path == project.MainPath(), "the main file comes first");
  Require(files[0].IncludedBy.empty() && files[0].IncludeLine == 0, "the main file has no includer");
  std::set<std::string_view> earlier_names{FileNamePart(files[0].Path)};
  for (size_t index = 1; index < files.size(); ++index) {
    const SourceFile& file = files[index];
    Require(!file.Path.empty(), "an include has a path");
    Require(file.IncludeLine >= 1, "an include names its line");
    Require(earlier_names.count(file.IncludedBy) == 1, "the includer stands earlier in the list");
    earlier_names.insert(FileNamePart(file.Path));
  }
  return 0;
}
