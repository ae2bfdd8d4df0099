// The report tool's subcommands, all in one table: each takes up the main file as "Open"
// does and then prints one listing.
#include "report/report_command.h"

#include <algorithm>

#include "listings/all_procedure_calls.h"
#include "listings/declare_check.h"
#include "listings/declares.h"
#include "listings/call_graph.h"
#include "listings/call_tree.h"
#include "listings/callees.h"
#include "listings/display_text.h"
#include "listings/list_history.h"
#include "listings/lookup.h"
#include "listings/procedure_calls.h"
#include "listings/project.h"
#include "listings/project_text.h"
#include "listings/take_up.h"
#include "listings/term_search.h"
#include "listings/unused.h"
#include "report/grep_output.h"
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
void Print(ReportSession& session, const ResultList& list) {
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

/// Opens a list of `kind` about `subject`, has `fill` write its rows and prints it.
template <typename Fill>
void PrintNewList(ReportSession& session, ListKind kind, std::string_view subject, Fill fill) {
  ResultList& list = session.history.OpenResultList(kind, subject);
  fill(list);
  Print(session, list);
}

void RunFiles(ReportSession& session, std::string_view) {
  // The bytes every listing reads, which the take-up has read already: "not read" is what
  // the listings met, and telling it costs no pass over the lines.
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

void RunProcedures(ReportSession& session, std::string_view) {
  Print(session, session.history.At(0));
}

void RunCalls(ReportSession& session, std::string_view name) {
  // A name that is not empty always gives a procedure.
  const std::string procedure =
      ProcedureToList(session.project, nullptr, name).value_or(ProcedureChoice()).Name;
  PrintNewList(session, ListKind::ProcedureCalls, procedure, [&](ResultList& list) {
    ListProcedureCalls(session.project, list, session.host, procedure);
  });
}

void RunAllCalls(ReportSession& session, std::string_view) {
  PrintNewList(session, ListKind::AllProcedureCalls, "All Procedure-Calls...",
               [&](ResultList& list) {
                 ListAllProcedureCalls(session.project, list, session.host);
               });
}

void RunDeclares(ReportSession& session, std::string_view) {
  ResultList& list =
      session.history.OpenResultList(ListKind::AllProcedureCalls, "All Procedure-Calls...");
  ListAllProcedureCalls(session.project, list, session.host);
  // As the clipboard receives it: CR LF kept, converted as one text.
  session.out << ToDisplayText(session.host.Clipboard());
}

void RunTerms(ReportSession& session, std::string_view term) {
  PrintNewList(session, ListKind::Terms, term, [&](ResultList& list) {
    ListTermMatches(session.project, list, session.host, term);
  });
}

// An empty text looks up nothing: the list on show stays the "Procedures" list.
void RunLookup(ReportSession& session, std::string_view text) {
  const std::optional<ProcedureChoice> procedure = ProcedureToList(session.project, nullptr, text);
  if (!procedure) {
    Print(session, *session.history.Current());
    return;
  }
  PrintNewList(session, ListKind::ProcedureCalls, procedure->Name, [&](ResultList& list) {
    LookUpProcedureOrTerm(session.project, list, session.host, text);
  });
}

void RunUnused(ReportSession& session, std::string_view) {
  PrintNewList(session, ListKind::Unused, "Unused", [&](ResultList& list) {
    ListUnused(session.project, list, session.host);
  });
}

// With --fix, the Declare lines to add instead of the list, as the declares listing
// writes them (CR LF kept).
void RunDeclareCheck(ReportSession& session, std::string_view) {
  DeclareCandidates missing;
  ResultList& list = session.history.OpenResultList(ListKind::DeclareCheck, "Declare check");
  ListDeclareCheck(session.project, list, session.host, missing);
  if (session.request.OptionGiven) {
    session.out << ToDisplayText(DeclaresText(missing));
  } else {
    Print(session, list);
  }
}

// A name that is not empty always gives a procedure.
void RunCallees(ReportSession& session, std::string_view name) {
  const ProcedureChoice procedure =
      ProcedureToList(session.project, nullptr, name).value_or(ProcedureChoice());
  PrintNewList(session, ListKind::Callees, procedure.Name, [&](ResultList& list) {
    ListCallees(session.project, list, session.host, procedure.Name, procedure.WithoutModule);
  });
}

TreeDirection DirectionOf(const ReportRequest& request) {
  return request.Callers ? TreeDirection::Callers : TreeDirection::Callees;
}

/// The trees of every head of the procedure `name`, one after the other.
std::vector<TreeNode> TreesOf(const Project& project, const CallGraph& graph,
                              std::string_view name, const ReportRequest& request) {
  const ProcedureChoice procedure =
      ProcedureToList(project, nullptr, name).value_or(ProcedureChoice());
  std::vector<TreeNode> nodes;
  for (const int32_t head :
       HeadsNamed(project.Procedures, procedure.Name, procedure.WithoutModule)) {
    const std::vector<TreeNode> tree =
        BuildCallTree(graph, head, DirectionOf(request), request.Depth);
    nodes.insert(nodes.end(), tree.begin(), tree.end());
  }
  return nodes;
}

void RunTree(ReportSession& session, std::string_view name) {
  ProjectText text;
  CallGraph graph;
  text.Load(session.project.SourceFiles, session.project.Texts, session.host);
  graph.Build(text, session.project.Procedures, session.host);
  const std::vector<TreeNode> nodes = TreesOf(session.project, graph, name, session.request);
  const ProcedureIndex& procedures = session.project.Procedures;
  if (session.request.Format == ReportFormat::Dot) {
    WriteTreeDot(nodes, DirectionOf(session.request), procedures, text, session.out);
  } else if (session.request.Format == ReportFormat::Json) {
    WriteTreeJson(nodes, procedures, text, session.out);
  } else {
    WriteTreeText(nodes, procedures, text, session.out);
  }
}

/// Whether a listing takes a text argument after MAINFILE.
enum class TextArgument { None, Any, NotEmpty };

struct Subcommand {
  ListingSummary Listing;  ///< name, argument and summary, as the help shows them
  TextArgument Text;
  std::string_view OwnOption;  ///< an option of its own that may follow the listing; "" for none
  void (*Run)(ReportSession& session, std::string_view text);
  bool TreeOptions = false;  ///< takes --dot before it and --callers, --depth N after it
};

constexpr Subcommand Subcommands[] = {
    {{"files", "", "the project's files and where they are included"},
     TextArgument::None, "", RunFiles},
    {{"procedures", "", "every procedure head"}, TextArgument::None, "", RunProcedures},
    {{"calls", "NAME", "every line that calls the procedure NAME"},
     TextArgument::NotEmpty, "", RunCalls},
    {{"all-calls", "", "every procedure with its calls and call count"},
     TextArgument::None, "", RunAllCalls},
    {{"declares", "", "Declare lines for the procedures called above their head"},
     TextArgument::None, "", RunDeclares},
    {{"terms", "TERM", "every line in which TERM stands as a whole word"},
     TextArgument::Any, "", RunTerms},
    {{"lookup", "TEXT", "the calls of the procedure TEXT, else the lines of the term"},
     TextArgument::Any, "", RunLookup},
    {{"unused", "", "the procedures that no live code reaches"},
     TextArgument::None, "", RunUnused},
    {{"declare-check", "[--fix]", "missing and wrong Declares; --fix: the ones to add"},
     TextArgument::None, "--fix", RunDeclareCheck},
    {{"callees", "NAME", "the procedures that NAME calls"},
     TextArgument::NotEmpty, "", RunCallees},
    {{"tree", "NAME [--callers] [--depth N]", "the call tree of NAME, or of its callers"},
     TextArgument::NotEmpty, "", RunTree, true},
};

const Subcommand* FindSubcommand(std::string_view name) {
  for (const Subcommand& subcommand : Subcommands) {
    if (subcommand.Listing.Name == name) return &subcommand;
  }
  return nullptr;
}

std::vector<ListingSummary> ListingSummaries() {
  std::vector<ListingSummary> summaries;
  for (const Subcommand& subcommand : Subcommands) summaries.push_back(subcommand.Listing);
  return summaries;
}

std::optional<ReportFormat> FormatOption(std::string_view argument) {
  if (argument == "--json") return ReportFormat::Json;
  if (argument == "--grep") return ReportFormat::Grep;
  if (argument == "--dot") return ReportFormat::Dot;
  return std::nullopt;
}

/// Reads the options that stand, in any order, in front of LISTING into `request`, leaving
/// `next` on the first word that is none; false for two different formats. A request for
/// help or the version ends the read.
bool ReadOptions(const std::vector<std::string>& arguments, size_t& next,
                 ReportRequest& request) {
  for (; next < arguments.size(); ++next) {
    request.Information = RequestedInformation(arguments[next]);
    if (request.Information != InformationRequest::None) return true;
    if (arguments[next] == "--find-main") {
      request.FindMain = true;
      continue;
    }
    const std::optional<ReportFormat> format = FormatOption(arguments[next]);
    if (!format) return true;
    if (request.Format != ReportFormat::Table && request.Format != *format) return false;
    request.Format = *format;
  }
  return true;
}

/// What --help or --version prints.
std::string InformationText(InformationRequest information) {
  return information == InformationRequest::Help ? ReportHelp(ListingSummaries())
                                                 : VersionLine("pb-sourcetrek-report");
}

/// True when the format fits the listing: a Graphviz digraph only for a tree, and editor
/// lines only for the listings that print rows.
bool FormatFits(ReportFormat format, bool tree) {
  return format == ReportFormat::Dot ? tree : !(format == ReportFormat::Grep && tree);
}

// Removes `option` from `words` after the listing's name; true when it stood there.
bool TakeOption(std::vector<std::string>& words, std::string_view option) {
  if (option.empty()) return false;
  const auto found = std::find(words.begin() + 1, words.end(), option);
  if (found == words.end()) return false;
  words.erase(found);
  return true;
}

}  // namespace

namespace {

/// Reads the options after a tree's NAME into `request`; false with `error` for any other
/// argument or a depth that is no number from 1 to `MaxTreeDepth`.
bool ParseTreeOptions(const std::vector<std::string>& options, ReportRequest& request,
                      const std::string& usage, std::string& error) {
  for (size_t next = 0; next < options.size(); ++next) {
    if (options[next] == "--callers") {
      request.Callers = true;
      continue;
    }
    const bool depth = options[next] == "--depth" && next + 1 < options.size();
    const std::string& value = depth ? options[++next] : options[next];
    if (!depth || value.empty() || value.size() > 2 ||
        value.find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(value) < 1 || std::stoi(value) > MaxTreeDepth) {
      error = "tree takes --callers and --depth N (N from 1 to " + std::to_string(MaxTreeDepth) +
              "), not " + value + "; " + usage;
      return false;
    }
    request.Depth = std::stoi(value);
  }
  return true;
}

}  // namespace

std::optional<ReportRequest> ParseReportArguments(const std::vector<std::string>& arguments,
                                                  std::string& error) {
  const std::string usage = ReportUsage(ListingSummaries());
  ReportRequest request;
  size_t next = 0;
  if (!ReadOptions(arguments, next, request)) {
    error = "one format at most: --json, --grep or --dot; " + usage;
    return std::nullopt;
  }
  if (request.Information != InformationRequest::None) return request;
  std::vector<std::string> words(arguments.begin() + static_cast<std::ptrdiff_t>(next),
                                 arguments.end());
  const Subcommand* subcommand = words.empty() ? nullptr : FindSubcommand(words[0]);
  if (subcommand != nullptr) request.OptionGiven = TakeOption(words, subcommand->OwnOption);
  const size_t left = words.size();
  const size_t wanted = subcommand && subcommand->Text != TextArgument::None ? 3 : 2;
  const bool tree = subcommand && subcommand->TreeOptions;
  if (subcommand == nullptr || left < wanted || (left > wanted && !tree) ||
      !FormatFits(request.Format, tree)) {
    error = usage;
    return std::nullopt;
  }
  request.Listing = words[0];
  request.MainFile = words[1];
  if (wanted == 3) request.Text = words[2];
  if (subcommand->Text == TextArgument::NotEmpty && request.Text.empty()) {
    error = request.Listing + " needs a name that is not empty; " + usage;
    return std::nullopt;
  }
  const std::vector<std::string> options(words.begin() + static_cast<std::ptrdiff_t>(wanted),
                                         words.end());
  if (!ParseTreeOptions(options, request, usage, error)) return std::nullopt;
  return request;
}

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
    err << "pb-sourcetrek-report: " << (chosen.Error.empty() ? "no such main file: " + given : chosen.Error) << '\n';
    return 2;
  }
  // With --find-main the file given is any file of the project, as an IDE tab is.
  const std::string main_file =
      request->FindMain ? RecordedMainFile(chosen.Path, IdeProjectFromEnvironment()) : chosen.Path;
  ReportSession session{{}, {}, {}, *request, out};
  TakeUpProject(session.project, main_file,
                session.history.OpenResultList(ListKind::Procedures, "Procedures"), session.host);
  FindSubcommand(request->Listing)->Run(session, request->Text);
  return 0;
}
