// The run of one listing of the report tool: the main file is taken up as "Open" does,
// the catalog's listing runs into a list opened as the window opens it, and what it made
// is printed in the format asked for.
#include "report/report_command.h"

#include "listings/call_tree.h"
#include "frontend/display_text.h"
#include "listings/list_history.h"
#include "listings/listing_catalog.h"
#include "listings/project.h"
#include "listings/project_text.h"
#include "listings/take_up.h"
#include "report/grep_output.h"
#include "report/report_arguments.h"
#include "report/report_help.h"
#include "report/report_host.h"
#include "report/report_output.h"
#include "report/tree_output.h"
#include "source/file_system.h"
#include "source/path_parts.h"
#include "source/recorded_main_file.h"

namespace {

/// The state of one run: the taken-up project, its lists and how to print them.
struct ReportSession {
  Project project;
  ListHistory history;
  ReportHost host;
  const ReportRequest& request;
  std::ostream& out;
};

// --dot is refused for every listing but tree, so a list never meets it.
void PrintList(ReportSession& session, const ResultList& list) {
  switch (session.request.Format) {
    case ReportFormat::Json:
      WriteListJson(list, session.out);
      break;
    case ReportFormat::Grep:
      WriteListGrep(list, session.project.SourceFiles, session.out);
      break;
    case ReportFormat::Table:
    case ReportFormat::Dot:
      WriteListTable(list, session.out);
      break;
  }
}

// The bytes every listing reads, which the take-up has read already: "not read" is what
// the listings met, and telling it costs no pass over the lines.
void PrintFiles(ReportSession& session) {
  const SourceFileList& files = session.project.SourceFiles;
  std::vector<ProjectFile> read(files.size());
  for (size_t file = 0; file < files.size(); ++file) {
    read[file].Opened = session.project.Texts.Bytes(files[file].Path) != nullptr;
  }
  switch (session.request.Format) {
    case ReportFormat::Json:
      WriteFilesJson(files, read, session.out);
      break;
    case ReportFormat::Grep:
      WriteFilesGrep(files, read, session.out);
      break;
    case ReportFormat::Table:
    case ReportFormat::Dot:
      WriteFilesTable(files, read, session.out);
      break;
  }
}

void PrintTrees(ReportSession& session, const CallTrees& trees) {
  const ProcedureIndex& procedures = session.project.Procedures;
  const ReportRequest& request = session.request;
  if (request.Format == ReportFormat::Dot) {
    const TreeDirection direction = request.Callers ? TreeDirection::Callers : TreeDirection::Callees;
    WriteTreeDot(trees.Nodes, direction, procedures, *trees.Text, session.out);
  } else if (request.Format == ReportFormat::Json) {
    WriteTreeJson(trees.Nodes, procedures, *trees.Text, session.out);
  } else {
    WriteTreeText(trees.Nodes, procedures, *trees.Text, session.out);
  }
}

/// Prints what `listing` made: its list, the files, its Declare text (as the clipboard
/// receives it: CR LF kept, converted as one text) or its trees.
void PrintProduct(ReportSession& session, const ListingEntry& listing, const ResultList& list,
                  const ListingResult& result) {
  const bool fix = session.request.Fix;
  if (listing.Product == ListingProduct::DeclareText || fix) {
    session.out << ToDisplayText(result.DeclareText);
  } else if (listing.Product == ListingProduct::Files) {
    PrintFiles(session);
  } else if (listing.Product == ListingProduct::Tree) {
    if (result.Trees) PrintTrees(session, *result.Trees);
  } else {
    PrintList(session, list);
  }
}

ListingRequest RequestOf(const ListingStart& start, const ReportRequest& request) {
  ListingRequest asked = start.Request;
  asked.Direction = request.Callers ? TreeDirection::Callers : TreeDirection::Callees;
  asked.Depth = request.Depth;
  return asked;
}

// A listing without a run function shows what the take-up made, in the list it filled.
// A lookup of an empty text looks up nothing: the list on show stays the "Procedures" list.
void RunListing(ReportSession& session, const ListingEntry& listing) {
  const std::optional<ListingStart> start =
      StartOf(listing, session.project, nullptr, session.request.Text);
  if (listing.Run == nullptr || !start) {
    PrintProduct(session, listing, *session.history.Current(), {});
    return;
  }
  ResultList& list = session.history.OpenResultList(listing.Kind, start->Subject);
  const ListingResult result =
      listing.Run(session.project, list, session.host, RequestOf(*start, session.request));
  PrintProduct(session, listing, list, result);
}

/// What --help or --version prints.
std::string InformationText(InformationRequest information) {
  return information == InformationRequest::Help ? ReportHelp() : VersionLine("pb-sourcetrek-report");
}

}  // namespace

int RunReport(const std::vector<std::string>& arguments, std::string_view launch_dir,
              std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<ReportRequest> request = ParseReportArguments(arguments, error);
  if (!request) {
    err << "pb-sourcetrek-report: " << error << '\n';
    return 2;
  }
  if (request->Information != InformationRequest::None) {
    out << InformationText(request->Information);
    return 0;
  }
  const std::string given = AbsolutePath(launch_dir, request->MainFile);
  const MainFileChoice chosen = MainFileOfGiven(given);
  if (!chosen.Error.empty() || !IsRegularFile(chosen.Path)) {
    err << "pb-sourcetrek-report: "
        << (chosen.Error.empty() ? "no such main file: " + given : chosen.Error) << '\n';
    return 2;
  }
  // With --find-main the file given is any file of the project, as an IDE tab is.
  const std::string main_file =
      request->FindMain ? RecordedMainFile(chosen.Path, IdeProjectFromEnvironment()) : chosen.Path;
  ReportSession session{{}, {}, {}, *request, out};
  const ListingEntry& procedures = CatalogListing("procedures");
  TakeUpProject(session.project, main_file,
                session.history.OpenResultList(procedures.Kind, procedures.Title), session.host);
  RunListing(session, CatalogListing(request->Listing));
  return 0;
}
