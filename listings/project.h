// The state of one taken-up project: its files, its procedure heads, the procedures that
// the last procedure-call listing found called above their head, and the call graph's
// pieces of its files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "listings/call_site_pieces.h"
#include "listings/project_text.h"
#include "source/recorded_main_file.h"
#include "source/source_files.h"
#include "source/source_texts.h"

class CallGraph;
class ModuleScope;

/// One procedure head of the project.
struct ProcedureEntry {
  std::string HeadText;    ///< head line, leading blanks removed, cut before its first ";"
  std::string FileName;    ///< file-name part of the file that holds the head
  int32_t LineNumber = 0;  ///< 1-based line of the head in that file
  bool AddressTaken = false;  ///< "@Name()" stands somewhere in the project: a callback
  std::string Module{};     ///< the module (as written) whose Module block holds the head; empty for none
  int32_t File = -1;        ///< index in the source file list of the file that holds the head; -1: unknown
};

/// Every procedure head, files in list order, lines ascending.
using ProcedureIndex = std::vector<ProcedureEntry>;

/// A procedure called above its head line.
struct DeclareCandidate {
  std::string HeadText;
  std::string FileName;
};

/// Candidates in the order the procedure-call listing finished them.
using DeclareCandidates = std::vector<DeclareCandidate>;

/// Everything known about the project that is taken up; replaced by each take-up.
struct Project {
  std::string MainFile;
  MainFileOrigin Origin = MainFileOrigin::Given;  ///< how the main file was found
  SourceFileList SourceFiles;
  ProcedureIndex Procedures;
  DeclareCandidates Candidates;
  /// The files' bytes as read, shared by every step of a run; the window drops the files
  /// changed since when a run starts, so that each run reads them as they are then.
  SourceTexts Texts;
  /// The call sites of each file as the last call graph found them, with the bytes they
  /// were found from: the next graph sweeps only the files whose bytes differ.
  CallSitePieces Pieces;
  /// The text the last check or calls listing read, used again while every file is the
  /// buffer it holds (`ReadKeptText`).
  std::shared_ptr<const ProjectText> KeptText;
  /// The module rules of `KeptText` with `Procedures`, used again while that text is.
  std::shared_ptr<const ModuleScope> KeptScope;
  /// The whole call graph of `KeptText`, used again while that text is: a check run again
  /// on files that did not change neither sweeps nor indexes anything.
  std::shared_ptr<const CallGraph> CheckGraph;
};
