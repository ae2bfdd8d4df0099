// The projects the language server holds and the documents open in the editor: which main
// file a document belongs to, and taking a project up again when its files changed.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "listings/listing.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"
#include "lsp/positions.h"

/// A catalog listing's run: its list and what it gave back.
struct ListingOutput {
  std::unique_ptr<ResultList> List;
  ListingResult Result;
};

/// Line indexes of files by file index, each with the bytes it indexes.
using LineIndexes = std::map<int32_t, std::pair<std::shared_ptr<const std::string>, std::unique_ptr<TextLines>>>;

/// The findings of a file as diagnostics told them, with the bytes they were found in.
struct FileFindings {
  std::string Text;                          ///< every finding: line, name, severity, message
  std::shared_ptr<const std::string> Bytes;  ///< the file's bytes they were placed in
};

/// One project the server holds, taken up from its main file.
struct ServedProject {
  Project State;
  std::unique_ptr<ResultList> Procedures;  ///< the take-up's "Procedures" list
  bool Stale = true;                       ///< an editor text changed since the take-up
  /// The listings run since the take-up, by what they were asked; dropped with it.
  std::map<std::string, ListingOutput> Runs;
  /// The files' line indexes that requests made, kept while the files' bytes stay the same.
  LineIndexes Lines;
  /// By path, the findings of the files whose diagnostics were last sent, and those of the
  /// last diagnostics found, which count once they are sent.
  std::map<std::string, FileFindings> PublishedFindings;
  std::map<std::string, FileFindings> PendingFindings;
};

/// The open documents and the projects.
class Workspace {
 public:
  /// The workspace folder (empty for none) and the mainFile option (empty for none; a
  /// relative one is taken from the folder).
  void Configure(const std::string& root, const std::string& main_file);
  /// The editor holds `text` for `path` from now on. `in_place`: the change touched no
  /// line that the take-up reads, so the projects keep their files and procedures and
  /// only run their listings again.
  void SetDocument(const std::string& path, std::string text, bool in_place = false);
  /// The editor's text of `path`; nullptr when it is not open.
  const std::string* DocumentText(const std::string& path) const;
  /// The editor closed `path`: the disk's bytes count again.
  void CloseDocument(const std::string& path);
  /// The open documents' paths.
  std::vector<std::string> Documents() const;
  /// The main file of `path`: the mainFile option, the file the PureBasic IDE records
  /// (UseMainFile, then a project file of the workspace folder that lists it), a lone
  /// project file of the folder, else `path` itself.
  std::string MainFileFor(const std::string& path) const;
  /// The project of `path` (one that holds it already, else that of its main file), taken
  /// up again when a file changed; nullptr when the host stopped the take-up.
  ServedProject* ProjectOf(const std::string& path, ListingHost& host);
  /// Every project held, taken up again where a file changed; a stopped one is left out.
  std::vector<ServedProject*> CurrentProjects(ListingHost& host);

 private:
  ServedProject* Refreshed(ServedProject& project, ListingHost& host);

  std::string root_;
  std::string main_option_;
  std::map<std::string, std::string> documents_;
  std::map<std::string, std::unique_ptr<ServedProject>> projects_;
};

/// Index in `project.SourceFiles` of the file at `path` (the same path, or another path of
/// the same file); -1 when the project does not hold it.
int32_t ProjectFileIndex(const Project& project, const std::string& path);
