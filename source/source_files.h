// The set of source files of a project: the main file and every file that it includes,
// breadth first, found by following IncludeFile, XIncludeFile and IncludePath statements,
// whose values may be string expressions of constants that the project's files define.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "source/source_texts.h"

/// One include statement of a scanned file, whether or not it added an entry.
struct IncludeSite {
  int32_t Line = 0;      ///< 1-based line of the statement
  std::string Path;      ///< path that it names, resolved as for the entry it would add
  bool Once = false;     ///< true for XIncludeFile
  size_t Entry = NoEntry;  ///< index of the entry it added; `NoEntry` when it added none

  /// The entry of a statement that added none: its file is on the include chain, or is
  /// listed already and the statement is an XIncludeFile.
  static constexpr size_t NoEntry = static_cast<size_t>(-1);
};

/// One file of the project and where it was included.
struct SourceFile {
  std::string Path;        ///< path the file is opened with
  std::string IncludedBy;  ///< file-name part of the including file; empty for the main file
  int32_t IncludeLine = 0; ///< 1-based line of the include statement; 0 for the main file
  std::string Unresolved = {};  ///< the statement as written when its expression named no file
  std::vector<IncludeSite> Includes = {};  ///< its include statements in line order, as scanned
};

/// The project's files, main file first.
using SourceFileList = std::vector<SourceFile>;

/// Most entries a scan adds; guards against include graphs that multiply.
constexpr size_t MaxSourceFiles = 10000;

/// Directory that replaces #PB_Compiler_Home: $PUREBASIC_HOME with one trailing "/" when
/// set and not empty, else the built-in installation directory.
std::string DefaultCompilerHome();

/// Most scans of one project: constants found by a scan may change the next one's list.
constexpr int MaxIncludeScans = 8;

/// Builds the project's file list from the absolute path of its main file. Never fails:
/// files that cannot be opened stay in the list and are not scanned. Scans again with the
/// constants that the last list defines until the list stops changing. Files are read
/// through `texts`, so a later reader of the same `texts` does not read them again.
SourceFileList ScanIncludes(const std::string& main_path, const SourceTexts& texts = SourceTexts());
